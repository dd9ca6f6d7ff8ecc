#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "framework/runtime/decimal.h"

namespace slownik::rt {
namespace {

Decimal dec(const char* text) {
  auto d = Decimal::parse(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(Decimal());
}

TEST(Decimal, ParsesWhatPeopleTypeAndPrintsCanonically) {
  struct Case {
    const char* text;
    const char* canonical;
    int scale;
  };
  const Case cases[] = {
      {"12.5", "12.5", 1},
      {"-0,75", "-0.75", 2},
      {"  +3 ", "3", 0},
      {".5", "0.5", 1},
      {"7.", "7", 0},
      {"0007.10", "7.10", 2},
      {"-0.00", "0.00", 2},
      {"99999999999999999999.999999999999999999", "99999999999999999999.999999999999999999", 18},
      // Digits beyond the finest scale are rounded half away from zero.
      {"0.1234567890123456785", "0.123456789012345679", 18},
      {"-0.1234567890123456785", "-0.123456789012345679", 18},
  };
  for (const auto& c : cases) {
    auto d = Decimal::parse(c.text);
    ASSERT_TRUE(d.has_value()) << c.text;
    EXPECT_EQ(d->toString(), c.canonical) << c.text;
    EXPECT_EQ(d->scale(), c.scale) << c.text;
  }
}

TEST(Decimal, RefusesTextThatIsNotANumber) {
  for (const char* text : {"", " ", "-", ".", "1.2.3", "1,2.3", "12a", "1e5", "--1", "1 000", "0x10",
                           "123456789012345678901234567890123456789"}) {
    EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
  }
}

TEST(Decimal, RoundsHalfAwayFromZero) {
  struct Case {
    const char* value;
    int scale;
    const char* expected;
  };
  const Case cases[] = {
      {"2.675", 2, "2.68"}, {"-2.675", 2, "-2.68"}, {"2.665", 2, "2.67"}, {"2.5", 0, "3"},
      {"-2.5", 0, "-3"},    {"-2.4", 0, "-2"},      {"0.004", 2, "0.00"}, {"-0.005", 2, "-0.01"},
      {"1.5", 3, "1.500"},  {"9.995", 2, "10.00"},
  };
  for (const auto& c : cases) {
    auto r = dec(c.value).rounded(c.scale);
    ASSERT_TRUE(r.has_value()) << c.value;
    EXPECT_EQ(r->toString(), c.expected) << c.value << " @" << c.scale;
  }
}

TEST(Decimal, ArithmeticIsExact) {
  // The classic binary-floating-point trap: 0.1 + 0.2 is exactly 0.3 here.
  EXPECT_EQ(Decimal::add(dec("0.1"), dec("0.2"))->toString(), "0.3");
  EXPECT_EQ(Decimal::add(dec("1.25"), dec("-3"))->toString(), "-1.75");
  EXPECT_EQ(Decimal::subtract(dec("100"), dec("0.01"))->toString(), "99.99");
  EXPECT_EQ(Decimal::multiply(dec("4.1234"), dec("1000"), 2)->toString(), "4123.40");
  EXPECT_EQ(Decimal::multiply(dec("19.99"), dec("0.23"), 2)->toString(), "4.60");  // 4.5977
  EXPECT_EQ(Decimal::multiply(dec("-0.5"), dec("0.01"), 2)->toString(), "-0.01");  // -0.005
  EXPECT_EQ(Decimal::divide(dec("10"), dec("3"), 4)->toString(), "3.3333");
  EXPECT_EQ(Decimal::divide(dec("2"), dec("3"), 2)->toString(), "0.67");
  EXPECT_EQ(Decimal::divide(dec("-2"), dec("3"), 2)->toString(), "-0.67");
  EXPECT_EQ(Decimal::divide(dec("1"), dec("-8"), 2)->toString(), "-0.13");  // -0.125
  EXPECT_EQ(Decimal::divide(dec("4.123456"), dec("100"), 6)->toString(), "0.041235");
  EXPECT_EQ(Decimal::divide(dec("1.000"), dec("0.001"), 0)->toString(), "1000");
}

TEST(Decimal, FailuresAreValuesNotCrashes) {
  EXPECT_FALSE(Decimal::divide(dec("1"), dec("0.00"), 2).has_value());
  auto big = dec("99999999999999999999999999999999999999");
  EXPECT_FALSE(Decimal::add(big, dec("1")).has_value());
  EXPECT_FALSE(Decimal::multiply(big, dec("10"), 0).has_value());
  EXPECT_FALSE(big.rounded(2).has_value());
  EXPECT_TRUE(Decimal::add(big, dec("-1")).has_value());
}

TEST(Decimal, ComparesByValueAcrossScales) {
  EXPECT_EQ(dec("1.5"), dec("1.50"));
  EXPECT_LT(dec("-1"), dec("0.01"));
  EXPECT_GT(dec("10"), dec("9.999"));
  EXPECT_LT(dec("-10"), dec("-9.999"));
  EXPECT_NE(dec("0.1"), dec("0.10000000000000001"));
  // A coarse value too large to lift to the finer scale is still ordered correctly.
  auto huge = dec("99999999999999999999999999999999999999");
  EXPECT_GT(huge, dec("0.000000000000000001"));
  EXPECT_LT(huge.negated(), dec("0.000000000000000001"));
}

TEST(Decimal, DoublesOnlyAtTheEdges) {
  struct Case {
    double value;
    int scale;
    const char* expected;
  };
  const Case cases[] = {
      {2.675, 2, "2.68"},  // the double is 2.67499999..., the person meant 2.675
      {0.1, 4, "0.1000"},
      {-1234.5, 0, "-1235"},
      {4.123456, 6, "4.123456"},
      {1e-20, 2, "0.00"},
      {6100003.0, 0, "6100003"},
  };
  for (const auto& c : cases) {
    auto d = Decimal::fromDouble(c.value, c.scale);
    ASSERT_TRUE(d.has_value()) << c.value;
    EXPECT_EQ(d->toString(), c.expected) << c.value;
  }
  EXPECT_FALSE(Decimal::fromDouble(1e300, 2).has_value());
  EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::quiet_NaN(), 2).has_value());
  EXPECT_DOUBLE_EQ(dec("-12.25").toDouble(), -12.25);
  EXPECT_EQ(dec("-0.5").integerDigits(), 1);
  EXPECT_EQ(dec("12345.67").integerDigits(), 5);
}

}  // namespace
}  // namespace slownik::rt
