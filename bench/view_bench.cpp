// Times a list's view against the same keyset queries sent straight to the database,
// at 10,000 and 1,000,000 rows, on SQLite and (when SLOWNIK_TEST_PG_URL is set, as
// scripts/with_postgres.sh does) on PostgreSQL. Prints ratios; asserts nothing.
//   view_bench [rows...]     default: 10000 1000000
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/data/view_manager.h"
#include "framework/sql/catalogue/table_builder.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;

namespace {

constexpr int kPage = 30;
constexpr const char* kColumns = "ID, NAZWA, KOD, MIASTO";

const sql::TableDef& benchTable() {
  static const sql::TableDef def = sql::table("BENCH_ROW", "BR")
                                       .id("ID")
                                       .text("NAZWA", 40)
                                       .notNull()
                                       .text("KOD", 10)
                                       .text("MIASTO", 30)
                                       .key("BR:PK", {"ID"}, sql::TableBuilder::Primary)
                                       .key("BR:NAZWA_ID", {"NAZWA", "ID"});
  return def;
}

long statusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + std::strlen(key) + 1, nullptr, 10);
  return 0;
}

double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median time of one call, in microseconds.
double medianMicros(int repeats, const std::function<void()>& work) {
  std::vector<double> t;
  for (int i = 0; i < repeats; ++i) t.push_back(seconds(work) * 1e6);
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// The raw side: one keyset query, the values copied out as text like any client does.
struct Raw {
  virtual ~Raw() = default;
  //! Rows after (name, id), or the first page when after is null; returns the last key.
  virtual bool page(const std::pair<std::string, long long>* after, std::vector<std::vector<std::string>>& rows) = 0;
  virtual void seek(const std::string& prefix, std::vector<std::vector<std::string>>& rows) = 0;
};

struct RawSqlite : Raw {
  sqlite3* db = nullptr;
  sqlite3_stmt *first = nullptr, *after = nullptr, *seekStmt = nullptr;
  explicit RawSqlite(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::string base = std::string("SELECT ") + kColumns + " FROM BENCH_ROW ";
    sqlite3_prepare_v2(db, (base + "ORDER BY NAZWA, ID LIMIT 30").c_str(), -1, &first, nullptr);
    sqlite3_prepare_v2(db, (base + "WHERE (NAZWA, ID) > (?, ?) ORDER BY NAZWA, ID LIMIT 30").c_str(), -1, &after, nullptr);
    sqlite3_prepare_v2(db, (base + "WHERE NAZWA >= ? ORDER BY NAZWA, ID LIMIT 30").c_str(), -1, &seekStmt, nullptr);
  }
  ~RawSqlite() override {
    for (auto* s : {first, after, seekStmt}) sqlite3_finalize(s);
    sqlite3_close(db);
  }
  static void read(sqlite3_stmt* s, std::vector<std::vector<std::string>>& rows) {
    rows.clear();
    while (sqlite3_step(s) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < 4; ++c) {
        auto t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
        row.emplace_back(t ? t : "");
      }
      rows.push_back(std::move(row));
    }
    sqlite3_reset(s);
  }
  bool page(const std::pair<std::string, long long>* key, std::vector<std::vector<std::string>>& rows) override {
    sqlite3_stmt* s = key ? after : first;
    if (key) {
      sqlite3_bind_text(s, 1, key->first.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(s, 2, key->second);
    }
    read(s, rows);
    return !rows.empty();
  }
  void seek(const std::string& prefix, std::vector<std::vector<std::string>>& rows) override {
    sqlite3_bind_text(seekStmt, 1, prefix.c_str(), -1, SQLITE_TRANSIENT);
    read(seekStmt, rows);
  }
};

struct RawPostgres : Raw {
  PGconn* conn = nullptr;
  RawPostgres(const std::string& url, const std::string& schema) {
    conn = PQconnectdb(url.c_str());
    PQclear(PQexec(conn, ("SET search_path TO \"" + schema + "\"").c_str()));
  }
  ~RawPostgres() override { PQfinish(conn); }
  void run(const std::string& sql, const std::vector<std::string>& params, std::vector<std::vector<std::string>>& rows) {
    std::vector<const char*> values;
    for (const auto& p : params) values.push_back(p.c_str());
    PGresult* r = PQexecParams(conn, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr, 0);
    rows.clear();
    for (int i = 0; i < PQntuples(r); ++i) {
      std::vector<std::string> row;
      for (int c = 0; c < 4; ++c) row.emplace_back(PQgetvalue(r, i, c), static_cast<std::size_t>(PQgetlength(r, i, c)));
      rows.push_back(std::move(row));
    }
    PQclear(r);
  }
  bool page(const std::pair<std::string, long long>* key, std::vector<std::vector<std::string>>& rows) override {
    std::string base = std::string("SELECT ") + kColumns + " FROM BENCH_ROW ";
    if (key)
      run(base + "WHERE (NAZWA, ID) > ($1, $2) ORDER BY NAZWA, ID LIMIT 30", {key->first, std::to_string(key->second)}, rows);
    else
      run(base + "ORDER BY NAZWA, ID LIMIT 30", {}, rows);
    return !rows.empty();
  }
  void seek(const std::string& prefix, std::vector<std::vector<std::string>>& rows) override {
    run(std::string("SELECT ") + kColumns + " FROM BENCH_ROW WHERE NAZWA >= $1 ORDER BY NAZWA, ID LIMIT 30", {prefix}, rows);
  }
};

bool fill(sql::Database& db, long rows) {
  for (const auto& s : sql::createTableStatements(db.dialect(), benchTable()))
    if (!db.execute(s)) return false;
  // Names in a shuffled order, so that the key order is not the insertion order.
  std::string n = std::to_string(rows);
  std::string insert =
      db.backend() == sql::Backend::Sqlite
          ? "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " + n +
                ") INSERT INTO BENCH_ROW (ID, NAZWA, KOD, MIASTO) SELECT x, printf('N%07d', (x * 7919) % " + n +
                "), 'K' || (x % 97), 'Miasto ' || (x % 1000) FROM c"
          : "INSERT INTO BENCH_ROW (ID, NAZWA, KOD, MIASTO) SELECT x, 'N' || lpad(((x * 7919) % " + n +
                ")::text, 7, '0'), 'K' || (x % 97), 'Miasto ' || (x % 1000) FROM generate_series(1::bigint, " + n + ") AS x";
  sql::Transaction tx(db);
  if (sql::Status s = db.execute(insert); !s) {
    std::printf("  wypełnianie: %s\n", s.message().c_str());
    return false;
  }
  tx.commit();
  db.execute(db.backend() == sql::Backend::Sqlite ? "ANALYZE" : "ANALYZE BENCH_ROW");
  return true;
}

struct Figures {
  double firstView, firstRaw, seekView, seekRaw;
};

Figures measure(const char* backend, long rows, Raw& raw, bool fullScan) {
  data::ViewManager view(benchTable());
  view.setOrderKey("BR:NAZWA_ID");
  view.open();
  std::vector<data::ViewRow> page;
  std::vector<std::vector<std::string>> rawRows;
  int repeats = 300;
  Figures f{};
  f.firstView = medianMicros(repeats, [&] { view.firstPage(kPage, page); });
  f.firstRaw = medianMicros(repeats, [&] { raw.page(nullptr, rawRows); });
  // Prefixes of names spread over the table (names are "N" and 7 digits, 0 .. rows-1).
  std::vector<std::string> prefixes;
  for (long k : {1L, 2L, 3L, 4L}) {
    char name[32];
    std::snprintf(name, sizeof name, "N%07ld", rows * k / 5);
    prefixes.emplace_back(name, 6);
  }
  int i = 0;
  f.seekView = medianMicros(repeats, [&] { view.seek(prefixes[i++ % 4], kPage, page); });
  i = 0;
  f.seekRaw = medianMicros(repeats, [&] { raw.seek(prefixes[i++ % 4], rawRows); });
  std::printf("%-10s %8ld rows  first page: view %8.1f us, raw %8.1f us, ratio %.2f | seek: view %8.1f us, raw %8.1f us, ratio %.2f\n",
              backend, rows, f.firstView, f.firstRaw, f.firstView / f.firstRaw, f.seekView, f.seekRaw, f.seekView / f.seekRaw);
  if (!page.empty() && view.errorCode() != 0) std::printf("  błąd widoku: %s\n", view.errorText().c_str());

  if (fullScan) {
    long hwmBefore = statusKb("VmHWM:"), rssBefore = statusKb("VmRSS:");
    long seen = 0;
    double viewTime = seconds([&] {
      view.firstPage(kPage, page);
      while (!page.empty()) {
        seen += static_cast<long>(page.size());
        std::string last = page.back().position;
        view.pageAfter(last, kPage, page);
      }
    });
    long hwmAfter = statusKb("VmHWM:"), rssAfter = statusKb("VmRSS:");
    long rawSeen = 0;
    double rawTime = seconds([&] {
      raw.page(nullptr, rawRows);
      while (!rawRows.empty()) {
        rawSeen += static_cast<long>(rawRows.size());
        std::pair<std::string, long long> key{rawRows.back()[1], std::atoll(rawRows.back()[0].c_str())};
        raw.page(&key, rawRows);
      }
    });
    std::printf("%-10s %8ld rows  all pages: view %.2f s (%ld rows), raw %.2f s (%ld rows), ratio %.2f; "
                "memory growth: peak %+ld kB, resident %+ld kB\n",
                backend, rows, viewTime, seen, rawTime, rawSeen, viewTime / rawTime, hwmAfter - hwmBefore,
                rssAfter - rssBefore);
  }
  return f;
}

void runBackend(const char* backend, const std::vector<long>& sizes) {
  std::vector<Figures> results;
  for (long rows : sizes) {
    std::string url, sqlitePath, schema;
    const char* pg = std::getenv("SLOWNIK_TEST_PG_URL");
    if (std::string(backend) == "sqlite") {
      sqlitePath = (std::filesystem::temp_directory_path() / ("view_bench_" + std::to_string(getpid()) + ".db")).string();
      std::filesystem::remove(sqlitePath);
      url = "sqlite://" + sqlitePath;
    } else {
      schema = "bench_" + std::to_string(getpid()) + "_" + std::to_string(rows);
      url = std::string(pg) + (std::string(pg).find('?') == std::string::npos ? "?" : "&") + "schema=" + schema;
    }
    sql::setDatabaseUrl(url);
    sql::Status status;
    sql::Database* db = sql::threadDatabase(&status);
    if (!db || !fill(*db, rows)) {
      std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
      return;
    }
    std::unique_ptr<Raw> raw;
    if (!sqlitePath.empty())
      raw = std::make_unique<RawSqlite>(sqlitePath);
    else
      raw = std::make_unique<RawPostgres>(pg, schema);
    results.push_back(measure(backend, rows, *raw, rows == sizes.back()));
    raw.reset();
    if (!schema.empty()) db->execute("DROP SCHEMA \"" + schema + "\" CASCADE");
    sql::closeThreadDatabase();
    if (!sqlitePath.empty())
      for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(sqlitePath + suffix);
  }
  if (results.size() >= 2)
    std::printf("%-10s %ld vs %ld rows: first page %.2f x, seek %.2f x\n", backend, sizes.back(), sizes.front(),
                results.back().firstView / results.front().firstView, results.back().seekView / results.front().seekView);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
  if (sizes.empty()) sizes = {10000, 1000000};
  std::printf("Cele: widok <= 1.5 x zapytanie bezpośrednie, 1M <= 1.3 x 10k, przyrost pamięci < 20 MB\n");
  runBackend("sqlite", sizes);
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql", sizes);
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
