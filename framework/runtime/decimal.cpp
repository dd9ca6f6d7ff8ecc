#include "framework/runtime/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace slownik::rt {
namespace {

constexpr Int128 pow10(int n) {
  Int128 p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// 10^38 - 1: the largest mantissa we accept, so that every value prints in 38 digits.
constexpr Int128 kMaxMantissa = pow10(Decimal::kMaxDigits) - 1;

bool inRange(Int128 m) { return m <= kMaxMantissa && m >= -kMaxMantissa; }

bool scaleUp(Int128 m, int by, Int128* out) {
  Int128 r = m;
  for (int i = 0; i < by; ++i) {
    if (__builtin_mul_overflow(r, Int128(10), &r)) return false;
  }
  if (!inRange(r)) return false;
  *out = r;
  return true;
}

// num / den rounded half away from zero; den != 0.
Int128 divideRounded(Int128 num, Int128 den) {
  Int128 q = num / den;
  Int128 r = num % den;
  Int128 absR = r < 0 ? -r : r;
  Int128 absDen = den < 0 ? -den : den;
  // absR >= absDen - absR is 2*|r| >= |den| without the risk of overflow.
  if (absR >= absDen - absR) q += ((num < 0) != (den < 0)) ? -1 : 1;
  return q;
}

std::string digitsOf(Int128 m) {
  if (m == 0) return "0";
  std::string s;
  bool neg = m < 0;
  while (m != 0) {
    int d = static_cast<int>(m % 10);
    s.push_back(static_cast<char>('0' + (d < 0 ? -d : d)));
    m /= 10;
  }
  if (neg) s.push_back('-');
  std::reverse(s.begin(), s.end());
  return s;
}

}  // namespace

Decimal::Decimal(std::int64_t mantissa, int scale)
    : mantissa_(mantissa), scale_(std::clamp(scale, 0, kMaxScale)) {}

std::optional<Decimal> Decimal::parse(std::string_view text) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  Int128 m = 0;
  int digits = 0;
  int scale = 0;
  bool separatorSeen = false;
  int droppedDigit = -1;  // first digit beyond kMaxScale, for rounding
  for (char c : text) {
    if (c == '.' || c == ',') {
      if (separatorSeen) return std::nullopt;
      separatorSeen = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    ++digits;
    if (separatorSeen && scale == kMaxScale) {
      if (droppedDigit < 0) droppedDigit = c - '0';
      continue;
    }
    if (m != 0 || c != '0') {
      if (__builtin_mul_overflow(m, Int128(10), &m)) return std::nullopt;
      m += c - '0';
      if (!inRange(m)) return std::nullopt;
    }
    if (separatorSeen) ++scale;
  }
  if (digits == 0) return std::nullopt;
  if (droppedDigit >= 5) {
    m += 1;
    if (!inRange(m)) return std::nullopt;
  }
  return Decimal(negative ? -m : m, scale, true);
}

std::optional<Decimal> Decimal::fromDouble(double value, int scale) {
  if (!std::isfinite(value)) return std::nullopt;
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return std::nullopt;
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  // The shortest text that reads back as the same double is what a person means by the
  // value (2.675, not 2.67499999...); round that text, not the binary value.
  int keep = scale;
  auto dot = text.find('.');
  if (dot != std::string_view::npos && text.size() - dot - 1 > static_cast<std::size_t>(kMaxScale)) {
    text = text.substr(0, dot + 1 + kMaxScale);
  }
  auto parsed = parse(text);
  if (!parsed) return std::nullopt;
  return parsed->rounded(keep);
}

std::string Decimal::toString() const {
  std::string digits = digitsOf(mantissa_ < 0 ? -mantissa_ : mantissa_);
  if (scale_ > 0) {
    if (static_cast<int>(digits.size()) <= scale_) {
      digits.insert(0, static_cast<std::size_t>(scale_ + 1) - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(scale_), 1, '.');
  }
  if (mantissa_ < 0) digits.insert(0, 1, '-');
  return digits;
}

double Decimal::toDouble() const {
  std::string text = toString();
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int Decimal::integerDigits() const {
  Int128 whole = mantissa_ / pow10(scale_);
  if (whole < 0) whole = -whole;
  int n = 1;
  while (whole >= 10) {
    whole /= 10;
    ++n;
  }
  return n;
}

std::optional<Decimal> Decimal::rounded(int scale) const {
  scale = std::clamp(scale, 0, kMaxScale);
  if (scale == scale_) return *this;
  if (scale > scale_) {
    Int128 m;
    if (!scaleUp(mantissa_, scale - scale_, &m)) return std::nullopt;
    return Decimal(m, scale, true);
  }
  return Decimal(divideRounded(mantissa_, pow10(scale_ - scale)), scale, true);
}

Decimal Decimal::negated() const { return Decimal(-mantissa_, scale_, true); }

std::optional<Decimal> Decimal::add(const Decimal& a, const Decimal& b) {
  int scale = std::max(a.scale_, b.scale_);
  auto x = a.rounded(scale);
  auto y = b.rounded(scale);
  if (!x || !y) return std::nullopt;
  Int128 sum;
  if (__builtin_add_overflow(x->mantissa_, y->mantissa_, &sum) || !inRange(sum)) return std::nullopt;
  return Decimal(sum, scale, true);
}

std::optional<Decimal> Decimal::subtract(const Decimal& a, const Decimal& b) {
  return add(a, b.negated());
}

std::optional<Decimal> Decimal::multiply(const Decimal& a, const Decimal& b, int scale) {
  scale = std::clamp(scale, 0, kMaxScale);
  Int128 product;
  if (__builtin_mul_overflow(a.mantissa_, b.mantissa_, &product)) return std::nullopt;
  int productScale = a.scale_ + b.scale_;
  if (productScale > scale) {
    return Decimal(divideRounded(product, pow10(productScale - scale)), scale, true);
  }
  Int128 m;
  if (!scaleUp(product, scale - productScale, &m)) return std::nullopt;
  return Decimal(m, scale, true);
}

std::optional<Decimal> Decimal::divide(const Decimal& a, const Decimal& b, int scale) {
  if (b.mantissa_ == 0) return std::nullopt;
  scale = std::clamp(scale, 0, kMaxScale);
  // a/b at the target scale = a.m * 10^(scale + b.scale - a.scale) / b.m
  int exponent = scale + b.scale_ - a.scale_;
  Int128 num = a.mantissa_;
  Int128 den = b.mantissa_;
  if (exponent >= 0) {
    for (int i = 0; i < exponent; ++i) {
      if (__builtin_mul_overflow(num, Int128(10), &num)) return std::nullopt;
    }
  } else {
    for (int i = 0; i < -exponent; ++i) {
      // A divisor beyond the range of the type makes the quotient round to zero.
      if (__builtin_mul_overflow(den, Int128(10), &den)) return Decimal(Int128(0), scale, true);
    }
  }
  Int128 q = divideRounded(num, den);
  if (!inRange(q)) return std::nullopt;
  return Decimal(q, scale, true);
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  if (a.scale_ == b.scale_) return a.mantissa_ <=> b.mantissa_;
  const Decimal& fine = a.scale_ > b.scale_ ? a : b;
  const Decimal& coarse = a.scale_ > b.scale_ ? b : a;
  Int128 lifted;
  std::strong_ordering coarseVsFine = std::strong_ordering::equal;
  if (scaleUp(coarse.mantissa_, fine.scale_ - coarse.scale_, &lifted)) {
    coarseVsFine = lifted <=> fine.mantissa_;
  } else {
    // Too large to lift means larger in magnitude than anything at the finer scale.
    coarseVsFine = coarse.mantissa_ < 0 ? std::strong_ordering::less : std::strong_ordering::greater;
  }
  if (&coarse == &a) return coarseVsFine;
  return 0 <=> coarseVsFine;
}

}  // namespace slownik::rt
