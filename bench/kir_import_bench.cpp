// Times the bank-branch import of a generated ODDZIALY.DBF of 20,000 branches (CP852,
// Polish letters) into an empty BANKI against inserting the same rows straight through
// the database's C API in one transaction with a prepared statement; then the second
// run over the same file, which finds nothing new. The import keeps its report (a line per
// bank added), as the menu's import does. SQLite always, PostgreSQL when
// SLOWNIK_TEST_PG_URL is set (scripts/with_postgres.sh). Prints ratios; asserts nothing.
//   kir_import_bench [branches]     default: 20000
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "dictionaries/banking/kir_branch_file.h"
#include "dictionaries/banking/kir_branch_file_writer.h"
#include "dictionaries/banking/kir_import.h"
#include "framework/sql/collation.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;
using bench::seconds;
namespace fs = std::filesystem;

namespace {

constexpr const char* kInsert =
    "INSERT INTO BANKI (ID_BANKU, NUMER_BANKU, NAZWA, MIEJSCOWOSC, KOD_POCZTOWY, ULICA_LOKAL) VALUES ";

std::vector<banking::KirBranch> generatedBranches(int count) {
  static const char* towns[] = {"Łódź", "Kraków", "Gdańsk", "Wrocław", "Poznań", "Bielsko-Biała", "Zielona Góra"};
  static const char* banks[] = {"Bank Spółdzielczy", "Powszechna Kasa Oszczędności", "Bank Gospodarki Żywnościowej"};
  std::vector<banking::KirBranch> branches;
  branches.reserve(count);
  for (int i = 0; i < count; ++i) {
    const char* town = towns[i % 7];
    branches.push_back({std::to_string(10000000 + i * 7), std::string(banks[i % 3]) + " O/" + std::to_string(i),
                        "ul. Źródlana " + std::to_string(i % 300 + 1), std::to_string(10 + i % 89) + "-" +
                        std::to_string(100 + i % 899), town});
  }
  return branches;
}

double rawSqlite(const std::string& path, const std::vector<banking::KirBranch>& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_busy_timeout(db, 5000);
  sql::registerSqliteCollation(db);  // the bank table's text columns and indexes sort in it
  double t = seconds([&] {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, (std::string(kInsert) + "(?, ?, ?, ?, ?, ?)").c_str(), -1, &stmt, nullptr);
    long long id = 0;
    for (const auto& b : rows) {
      sqlite3_bind_int64(stmt, 1, ++id);
      sqlite3_bind_text(stmt, 2, b.number.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 3, b.name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 4, b.town.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 5, b.postalCode.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 6, b.street.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(stmt);
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  });
  sqlite3_close(db);
  return t;
}

double rawPostgres(const std::string& url, const std::string& schema, const std::vector<banking::KirBranch>& rows) {
  PGconn* conn = PQconnectdb(url.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    std::fprintf(stderr, "libpq: %s", PQerrorMessage(conn));
    PQfinish(conn);
    return 0;
  }
  PQclear(PQexec(conn, ("SET search_path TO \"" + schema + "\"").c_str()));
  bench::placeProcesses({PQbackendPID(conn)});
  double t = seconds([&] {
    PQclear(PQexec(conn, "BEGIN"));
    PQclear(PQprepare(conn, "ins", (std::string(kInsert) + "($1, $2, $3, $4, $5, $6)").c_str(), 6, nullptr));
    long long id = 0;
    for (const auto& b : rows) {
      std::string idText = std::to_string(++id);
      const char* values[] = {idText.c_str(), b.number.c_str(), b.name.c_str(), b.town.c_str(),
                              b.postalCode.c_str(), b.street.c_str()};
      PQclear(PQexecPrepared(conn, "ins", 6, values, nullptr, nullptr, 0));
    }
    PQclear(PQexec(conn, "COMMIT"));
  });
  PQfinish(conn);
  return t;
}

double ourImport(const fs::path& file, long* added) {
  double t = seconds([&] {
    auto opened = banking::KirBranchFile::open(file);
    if (!opened.file) return;
    sql::Database* db = sql::threadDatabase();
    banking::KirImport import(*db, *opened.file, nullptr);
    import.keepReport(1, file.string());  // as the menu runs it: with its report
    if (import.prepare())
      while (import.importBatch()) {
      }
    *added = import.finish().added;
  });
  return t;
}

void runOn(const char* label, const std::string& url, const std::function<double()>& raw, const fs::path& file,
           int count) {
  sql::setDatabaseUrl(url);
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db || !sql::migrate(*db)) {
    std::printf("%s: no database (%s)\n", label, status.message().c_str());
    return;
  }
  if (db->backend() == sql::Backend::Postgres) {
    sql::Result pid;
    db->execute("SELECT pg_backend_pid()", &pid);
    bench::placeProcesses({std::atoi(pid.scalar().c_str())});
  }
  const double tRaw = raw();
  db->execute("DELETE FROM BANKI");
  long added1 = 0, added2 = 0;
  const double t1 = ourImport(file, &added1);
  const double t2 = ourImport(file, &added2);
  std::printf("%s, %d branches: raw insert %.3f s; import %.3f s (%ld added) = %.2fx raw (target <= 3); "
              "second run %.3f s (%ld added) = %.2f of the first (target <= 0.5)\n",
              label, count, tRaw, t1, added1, t1 / tRaw, t2, added2, t2 / t1);
  bench::freeProcesses();
  sql::closeThreadDatabase();
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  const fs::path dir = fs::temp_directory_path() / ("kir_bench_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const auto branches = generatedBranches(count);
  const fs::path file = dir / "ODDZIALY.DBF";
  std::ofstream(file, std::ios::binary) << banking::writeKirBranchFile(branches, banking::CodePage::Cp852);

  const std::string sqlitePath = (dir / "bench.db").string();
  runOn("SQLite", "sqlite://" + sqlitePath, [&] { return rawSqlite(sqlitePath, branches); }, file, count);

  if (const char* pg = std::getenv("SLOWNIK_TEST_PG_URL"); pg && *pg) {
    const std::string schema = "kirbench_" + std::to_string(getpid());
    const std::string base = pg;
    const std::string url = base + (base.find('?') == std::string::npos ? "?" : "&") + "schema=" + schema;
    runOn("PostgreSQL", url, [&] { return rawPostgres(base, schema, branches); }, file, count);
    sql::setDatabaseUrl(url);
    if (sql::Database* db = sql::threadDatabase()) db->execute("DROP SCHEMA \"" + schema + "\" CASCADE");
    sql::closeThreadDatabase();
  } else {
    std::printf("PostgreSQL: skipped (SLOWNIK_TEST_PG_URL not set; run through scripts/with_postgres.sh)\n");
  }
  fs::remove_all(dir);
  return 0;
}
