#pragma once
#include <string_view>

namespace slownik::svc {

//! Whether a Polish tax number (NIP) is valid: ten digits whose weighted sum
//! (weights 6 5 7 2 3 4 5 6 7) modulo 11 equals the tenth digit. Accepted as
//! typed: blanks and dashes anywhere ("123-456-32-18", "123 456 32 18") and the
//! country prefix "PL" (either case) in front. Any other character, another number
//! of digits, and ten zeros are rejected.
bool NIPOK(std::string_view nip);

}  // namespace slownik::svc
