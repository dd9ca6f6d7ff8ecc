#include "framework/data/decimal_text.h"

#include <cmath>
#include <cstdio>

namespace slownik::data {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Adds one unit in the last place of a digit string ("199" -> "200", "99" -> "100").
void incrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

std::string canonicalDecimal(std::string_view text, int scale) {
  if (scale < 0) scale = 0;
  std::string_view s = trim(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::string whole, fraction;
  bool separator = false, valid = !s.empty();
  for (char c : s) {
    if (isDigit(c)) {
      (separator ? fraction : whole) += c;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
    } else {
      valid = false;
      break;
    }
  }
  if (!valid || (whole.empty() && fraction.empty())) {
    whole = "0";
    fraction.clear();
    negative = false;
  }
  bool roundUp = fraction.size() > static_cast<std::size_t>(scale) && fraction[static_cast<std::size_t>(scale)] >= '5';
  fraction.resize(static_cast<std::size_t>(scale), '0');
  std::string digits = (whole.empty() ? "0" : whole) + fraction;
  if (roundUp) incrementDigits(digits);
  std::size_t wholeLength = digits.size() - static_cast<std::size_t>(scale);
  std::string w = digits.substr(0, wholeLength);
  std::size_t firstNonZero = w.find_first_not_of('0');
  w = firstNonZero == std::string::npos ? "0" : w.substr(firstNonZero);
  std::string f = digits.substr(wholeLength);
  bool zero = w == "0" && f.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !zero ? "-" : "") + w;
  if (scale > 0) out += "." + f;
  return out;
}

std::string decimalFromDouble(double value, int scale) {
  if (!std::isfinite(value)) return canonicalDecimal("0", scale);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string text = buf;
  if (text.find_first_of("eE") != std::string::npos) {  // very large or small: plain notation
    std::snprintf(buf, sizeof buf, "%.*f", scale + 1, value);
    text = buf;
  }
  return canonicalDecimal(text, scale);
}

int compareDecimal(std::string_view a, std::string_view b) {
  bool na = !a.empty() && a.front() == '-', nb = !b.empty() && b.front() == '-';
  if (na != nb) return na ? -1 : 1;
  if (na) {
    a.remove_prefix(1);
    b.remove_prefix(1);
  }
  auto split = [](std::string_view s) {
    std::size_t dot = s.find('.');
    return std::pair{s.substr(0, dot), dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1)};
  };
  auto [wa, fa] = split(a);
  auto [wb, fb] = split(b);
  int magnitude = 0;
  if (wa.size() != wb.size()) {
    magnitude = wa.size() < wb.size() ? -1 : 1;
  } else if (int c = wa.compare(wb); c != 0) {
    magnitude = c < 0 ? -1 : 1;
  } else {
    std::string x(fa), y(fb);
    std::size_t n = std::max(x.size(), y.size());
    x.resize(n, '0');
    y.resize(n, '0');
    int c2 = x.compare(y);
    magnitude = c2 < 0 ? -1 : (c2 > 0 ? 1 : 0);
  }
  return na ? -magnitude : magnitude;
}

}  // namespace slownik::data
