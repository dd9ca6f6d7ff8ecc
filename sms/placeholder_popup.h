#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sms/placeholders.h"

namespace slownik::sms {

//! Shows the placeholder menu of `context` and inserts the chosen placeholder at the
//! cursor (placeholders.h); false when the menu was dismissed (nothing changed). Runs on
//! a procedure thread and blocks it until the menu is answered.
bool choosePlaceholder(std::string_view context, CursorText& text, std::size_t maxChars);

}  // namespace slownik::sms

//! The placeholder menu for other modules' message editors. `context` names the list the
//! message is for ("ZAM_BRW"); `position` is the 1-based character position of the cursor
//! in `text` and is moved behind the inserted placeholder; `text` is a zero-terminated
//! UTF-8 buffer of `capacity` bytes (the terminator included), and the result is cut to
//! fit it, never inside a character. Null pointers or no room leave everything as it is.
extern "C" void SMS_POPUPSRC(const char* context, std::int32_t* position, char* text, std::int32_t capacity);
