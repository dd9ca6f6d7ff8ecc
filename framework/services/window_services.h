#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "framework/runtime/event.h"
#include "framework/runtime/window.h"

namespace slownik::svc {

//! The list window's splitter: its offset from the starting position is kept as the
//! splitter control's value, which the front-end turns into the divider's place.
//! Sets it; 0 on success, -1 when the window has no such control.
int USTAWSPLIT(rt::Window& window, std::string_view splitter, int offset);
//! The splitter's offset as last set or dragged (0 when none).
int splitOffset(const rt::Window& window, std::string_view splitter);

//! 1 when `e` asks the window to take a new size (the person maximised, restored or
//! resized it), so the caller applies its resizer again; else 0.
int MAKSYMALIZUJ(const rt::Event& e);

//! The calendar, starting on `day` (a day number; 0 = today), opened beside the control
//! that has the focus in the calling thread's window: its corner at the control's
//! bottom-right corner moved by (x, y) dialog units. Returns the chosen day, or `day`
//! unchanged when the person cancelled.
long KALENDARZ(int x, int y, long day);
//! The calendar opened just below the right end of `control` (the button that asks for
//! it) of `window`, 15 units down, so that the field beside it stays in sight.
long KALENDARZ(const std::shared_ptr<rt::Window>& window, std::string_view control, long day);

}  // namespace slownik::svc
