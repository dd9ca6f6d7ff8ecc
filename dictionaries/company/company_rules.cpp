#include "dictionaries/company/company_rules.h"

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

}  // namespace slownik::company
