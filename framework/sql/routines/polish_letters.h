#pragma once
#include <string>
#include <string_view>

namespace slownik::sql {

//! The text with the Polish letters ą ć ę ł ń ó ś ź ż (and their capitals) replaced by
//! a c e l n o s z z (capitals by capitals); every other character, also any byte that
//! is not valid UTF-8, is kept as it is.
std::string withoutPolishLetters(std::string_view text);

//! The same mapping as the source and target alphabets of SQL translate(), for the
//! server-side function of backends that create it in SQL.
const char* polishLetters();
const char* plainLetters();

}  // namespace slownik::sql
