#include <gtest/gtest.h>

#include "framework/runtime/headless_front_end.h"
#include "framework/services/rates/rate_download.h"
#include "framework/services/rates/rate_services.h"
#include "framework/services/rates/rate_table.h"
#include "support/backends.h"
#include "support/http_server.h"
#include "support/rate_banks_fake.h"

namespace slownik {
namespace {

using svc::RateSource;

const char* kTableA = R"x([{"table":"A","no":"236/A/NBP/2026","effectiveDate":"2026-12-04","rates":[
  {"currency":"dolar amerykański","code":"USD","mid":3.6512},
  {"currency":"euro","code":"EUR","mid":4.2178},
  {"currency":"forint (Węgry)","code":"HUF","mid":0.011021},
  {"currency":"rupia indonezyjska","code":"IDR","mid":0.00022}]}])x";
const char* kTableC = R"x([{"table":"C","no":"236/C/NBP/2026","tradingDate":"2026-12-03","effectiveDate":"2026-12-04","rates":[
  {"currency":"dolar amerykański","code":"USD","bid":3.6151,"ask":3.6881},
  {"currency":"euro","code":"EUR","bid":4.1760,"ask":4.2604}]}])x";
const char* kEcbDaily = R"x(<?xml version="1.0" encoding="UTF-8"?>
<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01" xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref">
  <gesmes:subject>Reference rates</gesmes:subject>
  <Cube><Cube time="2026-12-08"><Cube currency="USD" rate="1.1600"/><Cube currency="PLN" rate="4.2340"/>
  <Cube currency="HUF" rate="384.00"/></Cube></Cube></gesmes:Envelope>)x";
const char* kEcbHistory = R"x(<?xml version="1.0" encoding="UTF-8"?>
<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01" xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref">
  <Cube><Cube time="2026-11-20"><Cube currency="USD" rate="1.1500"/><Cube currency="PLN" rate="4.2550"/></Cube>
  <Cube time="2026-11-18"><Cube currency="USD" rate="1.1400"/><Cube currency="PLN" rate="4.2600"/></Cube></Cube>
</gesmes:Envelope>)x";

std::string nbpPath(const char* table, const char* date) {
  return std::string("/api/exchangerates/tables/") + table + "/" + date + "/?format=json";
}

class RatesDownload : public test::DatabaseTest {
 protected:
  void SetUp() override {
    test::DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec(test::kRateCurrenciesSql);
    svc::setRateSources({server.baseUrl(), server.baseUrl() + "/ecb"});
  }
  double rate(const std::string& column, const std::string& symbol, int bank) {
    return std::stod(scalar("SELECT k." + column + " FROM KURSY_WALUT k JOIN DATY_KURSOW d ON d.ID_DATY = k.ID_DATY " +
                            "WHERE d.ID_BANKU = " + std::to_string(bank) + " AND k.SYM_WALUTY = '" + symbol + "'"));
  }
  test::HttpServer server;
};

TEST_P(RatesDownload, NbpStepsBackToTheLastTableAndStoresKnownCurrencies) {
  server.serve(nbpPath("A", "2026-12-04"), 200, kTableA);
  server.serve(nbpPath("C", "2026-12-04"), 200, kTableC);
  const long sunday = svc::dayFromIso("2026-12-06");

  svc::RateDownload first = svc::downloadRates(db(), RateSource::Nbp, sunday);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(svc::isoDate(first.day), "2026-12-04");
  EXPECT_FALSE(first.alreadyThere);
  EXPECT_EQ(first.currencies, 3);  // IDR is not in the dictionary, PLN is the base
  EXPECT_EQ(scalar("SELECT DATA_NOT FROM DATY_KURSOW WHERE ID_BANKU = 0"), std::to_string(first.day));
  EXPECT_DOUBLE_EQ(rate("KURS_SREDNI", "EUR", 0), 4.2178);
  EXPECT_DOUBLE_EQ(rate("KURS_ZAKUPU", "USD", 0), 3.6151);
  EXPECT_DOUBLE_EQ(rate("KURS_SPRZEDAZY", "USD", 0), 3.6881);
  EXPECT_NEAR(rate("KURS_SREDNI", "HUF", 0), 1.1021, 1e-9);  // quoted per 100 units
  EXPECT_DOUBLE_EQ(rate("KURS_ZAKUPU", "HUF", 0), 0.0);      // table C does not cover it

  svc::RateDownload again = svc::downloadRates(db(), RateSource::Nbp, sunday);
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_TRUE(again.alreadyThere);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), "3");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "1");
}

TEST_P(RatesDownload, EcbRatesBecomeCrossRatesInTheBaseCurrency) {
  server.serve("/ecb/eurofxref-daily.xml", 200, kEcbDaily);
  server.serve("/ecb/eurofxref-hist-90d.xml", 200, kEcbHistory);

  svc::RateDownload today = svc::downloadRates(db(), RateSource::Ecb, svc::dayFromIso("2026-12-08"));
  ASSERT_TRUE(today.ok) << today.error;
  EXPECT_EQ(svc::isoDate(today.day), "2026-12-08");
  EXPECT_DOUBLE_EQ(rate("KURS_SREDNI", "EUR", -1), 4.2340);
  EXPECT_NEAR(rate("KURS_SREDNI", "USD", -1), 4.2340 / 1.16, 1e-6);
  EXPECT_DOUBLE_EQ(rate("KURS_SREDNI", "HUF", -1), 1.102604);  // 100 units, six places

  // A Thursday without a table in the history: the Wednesday before it.
  svc::RateDownload past = svc::downloadRates(db(), RateSource::Ecb, svc::dayFromIso("2026-11-19"));
  ASSERT_TRUE(past.ok) << past.error;
  EXPECT_EQ(svc::isoDate(past.day), "2026-11-18");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW WHERE ID_BANKU = -1"), "2");
}

TEST_P(RatesDownload, FailuresChangeNothingAndSayWhyInPolish) {
  // No table anywhere in the fortnight.
  svc::RateDownload none = svc::downloadRates(db(), RateSource::Nbp, svc::dayFromIso("2026-12-06"));
  EXPECT_FALSE(none.ok);
  EXPECT_NE(none.error.find("nie opublikował"), std::string::npos) << none.error;

  // A table that can't be read.
  server.serve(nbpPath("A", "2026-12-06"), 200, "<html>maintenance</html>");
  svc::RateDownload garbage = svc::downloadRates(db(), RateSource::Nbp, svc::dayFromIso("2026-12-06"));
  EXPECT_FALSE(garbage.ok);
  EXPECT_NE(garbage.error.find("nieczytelną"), std::string::npos) << garbage.error;

  // No network: nothing listens on the port.
  svc::setRateSources({"http://127.0.0.1:1", "http://127.0.0.1:1"});
  svc::RateDownload offline = svc::downloadRates(db(), RateSource::Ecb, svc::dayFromIso("2026-12-06"));
  EXPECT_FALSE(offline.ok);
  EXPECT_NE(offline.error.find("połączenie z internetem"), std::string::npos) << offline.error;

  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), "0");
}

TEST_P(RatesDownload, ProgressHearsEveryDayAskedAndStoppingStoresNothing) {
  server.serve(nbpPath("A", "2026-12-04"), 200, kTableA);
  const long sunday = svc::dayFromIso("2026-12-06");
  std::vector<std::string> heard;
  std::vector<int> counted;
  {  // stopped on the third day asked: the table of that day is never fetched nor stored
    auto stopAtThird = [&](const std::string& what, int done) {
      heard.push_back(what);
      counted.push_back(done);
      return done < 2;
    };
    svc::RateDownload stopped = svc::downloadRates(db(), RateSource::Nbp, sunday, stopAtThird);
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.error, svc::kRatesCancelled);
    EXPECT_EQ(heard, (std::vector<std::string>{"2026-12-06", "2026-12-05", "2026-12-04"}));
    EXPECT_EQ(counted, (std::vector<int>{0, 1, 2}));
    for (const auto& r : server.requests()) EXPECT_EQ(r.find("2026-12-04"), std::string::npos) << r;
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), "0");
  }
  {  // let through, the same search stores the Friday's table
    heard.clear();
    svc::RateDownload done =
        svc::downloadRates(db(), RateSource::Nbp, sunday, [&](const std::string& what, int) {
          heard.push_back(what);
          return true;
        });
    ASSERT_TRUE(done.ok) << done.error;
    EXPECT_FALSE(done.cancelled);
    EXPECT_EQ(heard.size(), 3u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), "3");
  }
  {  // the central bank's euro file: stopped before the first file, nothing asked
    const auto asked = server.requests().size();
    svc::RateDownload ecb = svc::downloadRates(db(), RateSource::Ecb, svc::dayFromIso("2026-12-08"),
                                               [](const std::string&, int) { return false; });
    EXPECT_TRUE(ecb.cancelled);
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW WHERE ID_BANKU = -1"), "0");
  }
}

TEST_P(RatesDownload, ServiceAnswersOneWithTheDateOrWarnsAndAnswersZero) {
  auto& fe = rt::HeadlessFrontEnd::install();
  fe.reset();
  server.serve(nbpPath("A", "2026-12-04"), 200, kTableA);

  std::int32_t date = static_cast<std::int32_t>(svc::dayFromIso("2026-12-05"));
  std::int32_t flag = -1;
  EXPECT_EQ(svc::POBIERZKURSYNBP(date, flag), 1);
  EXPECT_EQ(svc::isoDate(date), "2026-12-04");
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(svc::POBIERZKURSYNBP(date, flag), 1);
  EXPECT_EQ(flag, 1);  // already there

  fe.expectMessage(rt::button::Ok, "połączenie z internetem");
  svc::setRateSources({"http://127.0.0.1:1", "http://127.0.0.1:1"});
  std::int32_t asked = static_cast<std::int32_t>(svc::dayFromIso("2026-12-08"));
  EXPECT_EQ(svc::POBIERZKURSYECB(asked, flag), 0);
  EXPECT_EQ(svc::isoDate(asked), "2026-12-08");  // untouched
  EXPECT_TRUE(fe.takeProblems().empty());
  EXPECT_EQ(fe.messages().size(), 1u);
}

SLOWNIK_ON_ALL_BACKENDS(RatesDownload);

TEST(RateDates, DayNumbersAndIsoDatesAgree) {
  EXPECT_EQ(svc::dayFromIso("1900-01-01"), 36163);
  EXPECT_EQ(svc::isoDate(36163), "1900-01-01");
  EXPECT_EQ(svc::isoDate(4), "1801-01-01");
  EXPECT_EQ(svc::isoDate(svc::dayFromIso("2024-02-29")), "2024-02-29");
  EXPECT_EQ(svc::dayFromIso("2026-02-31"), 0);
  EXPECT_EQ(svc::dayFromIso("bzdura"), 0);
}

}  // namespace
}  // namespace slownik
