#include <gtest/gtest.h>

#include "dictionaries/tax_currency/currency_checks.h"
#include "dictionaries/tax_currency/rates_forms.h"

namespace slownik {
namespace {

TEST(RateChecks, AverageRateOfBuyingAndSelling) {
  struct Case {
    const char* buying;
    const char* selling;
    const char* average;  // "" = none
  };
  const Case cases[] = {
      {"4.0000", "4.1000", "4.050000"},
      {"4,0000", "4,1000", "4.050000"},
      {"0.000001", "0.000002", "0.000002"},  // 0.0000015 rounds half away from zero
      {"1.2345678", "1.2345679", "1.234568"},
      {"0", "4.1", ""},
      {"4.1", "0", ""},
      {"-1", "4.1", ""},
      {"", "4.1", ""},
      {"abc", "4.1", ""},
  };
  for (const auto& c : cases) {
    auto a = tax_currency::averageRate(c.buying, c.selling);
    EXPECT_EQ(a ? a->toString() : std::string(), c.average) << c.buying << " / " << c.selling;
  }
}

TEST(RateChecks, MultiplierMustBeAWholeNumberAboveZero) {
  struct Case {
    const char* typed;
    bool accepted;
  };
  for (const Case& c : {Case{"1", true}, Case{"100", true}, Case{" 10 ", true}, Case{"0", false}, Case{"000", false},
                        Case{"", false}, Case{"-5", false}, Case{"1.5", false}}) {
    EXPECT_EQ(!tax_currency::multiplierProblem(c.typed).has_value(), c.accepted) << "'" << c.typed << "'";
  }
}

TEST(RateChecks, RateStatementQuotesTheSymbol) {
  EXPECT_EQ(tax_currency::rateColumnsSql(45000, "EUR"), "select * from dbo.TK_Func_PodajKursy_NBPECB (45000,'EUR')");
  EXPECT_EQ(tax_currency::rateColumnsSql(45000, "X'Y"), "select * from dbo.TK_Func_PodajKursy_NBPECB (45000,'X''Y')");
}

}  // namespace
}  // namespace slownik
