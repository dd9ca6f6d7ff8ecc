#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! The current user's column layout of a list window: per column its list format
//! and width. Columns are known by their number in the list ("3") or by a name
//! ("pole1"); window names match in any letter case.

//! The range of numbered columns that have a stored layout: first and last get the
//! lowest and highest number; both 0 (and the result 0) when none is stored, else 1.
int POBIERZZAKRESKOLUMNBROWSERA(std::string_view window, int& first, int& last);

//! The stored list format of a column ("" if none).
std::string POBIERZKOLUMNEFORMAT(std::string_view window, std::string_view column);
std::string POBIERZKOLUMNEFORMAT(std::string_view window, int column);

//! The stored width of a column (0 if none).
int POBIERZKOLUMNEROZMIAR(std::string_view window, std::string_view column);
int POBIERZKOLUMNEROZMIAR(std::string_view window, int column);

//! Stores (replaces) a column's format and width. 0 on success, else the runtime
//! error code.
int USTAWKOLUMNE(std::string_view window, std::string_view column, std::string_view format, int width);
int USTAWKOLUMNE(std::string_view window, int column, std::string_view format, int width);

}  // namespace slownik::svc
