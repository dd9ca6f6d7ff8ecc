#pragma once
#include <string>
#include <string_view>

namespace slownik::data {

//! Exact fixed-point values kept as text: "-12.50" for scale 2, "7" for scale 0.
//! Rounding is half away from zero, done on the digits, never through binary floats.

//! The canonical text of a decimal number with `scale` places. Accepts an optional sign,
//! digits, and '.' or ',' as the separator; surrounding blanks are ignored. Text that is
//! not a number gives zero ("0.00").
std::string canonicalDecimal(std::string_view text, int scale);
//! A binary number as a decimal text; 15 significant digits are taken first, so that
//! 2.675 becomes "2.68" rather than the "2.67" of its binary neighbour.
std::string decimalFromDouble(double value, int scale);
//! Compares two canonical decimal texts numerically: <0, 0, >0.
int compareDecimal(std::string_view a, std::string_view b);

}  // namespace slownik::data
