#include "framework/services/iban.h"

#include <optional>

namespace slownik::svc {
namespace {

constexpr std::size_t kBbanDigits = 24;
constexpr std::string_view kCountry = "PL";

// The text without blanks, upper-cased; nullopt when it has anything but letters and digits.
std::optional<std::string> compact(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ') continue;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return std::nullopt;
    out += c;
  }
  return out;
}

bool allDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The remainder modulo 97 of the number the text stands for, letters counting
// as two digits (A = 10 … Z = 35), computed piecewise so any length fits.
int mod97(std::string_view text) {
  int r = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      r = (r * 10 + (c - '0')) % 97;
    } else {
      int v = c - 'A' + 10;
      r = (r * 100 + v) % 97;
    }
  }
  return r;
}

}  // namespace

std::string IBAN_OBLICZSUMEKONTROLNA(std::string_view bban) {
  auto digits = compact(bban);
  if (!digits || digits->size() != kBbanDigits || !allDigits(*digits)) return {};
  // The country code and "00" move behind the account: BBAN + "PL00".
  int check = 98 - mod97(*digits + std::string(kCountry) + "00");
  return {static_cast<char>('0' + check / 10), static_cast<char>('0' + check % 10)};
}

bool isValidPolishIban(std::string_view account) {
  auto text = compact(account);
  if (!text) return false;
  std::string iban = text->starts_with(kCountry) ? *text : std::string(kCountry) + *text;
  if (iban.size() != kCountry.size() + 2 + kBbanDigits || !allDigits(std::string_view(iban).substr(2))) return false;
  return mod97(iban.substr(4) + iban.substr(0, 4)) == 1;
}

}  // namespace slownik::svc
