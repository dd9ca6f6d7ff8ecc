#pragma once
// The rules of a company's record that need no window: how its VAT flags follow one
// another and whether its pool of ledger account numbers holds together.
#include <optional>
#include <string>

namespace slownik::company {

//! The company's VAT settlement flags as the form shows them.
struct TaxFlags {
  bool smallTaxpayer = false;  //!< FIR:MP
  bool quarterly = false;      //!< FIR:KWARTALNY_VAT
  bool cashMethod = false;     //!< FIR:METODA_KASOWA
  //! Whether the quarterly box may be changed by hand (a small taxpayer settles quarterly).
  bool quarterlyEditable() const { return !smallTaxpayer; }
  bool operator==(const TaxFlags&) const = default;
};

enum class TaxFlag { SmallTaxpayer, Quarterly, CashMethod };

//! The flags after the user set `changed` to the value it now has in `flags`: a small
//! taxpayer settles quarterly; the cash method is open to small taxpayers only, so
//! ticking it makes the company one (quarterly too) and unticking it clears both.
TaxFlags afterChange(TaxFlags flags, TaxFlag changed);

//! Which pool field a failed pool check puts the focus on.
enum class PoolField { Start, Last };

struct PoolProblem {
  std::string message;
  PoolField field;
};

//! The pool of ledger numbers given to contractors: its start must lie below its end
//! and the last number given within both. nullopt when it holds together.
std::optional<PoolProblem> poolProblem(long long start, long long end, long long last);

}  // namespace slownik::company
