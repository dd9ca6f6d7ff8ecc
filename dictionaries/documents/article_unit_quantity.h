#pragma once
// The arithmetic of an article's quantity in its units of measure. A unit's factor
// (JED:PRZELICZNIK) says how many base units one unit holds, so
//   quantity in the unit = base quantity / factor,   base quantity = quantity × factor.
// Quotients are taken in floating point, as the document editors take them, and then
// kept as decimals with 4 places (rounded to the nearest 0.0001, half away from zero),
// which is what a document position holds.

#include <optional>
#include <string>

#include "framework/runtime/decimal.h"

namespace slownik::documents {

//! Places of a quantity on a document position.
inline constexpr int kQuantityPlaces = 4;

//! A real as a position quantity (4 places); 0 for a value no quantity can hold (NaN,
//! infinity, beyond 38 digits).
rt::Decimal positionQuantity(double value);
//! The quantity in a unit of `factor` of `baseQuantity` base units; empty when the factor
//! is 0 (a unit without a factor converts nothing) or the quotient is not a number.
std::optional<rt::Decimal> quantityInUnit(double baseQuantity, double factor);
//! The quantity cut to its integer part, toward zero (an indivisible unit).
rt::Decimal wholeQuantity(const rt::Decimal& quantity);
//! Whether the quantity has a fractional part.
bool hasFraction(const rt::Decimal& quantity);
//! The quantity as the chooser writes it in its texts: "2.5", "10", "-0.125".
std::string quantityText(const rt::Decimal& quantity);

//! The two lines of the quantity-change window: the quantity in the position's unit
//! (factor `factor`) and in another unit (factor `otherFactor`), kept in step through
//! the base quantity. Either line may be typed; the other follows.
class QuantityChange {
 public:
  QuantityChange(double quantity, double baseQuantity, double factor, double otherFactor);

  //! A quantity typed in the position's unit.
  void takeQuantity(const rt::Decimal& typed);
  //! A quantity typed in the other unit; its product with that unit's factor is taken
  //! exactly, so 4 × 2.5 gives 10 base units and not a neighbour of 10.
  void takeOtherQuantity(const rt::Decimal& typed);

  const rt::Decimal& quantity() const { return quantity_; }
  const rt::Decimal& otherQuantity() const { return other_; }
  double baseQuantity() const { return base_; }

 private:
  double base_;
  double factor_;
  double otherFactor_;
  rt::Decimal quantity_;
  rt::Decimal other_;
};

}  // namespace slownik::documents
