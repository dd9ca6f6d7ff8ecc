// The currency list with its four rate columns: one page of 20 currencies and, per row,
// the NBP and ECB rates in force on the day (TK_Func_PodajKursy_NBPECB through EXECSQL,
// as the list runs it), over 200 currencies and one, then five, years of daily rate
// tables of both sources. Compared with the raw statements that fetch the same rows and
// rates straight from the connection. SQLite, and PostgreSQL when SLOWNIK_TEST_PG_URL is
// set (scripts/with_postgres.sh). Prints ratios and the plans of the rate statement.
//   currency_list_bench [pages]     default: 300
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "dictionaries/tax_currency/currency_checks.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/date_time.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/routines/rate_lookup.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;
using bench::seconds;

namespace {

constexpr int kCurrencies = 200;
constexpr int kPage = 20;
const std::int32_t kFirstDay = rt::dayNumber(2020, 1, 1);

std::string symbolOf(int i) {
  std::string s = "AAA";
  s[0] = static_cast<char>('A' + i / 26 / 26 % 26);
  s[1] = static_cast<char>('A' + i / 26 % 26);
  s[2] = static_cast<char>('A' + i % 26);
  return s;
}

bool ok(const sql::Status& s, const char* what) {
  if (!s) std::printf("%s: %s\n", what, s.message().c_str());
  return s.isOk();
}

// Rate tables of both sources for every weekday of [from, to).
bool addTables(sql::Database& db, std::int32_t from, std::int32_t to) {
  sql::Transaction tx(db);
  long long id = 0;
  sql::Result r;
  if (!ok(db.execute("SELECT COALESCE(MAX(ID_DATY), 0) FROM DATY_KURSOW", &r), "ids")) return false;
  id = std::atoll(r.scalar().c_str());
  for (std::int32_t day = from; day < to; ++day) {
    int weekday = rt::dayOfWeek(day);
    if (weekday == 0 || weekday == 6) continue;
    for (int bank : {0, -1}) {
      ++id;
      std::vector<sql::Param> p = {id, static_cast<long long>(bank), static_cast<long long>(day)};
      if (!ok(db.execute("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (?, ?, ?)", p, nullptr), "date"))
        return false;
      std::vector<sql::Param> q = {id};
      if (!ok(db.execute("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_ZAKUPU, KURS_SPRZEDAZY, KURS_SREDNI) "
                         "SELECT ?, SYM_WALUTY, 1.01, 1.03, 1.02 FROM WALUTY WHERE NUMER = 0",
                         q, nullptr),
              "rates"))
        return false;
    }
  }
  return ok(tx.commit(), "commit");
}

bool fillCurrencies(sql::Database& db) {
  if (!ok(sql::migrate(db), "migrate")) return false;
  sql::Transaction tx(db);
  for (int i = 0; i < kCurrencies; ++i) {
    std::vector<sql::Param> p = {symbolOf(i), "Waluta " + symbolOf(i), static_cast<long long>(i == 0 ? 1 : 0)};
    if (!ok(db.execute("INSERT INTO WALUTY (SYM_WALUTY, SYM_KRAJU, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES (?, 'PL', ?, ?, 1)",
                       p, nullptr),
            "currency"))
      return false;
  }
  return ok(tx.commit(), "commit");
}

struct Figures {
  double list = 0;    // seconds per page
  double direct = 0;  // the same page with the routine's lookup called without the routine call
  double raw = 0;
};

// The list's way: a keyset page of the view, then the rate routine per row.
Figures measure(sql::Database& db, int pages, std::int32_t day) {
  data::ViewManager view(*sql::Catalogue::instance().find("WALUTY"));
  view.setOrderKey("WAL:PK_WALUTY");
  view.open();
  std::vector<data::ViewRow> rows;
  long checksum = 0;
  Figures f;
  f.list = seconds([&] {
             for (int p = 0; p < pages; ++p) {
               view.seek(symbolOf(p * 7 % (kCurrencies - kPage)), kPage, rows);
               for (const auto& row : rows) {
                 view.load(row);
                 auto rates = tax_currency::rateColumns(day, row.values[0].value_or(""));
                 checksum += rates.nbpRate.size() + rates.ecbDate.size();
               }
             }
           }) / pages;
  f.direct = seconds([&] {
               for (int p = 0; p < pages; ++p) {
                 view.seek(symbolOf(p * 7 % (kCurrencies - kPage)), kPage, rows);
                 for (const auto& row : rows) {
                   view.load(row);
                   sql::CurrencyRates rates;
                   sql::ratesInForce(db, row.values[0].value_or(""), day, &rates);
                   checksum += static_cast<long>(rates.nbp.rate.size());
                 }
               }
             }) / pages;
  view.close();

  const std::string page =
      "SELECT SYM_WALUTY, SYM_KRAJU, NAZWA, NUMER, MNOZNIK_WALUTY FROM WALUTY WHERE SYM_WALUTY >= ? "
      "ORDER BY SYM_WALUTY LIMIT 20";
  const std::string latest =
      "SELECT D.DATA_NOT, K.KURS_SREDNI FROM DATY_KURSOW D JOIN KURSY_WALUT K ON K.ID_DATY = D.ID_DATY "
      "WHERE D.ID_BANKU = ? AND D.DATA_NOT <= ? AND K.SYM_WALUTY = ? ORDER BY D.DATA_NOT DESC LIMIT 1";
  long rawChecksum = 0;
  f.raw = seconds([&] {
            for (int p = 0; p < pages; ++p) {
              sql::Result r;
              std::vector<sql::Param> pp = {symbolOf(p * 7 % (kCurrencies - kPage))};
              db.execute(page, pp, &r);
              for (std::size_t i = 0; i < r.rows.size(); ++i) {
                for (long long bank : {0LL, -1LL}) {
                  sql::Result q;
                  std::vector<sql::Param> qp = {bank, static_cast<long long>(day), r.text(i, 0)};
                  db.execute(latest, qp, &q);
                  rawChecksum += static_cast<long>(q.rows.size());
                }
              }
            }
          }) / pages;
  if (checksum == 0 || rawChecksum == 0) std::printf("  (uwaga: puste wyniki)\n");
  return f;
}

void printPlan(sql::Database& db, const char* backend, std::int32_t day) {
  const std::string symbol = symbolOf(100);
  std::vector<sql::Param> p = {static_cast<long long>(day), symbol, static_cast<long long>(day), symbol, symbol};
  sql::Result r;
  std::string prefix = std::string(backend) == "sqlite" ? "EXPLAIN QUERY PLAN " : "EXPLAIN ";
  if (!ok(db.execute(prefix + sql::ratesInForceSql(), p, &r), "plan")) return;
  std::printf("  plan zapytania o kursy (%s):\n", backend);
  for (std::size_t i = 0; i < r.rows.size(); ++i)
    std::printf("    %s\n", r.text(i, r.columns.size() - 1).c_str());
}

void runBackend(const char* backend, int pages) {
  bench::ScratchDatabase scratch(std::string(backend) != "sqlite", "curbench");
  sql::Status status;
  sql::Database* db = scratch.threadDatabase(&status);
  if (!db || !fillCurrencies(*db)) {
    std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
    return;
  }
  const std::int32_t oneYear = kFirstDay + 365, fiveYears = kFirstDay + 5 * 365;
  std::vector<std::pair<const char*, Figures>> results;
  for (auto [label, until] : {std::pair{"1 rok", oneYear}, std::pair{"5 lat", fiveYears}}) {
    std::int32_t from = results.empty() ? kFirstDay : oneYear;
    if (!addTables(*db, from, until)) return;
    db->executeScript(std::string(backend) == "sqlite" ? "ANALYZE" : "ANALYZE DATY_KURSOW; ANALYZE KURSY_WALUT; ANALYZE WALUTY");
    Figures f = measure(*db, pages, until - 1);
    std::printf("%-10s %-6s strona listy %.3f ms, zapytania bezpośrednie %.3f ms, stosunek %.2f x "
                "(bez wywołania procedury: %.3f ms, %.2f x)\n",
                backend, label, f.list * 1e3, f.raw * 1e3, f.list / f.raw, f.direct * 1e3, f.direct / f.raw);
    results.emplace_back(label, f);
    if (until == fiveYears) printPlan(*db, backend, until - 1);
  }
  std::printf("%-10s wzrost kosztu strony 5 lat / 1 rok: %.2f x\n", backend,
              results.back().second.list / results.front().second.list);
}

}  // namespace

int main(int argc, char** argv) {
  int pages = argc > 1 ? std::atoi(argv[1]) : 300;
  if (pages < 1) pages = 1;
  std::printf("Cele: strona listy walut <= 2 x zapytania bezpośrednie; koszt nie rośnie z liczbą tabel kursów\n");
  runBackend("sqlite", pages);
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql", pages);
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
