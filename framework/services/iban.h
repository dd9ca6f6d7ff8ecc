#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! The two IBAN check digits (ISO 13616, mod 97) of a Polish account: bban is the
//! 24 digits of the bank number (8) and the account number (16), blanks allowed.
//! Returns them as two characters ("61", "07"); "" when bban is not 24 digits.
std::string IBAN_OBLICZSUMEKONTROLNA(std::string_view bban);

//! Whether a Polish account number is valid: the 26-digit NRB (check digits first)
//! or the IBAN with "PL" in front, blanks allowed anywhere.
bool isValidPolishIban(std::string_view account);

}  // namespace slownik::svc
