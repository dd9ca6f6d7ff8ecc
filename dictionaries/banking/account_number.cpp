#include "dictionaries/banking/account_number.h"

#include <algorithm>
#include <cctype>

#include "engine/record_form.h"
#include "framework/services/iban.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr std::size_t kBankLength = 8;
constexpr std::size_t kAccountLength = 16;
constexpr std::size_t kStoredLength = 100;
constexpr std::size_t kDescriptionLength = 50;
constexpr std::size_t kClipboardLength = 49;
constexpr std::size_t kShortestPaste = 10;

using engine::trimmed;

//! The first `n` characters and the rest, never cutting a UTF-8 sequence.
std::pair<std::string, std::string> splitAt(std::string_view text, std::size_t n) {
  std::string head = sql::truncateUtf8(text, n);
  return {head, std::string(text.substr(head.size()))};
}

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text);
  for (std::size_t n = sql::utf8Length(text); n < width; ++n) out += ' ';
  return out;
}

bool isDigits(std::string_view text, std::size_t length) {
  return text.size() == length &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string without(std::string_view text, std::string_view dropped) {
  std::string out;
  for (char c : text)
    if (dropped.find(c) == std::string_view::npos) out += c;
  return out;
}

}  // namespace

AccountNumberParts splitAccountNumber(std::string_view stored) {
  std::size_t dash = stored.find('-');
  if (dash != std::string_view::npos) {
    return {sql::truncateUtf8(trimmed(stored.substr(0, dash)), kBankLength), trimmed(stored.substr(dash + 1))};
  }
  auto [bank, account] = splitAt(stored, kBankLength);
  return {trimmed(bank), trimmed(account)};
}

std::string rebuildAccountNumber(std::string_view bank, std::string_view account) {
  return sql::truncateUtf8(padded(sql::truncateUtf8(bank, kBankLength), kBankLength) + trimmed(account), kStoredLength);
}

std::string defaultDescription(std::string_view bank, std::string_view account) {
  return sql::truncateUtf8(padded(sql::truncateUtf8(bank, kBankLength), kBankLength) + "-" + std::string(account),
                           kDescriptionLength);
}

std::string fullAccountNumber(std::string_view checkDigits, std::string_view number) {
  return without(trimmed(checkDigits) + trimmed(number), " -");
}

std::string groupedAccountNumber(std::string_view number) {
  const std::string digits = without(trimmed(number), " -");
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return std::string(number);
  // A whole number with its two check digits in front ("12 3456 7890 …") keeps them apart.
  const std::size_t lead = digits.size() % 4 == 2 ? 2 : 0;
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (i == lead || (i > lead && (i - lead) % 4 == 0))) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

std::optional<PastedNumber> parsePastedNumber(std::string_view clipboard) {
  // Copied text often ends in a line break or carries tabs; they are blanks as well.
  std::string text = without(sql::truncateUtf8(clipboard, kClipboardLength), " \t\r\n");
  // An IBAN written with its country code: the digits after it are the number.
  if (text.size() >= 2 && sql::equalsIgnoreCase(text.substr(0, 2), "PL")) text.erase(0, 2);
  if (sql::utf8Length(text) <= kShortestPaste) return std::nullopt;
  auto [checkDigits, rest] = splitAt(text, 2);
  auto [bank, account] = splitAt(rest, kBankLength);
  return PastedNumber{checkDigits, bank, account};
}

IbanCheck checkIban(std::string_view bank, std::string_view account, std::string_view checkDigits) {
  if (!isDigits(bank, kBankLength)) return {IbanVerdict::BankNotEightDigits, {}};
  std::string number = trimmed(account);
  if (!isDigits(number, kAccountLength)) return {IbanVerdict::AccountNotSixteenDigits, {}};
  std::string computed = trimmed(svc::IBAN_OBLICZSUMEKONTROLNA(std::string(bank) + number));
  std::string typed = trimmed(checkDigits);
  if (computed == typed) return {IbanVerdict::Valid, computed};
  return {typed.empty() ? IbanVerdict::CheckDigitsMissing : IbanVerdict::CheckDigitsDiffer, computed};
}

}  // namespace slownik::banking
