// A year of exchange-rate tables back-filled at once ("Pobierz kursy za okres…") from the
// local fakes of the two banks: the requests it takes and the time, against the same
// tables fetched day by day as the one-day download does, and against the raw database
// storing the same rows with no network at all. SQLite, and PostgreSQL when
// SLOWNIK_TEST_PG_URL is set (scripts/with_postgres.sh).
//   rate_period_bench
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "framework/runtime/date_time.h"
#include "framework/services/rates/rate_download.h"
#include "framework/services/rates/rate_period.h"
#include "framework/services/rates/rate_table.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"
#include "support/rate_banks_fake.h"

using namespace slownik;
using bench::seconds;

namespace {

const long kFrom = rt::dayNumber(2025, 1, 1);
const long kTo = rt::dayNumber(2025, 12, 31);

bool ok(const sql::Status& s, const char* what) {
  if (!s) std::printf("%s: %s\n", what, s.message().c_str());
  return s.isOk();
}

// The Polish bank's holidays of 2025 that fall on workdays; the European bank's own.
std::set<long> polishHolidays() {
  std::set<long> days;
  for (auto [m, d] : {std::pair{1, 1}, {1, 6}, {4, 21}, {5, 1}, {6, 19}, {8, 15}, {11, 11}, {12, 24}, {12, 25}, {12, 26}})
    days.insert(rt::dayNumber(2025, m, d));
  return days;
}
std::set<long> euroHolidays() {
  std::set<long> days;
  for (auto [m, d] : {std::pair{1, 1}, {4, 18}, {4, 21}, {5, 1}, {12, 25}, {12, 26}}) days.insert(rt::dayNumber(2025, m, d));
  return days;
}

bool emptyRates(sql::Database& db) {
  return ok(db.executeScript("DELETE FROM KURSY_WALUT; DELETE FROM DATY_KURSOW"), "clear");
}

// The rows the back-fill stores, written straight through the connection: a table row
// and three rates per publication day, a transaction per day.
double rawStore(sql::Database& db, const test::FakeRateBanks& banks) {
  return seconds([&] {
    long long id = 0;
    auto store = [&](int bank, long day) {
      sql::Transaction tx(db, sql::TransactionMode::Immediate);
      ++id;
      std::vector<sql::Param> row = {id, static_cast<long long>(bank), static_cast<long long>(day), 0LL};
      db.execute("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT, GODZ_NOT) VALUES (?, ?, ?, ?)", row, nullptr);
      for (const char* code : {"EUR", "USD", "HUF"}) {
        std::vector<sql::Param> rate = {id, std::string(code), 1.0, 2.0, 1.5};
        db.execute("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_ZAKUPU, KURS_SPRZEDAZY, KURS_SREDNI) "
                   "VALUES (?, ?, ?, ?, ?)",
                   rate, nullptr);
      }
      tx.commit();
    };
    for (long day : banks.nbpDays())
      if (day >= kFrom && day <= kTo) store(0, day);
    for (long day : banks.ecbDays())
      if (day >= kFrom && day <= kTo) store(-1, day);
  });
}

void runBackend(const char* backend) {
  bench::ScratchDatabase scratch(std::string(backend) != "sqlite", "ratebench");
  sql::Status status;
  sql::Database* db = scratch.threadDatabase(&status);
  if (!db || !ok(sql::migrate(*db), "migrate") ||
      !ok(db->executeScript("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES "
                            "('PLN', 'złoty', 1, 1), ('EUR', 'euro', 0, 1), ('USD', 'dolar', 0, 1), "
                            "('HUF', 'forint', 0, 100)"),
          "currencies")) {
    std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
    return;
  }

  test::FakeRateBanks banks;
  banks.publishWorkdays(kFrom, kTo, polishHolidays(), euroHolidays());
  svc::setRateSources({banks.nbpAddress(), banks.ecbAddress()});

  // The year at once.
  svc::RatePeriodDownload period;
  const double atOnce = seconds([&] { period = svc::downloadRatePeriod(*db, {kFrom, kTo, true, true}); });
  if (!period.ok) std::printf("%s: błąd: %s\n", backend, period.error.c_str());
  // Asked again: every day is there, nothing is written.
  std::size_t before = banks.requests().size();
  svc::RatePeriodDownload again;
  const double repeated = seconds([&] { again = svc::downloadRatePeriod(*db, {kFrom, kTo, true, true}); });
  const std::size_t repeatedRequests = banks.requests().size() - before;

  // The same year day by day, as the one-day downloads would fetch it.
  if (!emptyRates(*db)) return;
  before = banks.requests().size();
  const double dayByDay = seconds([&] {
    for (long day = kFrom; day <= kTo; ++day) {
      svc::downloadRates(*db, svc::RateSource::Nbp, day);
      svc::downloadRates(*db, svc::RateSource::Ecb, day);
    }
  });
  const std::size_t dayByDayRequests = banks.requests().size() - before;

  if (!emptyRates(*db)) return;
  const double raw = rawStore(*db, banks);

  std::printf("%-10s rok kursów za okres: %d zapytań, %.3f s, zapisane tabele NBP %d, ECB %d\n", backend, period.requests,
              atOnce, period.nbpStored, period.ecbStored);
  std::printf("%-10s ponownie ten sam rok: %zu zapytań, %.3f s, pominięte tabele %d, zapisane %d\n", backend,
              repeatedRequests, repeated, again.nbpKept + again.ecbKept, again.stored());
  std::printf("%-10s ten sam rok dzień po dniu: %zu zapytań, %.3f s (%.1f x dłużej niż za okres)\n", backend,
              dayByDayRequests, dayByDay, dayByDay / atOnce);
  std::printf("%-10s same zapisy bezpośrednio w bazie: %.3f s; za okres / bezpośrednio: %.2f x\n", backend, raw,
              atOnce / raw);

  svc::setRateSources({});
}

}  // namespace

int main() {
  std::printf("Rok 2025 kursów NBP (tabele A i C) i ECB z lokalnych serwisów testowych\n");
  runBackend("sqlite");
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql");
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
