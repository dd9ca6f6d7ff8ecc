// The VAT flags of a company follow one another; the ledger pool holds together; the
// statistical number and the header image are checked.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/company/company_rules.h"

namespace slownik::company {
namespace {

TEST(CompanyRules, TaxFlagsFollowTheFlagJustChanged) {
  struct Case {
    const char* what;
    TaxFlags typed;  // the flags with the changed one already as the user set it
    TaxFlag changed;
    TaxFlags expected;
  };
  const Case cases[] = {
      {"small taxpayer ticked settles quarterly", {true, false, false}, TaxFlag::SmallTaxpayer, {true, true, false}},
      {"small taxpayer unticked keeps quarterly as it was", {false, true, false}, TaxFlag::SmallTaxpayer,
       {false, true, false}},
      {"cash method ticked makes a quarterly small taxpayer", {false, false, true}, TaxFlag::CashMethod,
       {true, true, true}},
      {"cash method unticked clears both", {true, true, false}, TaxFlag::CashMethod, {false, false, false}},
      {"quarterly of a small taxpayer cannot be unticked", {true, false, false}, TaxFlag::Quarterly,
       {true, true, false}},
      {"quarterly of anyone else is free", {false, false, false}, TaxFlag::Quarterly, {false, false, false}},
  };
  for (const auto& c : cases) {
    TaxFlags got = afterChange(c.typed, c.changed);
    EXPECT_EQ(got, c.expected) << c.what;
    EXPECT_EQ(got.quarterlyEditable(), !c.expected.smallTaxpayer) << c.what;
  }
}

TEST(CompanyRules, PoolMustStartBelowItsEndAndHoldItsLastNumber) {
  struct Case {
    long long start, end, last;
    std::optional<PoolField> problem;
  };
  const Case cases[] = {
      {0, 99999999, 0, std::nullopt},  // a new company's pool
      {1000, 9999, 1000, std::nullopt},
      {1000, 9999, 9999, std::nullopt},
      {5000, 5000, 5000, PoolField::Start},  // start equal to its end
      {6000, 5000, 5500, PoolField::Start},
      {1000, 9999, 999, PoolField::Last},
      {1000, 9999, 10000, PoolField::Last},
  };
  for (const auto& c : cases) {
    auto p = poolProblem(c.start, c.end, c.last);
    ASSERT_EQ(p.has_value(), c.problem.has_value()) << c.start << ".." << c.end << " @" << c.last;
    if (p) {
      EXPECT_EQ(p->field, *c.problem) << c.start << ".." << c.end << " @" << c.last;
    }
  }
  EXPECT_EQ(poolProblem(5, 5, 5)->message,
            "Numer końca puli jest mniejszy (równy) niż numer początku puli!|Proszę zmienić zakresy numerów.");
  EXPECT_EQ(poolProblem(1, 5, 6)->message,
            "Aktualny numer w puli jest spoza zakresu puli!|Proszę zmienić numer aktualny.");
}

TEST(CompanyRules, RegonNeedsNineOrFourteenDigitsWithTheirCheckDigits) {
  const struct {
    const char* regon;
    bool valid;
  } cases[] = {
      {"012345675", true},          {"123456785", true},
      {"000002000", true},          // the weighted sum leaves 10: check digit 0
      {"012345676", false},         {"123456789", false},
      {"01234567500008", true},     {"01234567500009", false},
      {"01234567000000", false},    // the unit's own check holds, its entity's does not
      {"012-345-675", true},        {"012 345 675", true},
      {"01234567", false},          {"0123456750000", false},
      {"01234567A", false},         {"O12345675", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isValidRegon(c.regon), c.valid) << c.regon;
}

TEST(CompanyRules, OnlyPicturesTheDocumentsCanPrintAreTakenAsALogo) {
  const struct {
    std::string head;
    bool picture;
  } cases[] = {
      {std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), true},
      {std::string("\x89PNG\r\n\x1A\n\0\0", 10), true},
      {"GIF89a....", true},
      {"GIF87a....", true},
      {"BM\x36\0\0\0", true},
      {"%PDF-1.7", false},
      {"PK\x03\x04", false},
      {"", false},
      {"\x89PNG", false},  // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(isPicture(c.head), c.picture) << c.head;
}

}  // namespace
}  // namespace slownik::company
