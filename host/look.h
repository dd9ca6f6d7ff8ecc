#pragma once

class QApplication;
class QPalette;

namespace slownik::host {

//! The program's palette: the same colours on every platform.
QPalette programPalette();

//! Gives the application its one look and its language, before any window is made:
//! the Fusion style with the program's palette (so it looks the same over VNC, X11 and
//! Wayland), the Polish locale (dates, numbers, the calendar's first day) and Qt's own
//! Polish texts (the file, colour and calendar dialogs, the text fields' context menus).
//! False when Qt's Polish translations are not installed; the rest is applied anyway.
bool applyProgramLook(QApplication& app);

}  // namespace slownik::host
