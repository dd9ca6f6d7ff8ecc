#pragma once
#include <string>
#include <string_view>

namespace slownik::sql {

//! ASCII case folding: identifiers and keywords of SQL text are ASCII.
std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

//! A value as it enters SQL text: in apostrophes, every apostrophe doubled.
//! The one way values reach statement text; ids are written with sqlId().
std::string quote(std::string_view value);
//! The value with apostrophes doubled but without the enclosing apostrophes,
//! for statements that put the quotes themselves ("... where x='" + escaped + "'").
std::string escape(std::string_view value);
//! An id or other integral number as a plain decimal integer ("6100003", never "6.1e+06").
std::string sqlId(double id);
std::string sqlNumber(double value);

//! Cuts UTF-8 text to at most maxChars characters, never inside a sequence.
std::string truncateUtf8(std::string_view text, std::size_t maxChars);
//! The byte at which character `index` (from 0) of UTF-8 text starts; the text's size
//! when it has no such character.
std::size_t utf8Offset(std::string_view text, std::size_t index);
//! Appends the code point c to out as UTF-8.
void appendUtf8(std::string& out, char32_t c);
//! Number of UTF-8 characters (code points) in text.
std::size_t utf8Length(std::string_view text);

}  // namespace slownik::sql
