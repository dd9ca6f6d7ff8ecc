// Times the removal of a company with about 100,000 rows across its tables: the stored
// routine "call TKW_KartotekaZapisSkasuj('firma',…)" (the lock judged, each table's rows,
// the company's row, one transaction) against the same DELETE statements sent straight to
// the database in one transaction, on SQLite and (when SLOWNIK_TEST_PG_URL is set, as
// scripts/with_postgres.sh does) on PostgreSQL. A second company of the same size stays
// in the tables throughout, so both sides have to pick the rows out. Prints the median
// of a few runs and the ratio; asserts nothing.
//   company_delete_bench [rows] [runs]     default: 100000 3
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "framework/sql/database.h"
#include "framework/sql/routines/company_routines.h"
#include "framework/sql/collation.h"
#include "framework/sql/schema.h"
#include "framework/sql/sqlite_database.h"

using namespace slownik;
using bench::seconds;

namespace {

constexpr long long kKept = 9001;     // stays in the tables
constexpr long long kDeleted = 9002;  // removed and made again for every run
constexpr long long kAdministrator = 6100003;

bool ok(const sql::Status& s, const std::string& what) {
  if (!s) std::printf("  %s: %s\n", what.c_str(), s.message().c_str());
  return s.isOk();
}

// Rows 1..n as a FROM source with the column x.
std::string series(bool postgres, long n) {
  if (postgres) return "generate_series(1, " + std::to_string(n) + ") AS g(x)";
  return "(WITH RECURSIVE s(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM s WHERE x < " + std::to_string(n) +
         ") SELECT x FROM s) g";
}

// The company with its set-up and `rows` rows of its own: half articles in its warehouse,
// a fifth contractors, their contacts, employees with their addresses.
bool makeCompany(sql::Database& db, bool postgres, long long company, long rows) {
  const std::string id = std::to_string(company);
  const std::string base = std::to_string(company * 10'000'000);
  if (!ok(db.execute("INSERT INTO FIRMA (ID_FIRMY, NAZWA, NAZWA_PELNA, VEX, SEMAFOR) VALUES (" + id + ", 'Firma " + id +
                     "', 'Firma ''" + id + "'' sp. z o.o.', 1, 0)"),
          "firma"))
    return false;
  if (!ok(db.run("call TK_InicjacjaSystemu(" + id + ")"), "TK_InicjacjaSystemu")) return false;
  sql::Result warehouse;
  if (!ok(db.execute("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = " + id, &warehouse), "magazyn")) return false;
  const long articles = rows / 2, contractors = rows / 5, contacts = rows / 10, employees = rows / 10,
             addresses = rows - articles - contractors - contacts - employees;
  const std::string statements[] = {
      "INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) SELECT " + base + " + x, " +
          warehouse.scalar() + ", 'IND' || x, 'Artykuł ' || x FROM " + series(postgres, articles),
      "INSERT INTO KONTRAHENT (ID_KONTRAHENTA, ID_FIRMY, NAZWA, WYROZNIK, SEMAFOR, FLAGA_STANU) SELECT " + base +
          " + x, " + id + ", 'Kontrahent ' || x, 'K' || x, 0, 0 FROM " + series(postgres, contractors),
      "INSERT INTO KONTAKT (ID_KONTAKTU, ID_KONTRAHENTA) SELECT " + base + " + x, " + base + " + 1 + (x % " +
          std::to_string(contractors) + ") FROM " + series(postgres, contacts),
      "INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NAZWISKO, IMIE_1, SEMAFOR) SELECT " + base + " + x, " + id +
          ", 'Nowak ' || x, 'Anna', 0 FROM " + series(postgres, employees),
      "INSERT INTO ADRESY_PRACOWNIKA (ID_ADRESY_PRAC, ID_PRACOWNIKA, MIEJSCOWOSC) SELECT " + base + " + x, " + base +
          " + 1 + (x % " + std::to_string(employees) + "), 'Łódź' FROM " + series(postgres, addresses),
  };
  sql::Transaction tx(db);
  for (const auto& s : statements)
    if (!ok(db.execute(s), "wypełnianie")) return false;
  return ok(tx.commit(), "zatwierdzenie");
}

// The raw side: a plain client running the routine's statements with the id written in.
struct Raw {
  virtual ~Raw() = default;
  virtual bool exec(const std::string& sql) = 0;
  bool removeCompany(long long company) {
    const std::string id = std::to_string(company);
    if (!exec("BEGIN")) return false;
    for (const auto& step : sql::companyDeleteSteps()) {
      std::string statement = step.sql;
      statement.replace(statement.find('?'), 1, id);
      if (!exec(statement)) return false;
    }
    return exec("DELETE FROM FIRMA WHERE ID_FIRMY = " + id) && exec("COMMIT");
  }
};

struct RawSqlite : Raw {
  sqlite3* db = nullptr;
  explicit RawSqlite(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_busy_timeout(db, 15000);
    // The schema's indexes and collations rest on these; any client writing it needs them.
    sql::registerSqliteDialectFunctions(db);
    sql::registerSqliteRoutineFunctions(db);
    sql::registerSqliteCollation(db);
  }
  ~RawSqlite() override { sqlite3_close(db); }
  bool exec(const std::string& sql) override {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return true;
    std::printf("  sqlite: %s\n", error ? error : "?");
    sqlite3_free(error);
    return false;
  }
};

struct RawPostgres : Raw {
  PGconn* conn = nullptr;
  RawPostgres(const std::string& url, const std::string& schema) {
    conn = PQconnectdb(url.c_str());
    exec("SET search_path TO \"" + schema + "\"");
  }
  ~RawPostgres() override { PQfinish(conn); }
  bool exec(const std::string& sql) override {
    PGresult* r = PQexec(conn, sql.c_str());
    const bool done = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!done) std::printf("  postgresql: %s", PQerrorMessage(conn));
    PQclear(r);
    return done;
  }
  int serverPid() const { return PQbackendPID(conn); }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void runBackend(const char* backend, long rows, int runs) {
  const bool postgres = std::string(backend) == "postgresql";
  bench::ScratchDatabase scratch(postgres, "company_delete");
  sql::Status status;
  auto db = sql::openDatabase(scratch.url(), &status);
  if (!db || !ok(sql::migrate(*db), "migracja") || !makeCompany(*db, postgres, kKept, rows)) {
    std::printf("%s: nie można przygotować bazy %s\n", backend, status.message().c_str());
    return;
  }
  std::unique_ptr<Raw> raw;
  if (postgres) {
    raw = std::make_unique<RawPostgres>(std::getenv("SLOWNIK_TEST_PG_URL"), scratch.schema());
    sql::Result pid;
    db->execute("SELECT pg_backend_pid()", &pid);
    bench::placeProcesses({std::atoi(pid.scalar().c_str()), static_cast<RawPostgres&>(*raw).serverPid()});
  } else {
    raw = std::make_unique<RawSqlite>(scratch.sqlitePath());
  }
  const std::string call =
      "call TKW_KartotekaZapisSkasuj('firma'," + std::to_string(kDeleted) + "," + std::to_string(kAdministrator) + ")";
  std::vector<double> ours, direct;
  bool fine = true;
  // The sides take turns, so that a busy moment of the machine falls on both alike.
  for (int i = 0; i < runs && fine; ++i) {
    fine = makeCompany(*db, postgres, kDeleted, rows);
    if (fine) ours.push_back(seconds([&] { fine = ok(db->run(call), "TKW_KartotekaZapisSkasuj"); }));
    fine = fine && makeCompany(*db, postgres, kDeleted, rows);
    if (fine) direct.push_back(seconds([&] { fine = raw->removeCompany(kDeleted); }));
  }
  sql::Result left;
  db->execute("SELECT COUNT(*) FROM ARTYKUL", &left);
  if (fine && !ours.empty()) {
    const double a = median(ours), b = median(direct);
    std::printf("%-10s %ld wierszy, %zu kroków: procedura %.1f ms, bezpośrednio %.1f ms, %.2f x (artykuły firmy, "
                "która została: %s)\n",
                backend, rows, sql::companyDeleteSteps().size() + 1, a * 1e3, b * 1e3, a / b, left.scalar().c_str());
  }
  raw.reset();
  bench::freeProcesses();
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  std::printf("Cel: usunięcie firmy procedurą <= 1.5 x te same instrukcje DELETE wysłane bezpośrednio\n");
  runBackend("sqlite", rows, runs);
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql", rows, runs);
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
