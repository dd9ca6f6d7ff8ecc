#pragma once
#include <string_view>

namespace slownik::svc {

//! Whether a PESEL number is valid: eleven digits (blanks around them allowed) with
//! a correct check digit (weights 1 3 7 9 1 3 7 9 1 3) that encode a real date of
//! birth. The month carries the century: 81–92 for 1800–1899, 1–12 for 1900–1999,
//! 21–32 for 2000–2099, 41–52 for 2100–2199, 61–72 for 2200–2299.
bool PESELOK(std::string_view pesel);

}  // namespace slownik::svc
