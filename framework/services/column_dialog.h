#pragma once
#include <string_view>

namespace slownik::svc {

//! The column-configuration dialog of a list window ("Konfiguracja kolumn"): the
//! person sees the window's stored columns and changes their widths or hides them.
//! Runs on the calling thread as a window of its own over the caller's.
//! Returns 1 when a changed layout was stored (the caller re-applies its columns),
//! 0 when nothing changed, the person cancelled, or the window has no stored columns.
int KONFIGURACJA_KOLUMN(std::string_view window);

}  // namespace slownik::svc
