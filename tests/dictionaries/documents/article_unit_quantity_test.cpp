// Quantities of a document position converted between an article's units.
#include "dictionaries/documents/article_unit_quantity.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace slownik::documents {
namespace {

rt::Decimal dec(const char* text) { return *rt::Decimal::parse(text); }

TEST(ArticleUnitQuantity, ConvertsBaseQuantityIntoAUnitWithFourPlaces) {
  const struct {
    double base;
    double factor;
    std::optional<std::string> quantity;
  } cases[] = {
      {10, 3, "3.3333"},         // cut off after four places
      {2, 3, "0.6667"},          // rounded to the nearest, not cut
      {2.5, 0.5, "5.0000"},      // a unit smaller than the base unit
      {2.5, 1, "2.5000"},
      {-10, 3, "-3.3333"},       // a correcting position
      {0.00005, 1, "0.0001"},    // half away from zero
      {-0.00005, 1, "-0.0001"},
      {1, 0.000001, "1000000.0000"},
      {0, 12, "0.0000"},
      {10, 0, std::nullopt},     // a unit without a factor converts nothing
      {0, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.base) + " / " + std::to_string(c.factor));
    auto q = quantityInUnit(c.base, c.factor);
    ASSERT_EQ(q.has_value(), c.quantity.has_value());
    if (q) {
      EXPECT_EQ(q->toString(), *c.quantity);
    }
  }
}

TEST(ArticleUnitQuantity, IndivisibleUnitsCutTowardZero) {
  const struct {
    const char* quantity;
    const char* whole;
    bool fraction;
  } cases[] = {
      {"2.5000", "2", true},  {"3.3333", "3", true},  {"0.9999", "0", true},   {"-2.5000", "-2", true},
      {"3.0000", "3", false}, {"0.0000", "0", false}, {"-4.0000", "-4", false}, {"7", "7", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quantity);
    EXPECT_EQ(wholeQuantity(dec(c.quantity)).toString(), c.whole);
    EXPECT_EQ(hasFraction(dec(c.quantity)), c.fraction);
  }
}

TEST(ArticleUnitQuantity, TextsDropTrailingZeros) {
  const struct {
    const char* quantity;
    const char* text;
  } cases[] = {{"2.5000", "2.5"}, {"10.0000", "10"}, {"-0.1250", "-0.125"}, {"0.0000", "0"}, {"100", "100"}};
  for (const auto& c : cases) EXPECT_EQ(quantityText(dec(c.quantity)), c.text) << c.quantity;
}

TEST(ArticleUnitQuantity, ChangeFollowsBothFactors) {
  // The position in dozens (factor 12), the other unit pairs (factor 2): 1 dozen = 6 pairs.
  QuantityChange change(1, 12, 12, 2);
  EXPECT_EQ(change.otherQuantity().toString(), "6.0000");
  change.takeOtherQuantity(dec("1"));
  EXPECT_DOUBLE_EQ(change.baseQuantity(), 2);
  EXPECT_EQ(change.quantity().toString(), "0.1667");
  change.takeQuantity(dec("0.5"));
  EXPECT_EQ(change.otherQuantity().toString(), "3.0000");

  // Without a factor nothing is divided by zero: what can't follow keeps its value.
  QuantityChange noOwn(3, 3, 0, 1);
  noOwn.takeOtherQuantity(dec("6"));
  EXPECT_EQ(noOwn.quantity().toString(), "3.0000");
  EXPECT_DOUBLE_EQ(noOwn.baseQuantity(), 6);
}

}  // namespace
}  // namespace slownik::documents
