#pragma once
#include <string_view>

namespace slownik::svc {

//! Tells the user why a record cannot be saved: the text as a warning ("|" starts a
//! new line) and, when a field is named ("?TYPDMAG:NAZWA"), that field of the calling
//! thread's active window selected so that the user can correct it at once.
//! Returns 1, the level at which a form's accept handler stops: a check can end with
//! `return WALIDACJA(…)`.
int WALIDACJA(std::string_view text, std::string_view field = {});

}  // namespace slownik::svc
