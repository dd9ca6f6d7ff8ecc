#pragma once
// The rules of a company's record that need no window: how its VAT flags follow one
// another and whether its pool of ledger account numbers holds together.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

//! Whether a statistical number (REGON) holds together: 9 or 14 digits, each with its
//! check digit; the first nine digits of a 14-digit number (a local unit) are the
//! 9-digit number of its entity and carry their own. Blanks and dashes between the
//! digits are allowed; anything else, or another length, is not a REGON.
bool isValidRegon(std::string_view regon);

//! The largest header image the company form takes into the database.
inline constexpr std::uintmax_t kLargestLogoBytes = 5 * 1024 * 1024;

//! Whether a file starting with `head` (its first bytes, 8 are enough) is a picture the
//! documents can print: JPEG, PNG, GIF or BMP.
bool isPicture(std::string_view head);

}  // namespace slownik::company
