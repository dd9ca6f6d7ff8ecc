#include "dictionaries/company/company_rules.h"

#include <vector>

namespace slownik::company {

TaxFlags afterChange(TaxFlags flags, TaxFlag changed) {
  switch (changed) {
    case TaxFlag::SmallTaxpayer:
      if (flags.smallTaxpayer) flags.quarterly = true;
      break;
    case TaxFlag::CashMethod:
      flags.smallTaxpayer = flags.cashMethod;
      flags.quarterly = flags.cashMethod;
      break;
    case TaxFlag::Quarterly:
      // A small taxpayer's box is disabled; should the value arrive anyway, it stays set.
      if (flags.smallTaxpayer) flags.quarterly = true;
      break;
  }
  return flags;
}

std::optional<PoolProblem> poolProblem(long long start, long long end, long long last) {
  if (start >= end)
    return PoolProblem{
        "Numer końca puli jest mniejszy (równy) niż numer początku puli!|Proszę zmienić zakresy numerów.",
        PoolField::Start};
  if (last < start || last > end)
    return PoolProblem{"Aktualny numer w puli jest spoza zakresu puli!|Proszę zmienić numer aktualny.",
                       PoolField::Last};
  return std::nullopt;
}

namespace {

// The check digit of `digits` under `weights`: the weighted sum modulo 11, where 10
// counts as 0.
int checkDigit(const std::vector<int>& digits, const int* weights, std::size_t count) {
  int sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += digits[i] * weights[i];
  int rest = sum % 11;
  return rest == 10 ? 0 : rest;
}

}  // namespace

bool isValidRegon(std::string_view regon) {
  std::vector<int> digits;
  for (char c : regon) {
    if (c >= '0' && c <= '9') digits.push_back(c - '0');
    else if (c != ' ' && c != '-') return false;
  }
  static constexpr int kWeights9[] = {8, 9, 2, 3, 4, 5, 6, 7};
  static constexpr int kWeights14[] = {2, 4, 8, 5, 0, 9, 7, 3, 6, 1, 2, 4, 8};
  if (digits.size() != 9 && digits.size() != 14) return false;
  if (checkDigit(digits, kWeights9, 8) != digits[8]) return false;
  return digits.size() == 9 || checkDigit(digits, kWeights14, 13) == digits[13];
}

bool isPicture(std::string_view head) {
  auto startsWith = [head](std::string_view magic) { return head.substr(0, magic.size()) == magic; };
  return startsWith("\xFF\xD8\xFF") || startsWith("\x89PNG\r\n\x1A\n") || startsWith("GIF87a") ||
         startsWith("GIF89a") || startsWith("BM");
}

}  // namespace slownik::company
