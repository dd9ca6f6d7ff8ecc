#include "dictionaries/documents/article_unit_quantity.h"

#include <cmath>
#include <string>

namespace slownik::documents {

namespace {
// A factor is kept with 6 places (JED:PRZELICZNIK).
constexpr int kFactorPlaces = 6;
}  // namespace

rt::Decimal positionQuantity(double value) {
  return rt::Decimal::fromDouble(value, kQuantityPlaces).value_or(rt::Decimal(0, kQuantityPlaces));
}

std::optional<rt::Decimal> quantityInUnit(double baseQuantity, double factor) {
  if (factor == 0) return std::nullopt;
  double quotient = baseQuantity / factor;
  if (!std::isfinite(quotient)) return std::nullopt;
  return rt::Decimal::fromDouble(quotient, kQuantityPlaces);
}

rt::Decimal wholeQuantity(const rt::Decimal& quantity) {
  // Dropping the digits after the point cuts toward zero, as the cut of an indivisible
  // unit must: -2.5 gives -2.
  std::string text = quantity.toString();
  text = text.substr(0, text.find('.'));
  return rt::Decimal::parse(text).value_or(rt::Decimal());
}

bool hasFraction(const rt::Decimal& quantity) { return !(wholeQuantity(quantity) == quantity); }

std::string quantityText(const rt::Decimal& quantity) {
  std::string text = quantity.toString();
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

QuantityChange::QuantityChange(double quantity, double baseQuantity, double factor, double otherFactor)
    : base_(baseQuantity),
      factor_(factor),
      otherFactor_(otherFactor),
      quantity_(positionQuantity(quantity)),
      other_(quantityInUnit(baseQuantity, otherFactor).value_or(rt::Decimal(0, kQuantityPlaces))) {}

void QuantityChange::takeQuantity(const rt::Decimal& typed) {
  quantity_ = typed.rounded(kQuantityPlaces).value_or(quantity_);
  base_ = quantity_.toDouble() * factor_;
  // Without a factor the other line can't follow; it keeps what it showed.
  if (auto other = quantityInUnit(base_, otherFactor_)) other_ = *other;
}

void QuantityChange::takeOtherQuantity(const rt::Decimal& typed) {
  other_ = typed.rounded(kQuantityPlaces).value_or(other_);
  auto factor = rt::Decimal::fromDouble(otherFactor_, kFactorPlaces);
  auto product = factor ? rt::Decimal::multiply(other_, *factor, kQuantityPlaces + kFactorPlaces) : std::nullopt;
  base_ = product ? product->toDouble() : other_.toDouble() * otherFactor_;
  if (auto quantity = quantityInUnit(base_, factor_)) quantity_ = *quantity;
}

}  // namespace slownik::documents
