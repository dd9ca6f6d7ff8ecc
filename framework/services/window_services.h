#pragma once
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

//! The calendar opened at (x, y) of the screen, starting on `day` (a day number; 0 =
//! today). Returns the chosen day, or `day` unchanged when the person cancelled.
long KALENDARZ(int x, int y, long day);

}  // namespace slownik::svc
