#include <gtest/gtest.h>

#include "framework/sql/routines/rate_lookup.h"
#include "support/backends.h"

namespace slownik {
namespace {

class RateLookup : public test::DatabaseTest {
 protected:
  void SetUp() override {
    test::DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('PLN', 'złoty', 1, 1)");
    exec("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('EUR', 'euro', 0, 1)");
    exec("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('UAH', 'hrywna', 0, 1)");
    // NBP quotes EUR on days 100, 101 and 103 and UAH only on day 100; ECB quotes EUR on 102.
    table(1, 0, 100, {{"EUR", "4.1"}, {"UAH", "0.1"}});
    table(2, 0, 101, {{"EUR", "4.2"}});
    table(3, 0, 103, {{"EUR", "4.3"}});
    table(4, -1, 102, {{"EUR", "4.25"}});
  }
  void table(int id, int bank, int day, std::vector<std::pair<std::string, std::string>> rates) {
    exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (" + std::to_string(id) + ", " +
         std::to_string(bank) + ", " + std::to_string(day) + ")");
    for (const auto& [symbol, rate] : rates)
      exec("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_SREDNI) VALUES (" + std::to_string(id) + ", '" + symbol +
           "', " + rate + ")");
  }
  // "date=rate" of a quotation, "-" when none.
  static std::string shown(const sql::RateQuote& q) {
    if (!q.found) return "-";
    return q.date + "=" + std::to_string(std::stod(q.rate)).substr(0, 4);
  }
};

TEST_P(RateLookup, LatestQuotationOnOrBeforeTheDayPerSource) {
  struct Case {
    const char* currency;
    long long day;
    bool base;
    const char* nbp;
    const char* ecb;
  };
  const Case cases[] = {
      {"EUR", 99, false, "-", "-"},             // before the first table
      {"EUR", 100, false, "100=4.10", "-"},
      {"EUR", 102, false, "101=4.20", "102=4.25"},  // NBP did not quote on 102
      {"EUR", 200, false, "103=4.30", "102=4.25"},
      {"UAH", 103, false, "100=0.10", "-"},     // the walk goes back past tables without it
      {"PLN", 103, true, "-", "-"},
      {"GBP", 103, false, "-", "-"},           // not in the dictionary at all
  };
  for (const auto& c : cases) {
    sql::CurrencyRates r;
    ASSERT_TRUE(sql::ratesInForce(db(), c.currency, c.day, &r).isOk());
    EXPECT_EQ(r.isBase, c.base) << c.currency << " " << c.day;
    EXPECT_EQ(shown(r.nbp), c.nbp) << c.currency << " " << c.day;
    EXPECT_EQ(shown(r.ecb), c.ecb) << c.currency << " " << c.day;
    sql::RateQuote single;
    ASSERT_TRUE(sql::rateInForce(db(), sql::kRateSourceNbp, c.currency, c.day, &single).isOk());
    EXPECT_EQ(shown(single), c.nbp) << c.currency << " " << c.day;
  }
}

TEST_P(RateLookup, RoutineGivesTheBaseCurrencyRateOne) {
  sql::Result r;
  ASSERT_TRUE(db().run("select * from dbo.TK_Func_PodajKursy_NBPECB (150,'PLN')", &r).isOk());
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.text(0, 1), "150");
  EXPECT_EQ(r.text(0, 2), "1");
  ASSERT_TRUE(db().run("select * from dbo.TK_Func_PodajKursy_NBPECB (150,'X''Y')", &r).isOk());
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.text(0, 2), "0");
}

TEST_P(RateLookup, EachRateIsAnIndexSeek) {
  if (isPostgres()) GTEST_SKIP() << "the PostgreSQL plan depends on table statistics; the benchmark checks it";
  sql::Result plan;
  std::vector<sql::Param> params = {100LL, std::string("EUR"), 100LL, std::string("EUR"), std::string("EUR")};
  ASSERT_TRUE(db().execute("EXPLAIN QUERY PLAN " + sql::ratesInForceSql(), params, &plan).isOk());
  std::string all;
  for (std::size_t i = 0; i < plan.rows.size(); ++i) all += plan.text(i, plan.columns.size() - 1) + "\n";
  // The one-row results of the two lookups are scanned; the tables never are, and no
  // sort is needed because the index gives the newest table first.
  for (const char* never : {"SCAN D", "SCAN K", "SCAN W", "TEMP B-TREE"})
    EXPECT_EQ(all.find(never), std::string::npos) << never << "\n" << all;
  EXPECT_NE(all.find("SEARCH D USING INDEX DATY_KURSOW_DATKUR_AK_DATYKURSOW_IDBANK__DATY_KUR"), std::string::npos) << all;
  EXPECT_NE(all.find("(ID_DATY=? AND SYM_WALUTY=?)"), std::string::npos) << all;
}

SLOWNIK_ON_ALL_BACKENDS(RateLookup);

}  // namespace
}  // namespace slownik
