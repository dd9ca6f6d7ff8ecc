// Marking every row of the warehouse list ("+") over 10 000 warehouses of one company,
// and then showing the marked ones: the marks go through the marking service as the
// list marks them, the count line is read back as the list reads it, and the first
// page under the "marked" filter through the view. Compared with the same work issued
// straight on the connection: one INSERT … SELECT, one read of the marks and the
// page's keyset statement. SQLite, and PostgreSQL when SLOWNIK_TEST_PG_URL is set
// (scripts/with_postgres.sh).
//   warehouse_marking_bench [rounds]     default: 20
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "framework/data/globals.h"
#include "framework/data/view_manager.h"
#include "framework/services/marking.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;
using bench::seconds;

namespace {

constexpr int kWarehouses = 10000;
constexpr int kPage = 20;
constexpr long long kCompany = 1;
constexpr long long kSession = 1;
constexpr int kUsage = 30;  // the warehouse list's marks
constexpr int kBatch = 500;

bool ok(const sql::Status& s, const char* what) {
  if (!s) std::printf("%s: %s\n", what, s.message().c_str());
  return s.isOk();
}

bool fillWarehouses(sql::Database& db) {
  if (!ok(sql::migrate(db), "migrate")) return false;
  sql::Transaction tx(db);
  for (int start = 0; start < kWarehouses; start += kBatch) {
    std::string sql = "INSERT INTO MAGAZYN (ID_MAGAZYNU, ID_FIRMY, SYMBOL, NAZWA, STAN_MAGAZYNU) VALUES ";
    std::vector<sql::Param> params;
    for (int i = start; i < start + kBatch && i < kWarehouses; ++i) {
      sql += std::string(i == start ? "" : ", ") + "(?, ?, ?, ?, 'Praca')";
      char symbol[16];
      std::snprintf(symbol, sizeof symbol, "M%05d", i);
      params.insert(params.end(), {static_cast<long long>(i + 1), kCompany, std::string(symbol),
                                   "Magazyn nr " + std::to_string(i + 1)});
    }
    if (!ok(db.execute(sql, params, nullptr), "warehouses")) return false;
  }
  return ok(tx.commit(), "commit");
}

bool clearMarks(sql::Database& db) {
  return ok(db.execute("DELETE FROM ZAZNACZONE WHERE UZYCIE = " + std::to_string(kUsage)), "unmark");
}

struct Figures {
  double mark = 0;  // seconds per round
  double rawMark = 0;
  double show = 0;
  double rawShow = 0;
};

Figures measure(sql::Database& db, int rounds) {
  Figures f;
  long listed = 0, rawListed = 0, counted = 0, rawCounted = 0;
  const std::string rowsSql = "select A.ID_MAGAZYNU from MAGAZYN A where A.ID_FIRMY=" + std::to_string(kCompany);
  const std::string marked = "a.id_magazynu in (select id from zaznaczone where uzycie=" + std::to_string(kUsage) +
                             " and id_sesji=" + std::to_string(kSession) + ")";
  data::ViewManager view(*sql::Catalogue::instance().find("MAGAZYN"));
  view.addRange("MAG:ID_FIRMY", kCompany);
  view.setOrderKey("MAG:MAGAZYN_SYMBOL");
  view.open();
  std::vector<data::ViewRow> rows;

  const std::string rawMark =
      "INSERT INTO ZAZNACZONE (ID, UZYCIE, ID_SESJI) SELECT A.ID_MAGAZYNU, ?, ? FROM MAGAZYN A WHERE A.ID_FIRMY = ? "
      "ON CONFLICT DO NOTHING";
  const std::string rawCount = "SELECT ID FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ?";
  const std::string rawPage =
      "SELECT * FROM MAGAZYN A WHERE A.ID_FIRMY = ? AND A.ID_MAGAZYNU IN "
      "(SELECT ID FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ?) ORDER BY A.ID_FIRMY, A.SYMBOL, A.ID_MAGAZYNU LIMIT 20";

  for (int r = 0; r < rounds; ++r) {
    // The list: "+", then the count line as the list reads the marks back.
    if (!clearMarks(db)) break;
    f.mark += seconds([&] {
      svc::ZAZNACZALLSQL(kUsage, rowsSql);
      svc::EXECSQL("select id from zaznaczone where uzycie=" + std::to_string(kUsage) + " and id_sesji=" +
                   std::to_string(kSession));
      long n = 0;
      while (svc::VAX().next()) ++n;
      svc::CLOSESQL();
      counted += n;
      (void)svc::DISPLAYZAZNACZONE(n, "magazynów");
    });
    // "Pokaż zaznaczone": the filter, and the list's first page under it.
    f.show += seconds([&] {
      view.setSqlFilter("+" + marked);
      view.firstPage(kPage, rows);
      listed += static_cast<long>(rows.size());
    });
    view.setSqlFilter("");

    if (!clearMarks(db)) break;
    f.rawMark += seconds([&] {
      std::vector<sql::Param> params = {static_cast<long long>(kUsage), kSession, kCompany};
      db.execute(rawMark, params, nullptr);
      sql::Result ids;
      std::vector<sql::Param> who = {static_cast<long long>(kUsage), kSession};
      db.execute(rawCount, who, &ids);
      rawCounted += static_cast<long>(ids.size());
    });
    f.rawShow += seconds([&] {
      sql::Result page;
      std::vector<sql::Param> params = {kCompany, static_cast<long long>(kUsage), kSession};
      db.execute(rawPage, params, &page);
      rawListed += static_cast<long>(page.size());
    });
  }
  view.close();
  clearMarks(db);
  if (counted != rawCounted || listed != rawListed)
    std::printf("  (uwaga: różne liczby wierszy: %ld/%ld zaznaczonych, %ld/%ld na stronie)\n", counted, rawCounted,
                listed, rawListed);
  f.mark /= rounds;
  f.rawMark /= rounds;
  f.show /= rounds;
  f.rawShow /= rounds;
  return f;
}

void runBackend(const char* backend, int rounds) {
  bench::ScratchDatabase scratch(std::string(backend) != "sqlite", "zazbench");
  sql::Status status;
  sql::Database* db = scratch.threadDatabase(&status);
  if (!db || !fillWarehouses(*db)) {
    std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
    return;
  }
  db->executeScript(std::string(backend) == "sqlite" ? "ANALYZE" : "ANALYZE MAGAZYN");
  const Figures f = measure(*db, rounds);
  std::printf("%-10s \"+\" (wszystkie %d): lista %.2f ms, zapytania bezpośrednie %.2f ms, stosunek %.2f x\n", backend,
              kWarehouses, f.mark * 1e3, f.rawMark * 1e3, f.mark / f.rawMark);
  std::printf("%-10s pokaż zaznaczone:     lista %.2f ms, zapytanie bezpośrednie %.2f ms, stosunek %.2f x\n", backend,
              f.show * 1e3, f.rawShow * 1e3, f.show / f.rawShow);
  const double ours = f.mark + f.show, raw = f.rawMark + f.rawShow;
  std::printf("%-10s razem:                lista %.2f ms, zapytania bezpośrednie %.2f ms, stosunek %.2f x\n", backend,
              ours * 1e3, raw * 1e3, ours / raw);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  if (rounds < 1) rounds = 1;
  data::glo().ID_UZYTKOWNIKA = static_cast<double>(kSession);
  std::printf("Cel: zaznaczenie wszystkich %d magazynów i pokazanie zaznaczonych <= 2 x te same zapytania bezpośrednie\n",
              kWarehouses);
  runBackend("sqlite", rounds);
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql", rounds);
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
