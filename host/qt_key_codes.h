#pragma once

class QKeyEvent;

namespace slownik::host {

//! The runtime's key code of a key press (virtual key plus Shift 256, Ctrl 512, Alt 1024),
//! or 0 for a key the runtime has no code for (a plain modifier, a dead key).
int runtimeKeyCode(const QKeyEvent& event);
//! The runtime's code of a mouse click with modifiers: 1 plain, 257 Shift, 513 Ctrl.
int runtimeMouseCode(bool shift, bool ctrl);

}  // namespace slownik::host
