#include <gtest/gtest.h>

#include "framework/data/globals.h"
#include "framework/runtime/date_time.h"
#include "framework/services/program_parameters.h"
#include "framework/services/rates/rate_period.h"
#include "framework/services/rates/rate_table.h"
#include "support/backends.h"
#include "support/rate_banks_fake.h"

namespace slownik {
namespace {

using test::dayOfIso;
using test::FakeRateBanks;
using test::isoDay;

// Three weeks over the turn of the year: two weekends inside, Christmas Eve (a holiday
// in Poland, not at the European bank), both days of Christmas, New Year's Day and
// Epiphany (Polish only).
const long kFrom = dayOfIso("2025-12-20");
const long kTo = dayOfIso("2026-01-09");
const std::vector<const char*> kNbpDays = {"2025-12-22", "2025-12-23", "2025-12-29", "2025-12-30", "2025-12-31",
                                           "2026-01-02", "2026-01-05", "2026-01-07", "2026-01-08", "2026-01-09"};
const std::vector<const char*> kEcbDays = {"2025-12-22", "2025-12-23", "2025-12-24", "2025-12-29",
                                           "2025-12-30", "2025-12-31", "2026-01-02", "2026-01-05",
                                           "2026-01-06", "2026-01-07", "2026-01-08", "2026-01-09"};

class RatePeriodTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    test::DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec(test::kRateCurrenciesSql);
    banks.publishWorkdays(dayOfIso("2024-12-01"), dayOfIso("2026-02-27"),
                          {dayOfIso("2025-12-24"), dayOfIso("2025-12-25"), dayOfIso("2025-12-26"),
                           dayOfIso("2026-01-01"), dayOfIso("2026-01-06")},
                          {dayOfIso("2025-12-25"), dayOfIso("2025-12-26"), dayOfIso("2026-01-01")});
    svc::setRateSources({banks.nbpAddress(), banks.ecbAddress()});
  }
  void TearDown() override {
    svc::setRateSources({});
    test::DatabaseTest::TearDown();
  }

  std::vector<std::string> storedDays(int bank) {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT DATA_NOT FROM DATY_KURSOW WHERE ID_BANKU = " + std::to_string(bank) +
                                 " ORDER BY DATA_NOT",
                             &r)
                    .isOk());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) out.push_back(isoDay(std::stol(r.text(i, 0))));
    return out;
  }
  double rate(const char* column, const char* symbol, int bank, const char* day) {
    return std::stod(scalar(std::string("SELECT k.") + column +
                            " FROM KURSY_WALUT k JOIN DATY_KURSOW d ON d.ID_DATY = k.ID_DATY WHERE d.ID_BANKU = " +
                            std::to_string(bank) + " AND d.DATA_NOT = " + std::to_string(dayOfIso(day)) +
                            " AND k.SYM_WALUTY = '" + symbol + "'"));
  }
  // "NBP day=rate | ECB day=rate" of the rate routine for EUR on a day.
  std::string inForce(const char* day) {
    sql::Result r;
    EXPECT_TRUE(
        db().run("select * from dbo.TK_Func_PodajKursy_NBPECB (" + std::to_string(dayOfIso(day)) + ",'EUR')", &r).isOk());
    if (r.rows.size() != 1) return "no row";
    auto date = [](const std::string& d) { return d == "0" ? std::string("-") : isoDay(std::stol(d)); };
    return date(r.text(0, 1)) + " | " + date(r.text(0, 3));
  }
  static std::vector<std::string> strings(const std::vector<const char*>& v) { return {v.begin(), v.end()}; }

  FakeRateBanks banks;
};

TEST_P(RatePeriodTest, StoresEveryPublicationDayOverWeekendsHolidaysAndTheNewYear) {
  // A day stored before (by hand, with its own rate) is left as it is.
  exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (500, 0, " +
       std::to_string(dayOfIso("2025-12-22")) + ")");
  exec("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_SREDNI) VALUES (500, 'EUR', 9.9999)");

  svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true});
  ASSERT_TRUE(got.ok) << got.error;
  EXPECT_EQ(got.requests, 3);  // table A, table C, the history file
  EXPECT_EQ(got.nbpStored, 9);
  EXPECT_EQ(got.nbpKept, 1);
  EXPECT_EQ(got.ecbStored, 12);
  EXPECT_EQ(got.ecbKept, 0);
  EXPECT_EQ(storedDays(0), strings(kNbpDays));
  EXPECT_EQ(storedDays(-1), strings(kEcbDays));
  EXPECT_DOUBLE_EQ(rate("KURS_SREDNI", "EUR", 0, "2025-12-22"), 9.9999);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE ID_DATY = 500"), "1");

  // The rates of each day are that day's: table A's average, table C's buying and
  // selling rates, the multiplier applied; the euro bank's as cross rates in zloty.
  const long jan2 = dayOfIso("2026-01-02");
  EXPECT_NEAR(rate("KURS_SREDNI", "EUR", 0, "2026-01-02"), FakeRateBanks::nbpMid("EUR", jan2), 1e-9);
  EXPECT_NEAR(rate("KURS_ZAKUPU", "USD", 0, "2026-01-02"), FakeRateBanks::nbpBid("USD", jan2), 1e-9);
  EXPECT_NEAR(rate("KURS_SPRZEDAZY", "USD", 0, "2026-01-02"), FakeRateBanks::nbpAsk("USD", jan2), 1e-9);
  EXPECT_NEAR(rate("KURS_SREDNI", "HUF", 0, "2026-01-02"), FakeRateBanks::nbpMid("HUF", jan2) * 100, 1e-6);
  EXPECT_DOUBLE_EQ(rate("KURS_ZAKUPU", "HUF", 0, "2026-01-02"), 0.0);  // table C does not cover it
  const long jan6 = dayOfIso("2026-01-06");
  EXPECT_NEAR(rate("KURS_SREDNI", "EUR", -1, "2026-01-06"), FakeRateBanks::ecbPerEuro("PLN", jan6), 1e-9);
  EXPECT_NEAR(rate("KURS_SREDNI", "USD", -1, "2026-01-06"), FakeRateBanks::ecbPerEuro("PLN", jan6) / 1.16, 1e-6);

  // A document of a day without a table takes the last table published before it.
  struct Case {
    const char* day;
    const char* expected;
  };
  for (const Case& c : {Case{"2025-12-20", "- | -"},                     // before the first table
                        Case{"2025-12-22", "2025-12-22 | 2025-12-22"},   // a day with tables: its own
                        Case{"2025-12-24", "2025-12-23 | 2025-12-24"},   // Christmas Eve: a Polish holiday only
                        Case{"2025-12-27", "2025-12-23 | 2025-12-24"},   // the Saturday after Christmas
                        Case{"2025-12-28", "2025-12-23 | 2025-12-24"},
                        Case{"2026-01-01", "2025-12-31 | 2025-12-31"},   // New Year's Day, back into the old year
                        Case{"2026-01-03", "2026-01-02 | 2026-01-02"},
                        Case{"2026-01-06", "2026-01-05 | 2026-01-06"},   // Epiphany
                        Case{"2026-01-11", "2026-01-09 | 2026-01-09"}})  // after the period
    EXPECT_EQ(inForce(c.day), c.expected) << c.day;

  // Asked again, every day is there already: nothing is stored twice.
  const std::string rates = scalar("SELECT COUNT(*) FROM KURSY_WALUT");
  svc::RatePeriodDownload again = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true});
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.stored(), 0);
  EXPECT_EQ(again.nbpKept, 10);
  EXPECT_EQ(again.ecbKept, 12);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), rates);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "22");
}

TEST_P(RatePeriodTest, AYearTakesStretchesOfAtMost93DaysAndOneHistoryFile) {
  const svc::RatePeriod year{dayOfIso("2025-01-01"), dayOfIso("2025-12-31"), true, true};
  EXPECT_EQ(svc::ratePeriodRequests(year), 9);
  svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), year);
  ASSERT_TRUE(got.ok) << got.error;  // the fake refuses a stretch over 93 days
  EXPECT_EQ(got.requests, 9);

  // The stretches asked of each table follow one another without a gap or an overlap.
  long next = year.from;
  int stretchesA = 0;
  for (const auto& path : banks.requests()) {
    const std::string head = "/nbp/api/exchangerates/tables/A/";
    if (path.compare(0, head.size(), head) != 0) continue;
    const long from = dayOfIso(path.substr(head.size(), 10));
    const long to = dayOfIso(path.substr(head.size() + 11, 10));
    EXPECT_EQ(from, next) << path;
    EXPECT_LE(to - from + 1, 93) << path;
    next = to + 1;
    ++stretchesA;
  }
  EXPECT_EQ(stretchesA, 4);
  EXPECT_EQ(next, year.to + 1);

  int published = 0;
  for (long day : banks.nbpDays()) published += day >= year.from && day <= year.to;
  EXPECT_EQ(got.nbpStored, published);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW WHERE ID_BANKU = 0"), std::to_string(published));
  const auto ecb = storedDays(-1);
  ASSERT_FALSE(ecb.empty());
  EXPECT_EQ(ecb.front(), "2025-01-01");  // the fake's European bank works on New Year's Day of 2025
  EXPECT_EQ(ecb.back(), "2025-12-31");
}

TEST_P(RatePeriodTest, StoppingKeepsTheDaysStoredUntilThen) {
  {  // stopped before the history file: the Polish bank's days stay
    auto stopAtEcb = [](const svc::RatePeriodStep& s) { return s.what.find("ECB") == std::string::npos; };
    svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true}, stopAtEcb);
    EXPECT_FALSE(got.ok);
    EXPECT_TRUE(got.cancelled);
    EXPECT_EQ(got.error, svc::kRatesCancelled);
    EXPECT_EQ(got.requests, 2);
    EXPECT_EQ(storedDays(0), strings(kNbpDays));
    EXPECT_TRUE(storedDays(-1).empty());
  }
  {  // stopped in the middle of the euro bank's days: each day stored is whole and stays
    auto stopAtFourth = [](const svc::RatePeriodStep& s) { return s.storedDays < 4; };
    svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), {kFrom, kTo, false, true}, stopAtFourth);
    EXPECT_TRUE(got.cancelled);
    EXPECT_EQ(got.ecbStored, 4);
    EXPECT_EQ(storedDays(-1), strings({kEcbDays.begin(), kEcbDays.begin() + 4}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT K JOIN DATY_KURSOW D ON D.ID_DATY = K.ID_DATY "
                     "WHERE D.ID_BANKU = -1"),
              "8");  // EUR and USD of each of the four days
  }
}

TEST_P(RatePeriodTest, AFailureSaysWhyAndKeepsWhatWasStored) {
  banks.onRequest([this](const std::string& path) {
    if (path.rfind("/ecb/", 0) == 0) banks.breakWith(503);
  });
  svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true});
  EXPECT_FALSE(got.ok);
  EXPECT_FALSE(got.cancelled);
  EXPECT_EQ(got.error, "Serwer EBC odpowiedział błędem 503.");
  EXPECT_EQ(got.nbpStored, 10);
  EXPECT_EQ(storedDays(0).size(), 10u);

  // The Polish bank unreachable: said so, nothing stored.
  exec("DELETE FROM KURSY_WALUT");
  exec("DELETE FROM DATY_KURSOW");
  svc::setRateSources({"http://127.0.0.1:1", "http://127.0.0.1:1"});
  got = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true});
  EXPECT_FALSE(got.ok);
  EXPECT_NE(got.error.find("połączenie z internetem"), std::string::npos) << got.error;
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "0");
}

TEST_P(RatePeriodTest, AddressesComeFromProgramParametersFirst) {
  data::glo().ID_FIRMY = 1;
  data::glo().ID_UZYTKOWNIKA = 7;
  svc::setRateSources({"http://127.0.0.1:1", "http://127.0.0.1:1"});
  ASSERT_EQ(svc::USTAWPARAMKONF("s", svc::kNbpAddressParameter, "http://firma.example/nbp/"), 0);
  ASSERT_EQ(svc::USTAWPARAMKONF("s", svc::kEcbAddressParameter, "  "), 0);  // blank: not set
  EXPECT_EQ(svc::rateSources().nbpBase, "http://firma.example/nbp");
  EXPECT_EQ(svc::rateSources().ecbBase, "http://127.0.0.1:1");
  // The user's own address wins; it is the one the download then asks.
  ASSERT_EQ(svc::USTAWPARAMKONF("u", svc::kNbpAddressParameter, banks.nbpAddress()), 0);
  ASSERT_EQ(svc::USTAWPARAMKONF("u", svc::kEcbAddressParameter, banks.ecbAddress()), 0);
  svc::RatePeriodDownload got = svc::downloadRatePeriod(db(), {kFrom, kTo, true, true});
  EXPECT_TRUE(got.ok) << got.error;
  EXPECT_EQ(got.stored(), 22);
  data::glo().ID_FIRMY = 0;
  data::glo().ID_UZYTKOWNIKA = 0;
}

SLOWNIK_ON_ALL_BACKENDS(RatePeriodTest);

TEST(RatePeriodProblem, RefusesWhatCantBeAskedInPolish) {
  const long today = dayOfIso("2026-12-09");
  const long jan1 = dayOfIso("2025-01-01");
  struct Case {
    svc::RatePeriod period;
    const char* problem;  // "" = accepted
  };
  const Case cases[] = {
      {{jan1, dayOfIso("2025-12-31"), true, true}, ""},
      {{dayOfIso("2024-01-01"), dayOfIso("2024-12-31"), true, false}, ""},  // 366 days of a leap year
      {{jan1, dayOfIso("2026-01-01"), true, true}, "najwyżej za jeden rok"},
      {{jan1, jan1, true, true}, ""},
      {{dayOfIso("2025-03-15"), dayOfIso("2026-03-14"), true, true}, ""},
      {{dayOfIso("2025-03-15"), dayOfIso("2026-03-15"), true, true}, "najwyżej za jeden rok"},
      {{dayOfIso("2024-02-29"), dayOfIso("2025-02-28"), true, true}, ""},
      {{dayOfIso("2024-02-29"), dayOfIso("2025-03-01"), true, true}, "najwyżej za jeden rok"},
      {{jan1 + 1, jan1, true, true}, "Data początkowa jest późniejsza"},
      {{dayOfIso("2026-12-01"), today + 1, true, true}, "nie może być późniejsza niż 09.12.2026"},
      {{dayOfIso("2026-12-01"), today, false, false}, "Wybierz bank"},
      {{0, today, true, true}, "datę początkową"},
      {{today, 0, true, true}, "datę końcową"},
  };
  for (const Case& c : cases) {
    auto problem = svc::ratePeriodProblem(c.period, today);
    if (!*c.problem) {
      EXPECT_FALSE(problem) << *problem;
    } else {
      ASSERT_TRUE(problem) << c.problem;
      EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
    }
  }
}

}  // namespace
}  // namespace slownik
