#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slownik::rt {

__extension__ typedef __int128 Int128;

//! An exact fixed-point decimal: an integer mantissa and a scale (the number of digits
//! after the separator). Up to 38 significant digits and kMaxScale places. Money, rates
//! and quantities live here; binary floating point is used only to hand a value to a
//! display that wants a double.
//!
//! Everything that can fail (bad text, overflow, division by zero) returns an empty
//! optional; nothing throws.
class Decimal {
 public:
  static constexpr int kMaxScale = 18;
  static constexpr int kMaxDigits = 38;

  Decimal() = default;
  //! mantissa / 10^scale; scale is clamped to 0..kMaxScale.
  Decimal(std::int64_t mantissa, int scale);

  static Decimal fromInteger(std::int64_t value) { return Decimal(value, 0); }
  //! Reads "12.5", "-0,75", "+3", ".5", "7." — either '.' or ',' as the separator,
  //! surrounding blanks ignored, no grouping, no exponent. The scale is the number of
  //! digits typed after the separator (capped at kMaxScale by rounding).
  static std::optional<Decimal> parse(std::string_view text);
  //! The double as it would be printed shortest, rounded half away from zero to scale.
  //! Empty for NaN, infinity and values beyond 38 digits.
  static std::optional<Decimal> fromDouble(double value, int scale);

  int scale() const { return scale_; }
  int sign() const { return mantissa_ < 0 ? -1 : (mantissa_ > 0 ? 1 : 0); }
  bool isZero() const { return mantissa_ == 0; }
  bool isNegative() const { return mantissa_ < 0; }
  Int128 mantissa() const { return mantissa_; }

  //! Canonical text: '.' as the separator, exactly scale() digits after it ("-12.50", "0").
  std::string toString() const;
  //! Only for displays and charts; the value itself stays exact.
  double toDouble() const;
  //! Number of digits before the separator (0.5 has 1: the leading zero).
  int integerDigits() const;

  //! The value at another scale, rounded half away from zero when places are dropped.
  std::optional<Decimal> rounded(int scale) const;
  Decimal negated() const;
  Decimal abs() const { return isNegative() ? negated() : *this; }

  //! Exact sum and difference (the larger of the two scales).
  static std::optional<Decimal> add(const Decimal& a, const Decimal& b);
  static std::optional<Decimal> subtract(const Decimal& a, const Decimal& b);
  //! Product and quotient rounded half away from zero to the given scale.
  static std::optional<Decimal> multiply(const Decimal& a, const Decimal& b, int scale);
  static std::optional<Decimal> divide(const Decimal& a, const Decimal& b, int scale);

  //! Numeric comparison: 1.5 and 1.50 are equal.
  friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);
  friend bool operator==(const Decimal& a, const Decimal& b) { return (a <=> b) == 0; }

 private:
  Decimal(Int128 mantissa, int scale, bool) : mantissa_(mantissa), scale_(scale) {}

  Int128 mantissa_ = 0;
  int scale_ = 0;
};

}  // namespace slownik::rt
