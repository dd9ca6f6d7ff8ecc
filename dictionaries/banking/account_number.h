#pragma once
// How an account number is entered and kept: the stored NUMER_RACHUNKU is the bank
// number (8 characters) followed by the account number, without the two IBAN check
// digits, which live in LK. The form shows the two parts apart.

#include <optional>
#include <string>
#include <string_view>

namespace slownik::banking {

//! The bank and account number the form shows for a stored number.
struct AccountNumberParts {
  std::string bank;     //!< at most 8 characters, trimmed
  std::string account;  //!< trimmed
};

//! Splits a stored number: at the first "-" when it has one (the older way of keeping
//! it), else after the 8th character.
AccountNumberParts splitAccountNumber(std::string_view stored);
//! The stored form: the bank number padded to 8 characters, then the trimmed account
//! number, at most 100 characters in all.
std::string rebuildAccountNumber(std::string_view bank, std::string_view account);
//! The description an account gets when none was typed: bank (8) + "-" + account, cut to 50.
std::string defaultDescription(std::string_view bank, std::string_view account);
//! A stored number as lists show it: digits in groups of four from the left
//! ("1020 1026 0000 0402 …"), as a Polish account number is written after its two check
//! digits; a whole number that starts with them keeps them apart ("12 3456 7890 …"). A
//! number with anything but digits, blanks and "-" (a foreign one) is shown as it is kept.
std::string groupedAccountNumber(std::string_view number);
//! The whole number to copy: check digits and number, without blanks and "-".
std::string fullAccountNumber(std::string_view checkDigits, std::string_view number);

//! A full number taken from the clipboard.
struct PastedNumber {
  std::string checkDigits;  //!< characters 1-2
  std::string bank;         //!< characters 3-10
  std::string account;      //!< the rest
};
//! Reads the clipboard's text (at most 49 characters, blanks removed, an "PL" in front
//! dropped). Nothing for text of 10 characters or fewer.
std::optional<PastedNumber> parsePastedNumber(std::string_view clipboard);

//! What the IBAN rules say of a number.
enum class IbanVerdict {
  Valid,
  BankNotEightDigits,       //!< the bank number must be 8 digits
  AccountNotSixteenDigits,  //!< the account number must be 16 digits
  CheckDigitsMissing,       //!< LK is empty: it gets the computed digits
  CheckDigitsDiffer,        //!< LK holds other digits than the computed ones
};
struct IbanCheck {
  IbanVerdict verdict = IbanVerdict::Valid;
  std::string computed;  //!< the check digits of bank + account (when both are right)
};
//! Checks the bank number, the account number and the check digits, in this order.
IbanCheck checkIban(std::string_view bank, std::string_view account, std::string_view checkDigits);

}  // namespace slownik::banking
