// Times a list's view against the same keyset queries sent straight to the database,
// at 10,000 and 1,000,000 rows, on SQLite and (when SLOWNIK_TEST_PG_URL is set, as
// scripts/with_postgres.sh does) on PostgreSQL. Prints ratios; asserts nothing.
// Text sorts in the Polish collation on both sides; a twin table whose text compares by
// bytes shows what the collation itself costs the database.
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
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "framework/data/view_manager.h"
#include "framework/sql/catalogue/table_builder.h"
#include "framework/sql/collation.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;
using bench::seconds;

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
                                       .key("BR:NAZWA_ID", {"NAZWA", "ID"})
                                       .key("BR:MIASTO_ID", {"MIASTO", "ID"}, sql::TableBuilder::NoCase);
  return def;
}

long statusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + std::strlen(key) + 1, nullptr, 10);
  return 0;
}

// Median times of one call of each, in microseconds. The calls alternate, so that a
// busy moment of the machine falls on both sides alike.
std::pair<double, double> medianMicros(int repeats, const std::function<void()>& view, const std::function<void()>& raw) {
  std::vector<double> a, b;
  for (int i = 0; i < repeats; ++i) {
    a.push_back(seconds(view) * 1e6);
    b.push_back(seconds(raw) * 1e6);
  }
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return {a[a.size() / 2], b[b.size() / 2]};
}

// The raw side: the same statements as the view's (same rows, same columns, same order),
// each prepared once as a careful client would, the values copied out as text.
struct Raw {
  virtual ~Raw() = default;
  //! Statements are written with '?'; PostgreSQL gets them numbered.
  virtual void prepare(const std::string& name, const std::string& sql) = 0;
  virtual void run(const std::string& name, const std::vector<std::string>& params, std::vector<std::vector<std::string>>& rows) = 0;
};

struct RawSqlite : Raw {
  sqlite3* db = nullptr;
  std::map<std::string, sqlite3_stmt*> statements;
  explicit RawSqlite(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sql::registerSqliteCollation(db);  // the table's columns sort in it
  }
  ~RawSqlite() override {
    for (auto& [name, s] : statements) sqlite3_finalize(s);
    sqlite3_close(db);
  }
  void prepare(const std::string& name, const std::string& sql) override {
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statements[name], nullptr);
  }
  void run(const std::string& name, const std::vector<std::string>& params, std::vector<std::vector<std::string>>& rows) override {
    sqlite3_stmt* s = statements[name];
    for (std::size_t i = 0; i < params.size(); ++i)
      sqlite3_bind_text(s, static_cast<int>(i + 1), params[i].c_str(), -1, SQLITE_TRANSIENT);
    rows.clear();
    int columns = sqlite3_column_count(s);
    while (sqlite3_step(s) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < columns; ++c) {
        auto t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
        row.emplace_back(t ? t : "");
      }
      rows.push_back(std::move(row));
    }
    sqlite3_reset(s);
  }
};

struct RawPostgres : Raw {
  PGconn* conn = nullptr;
  RawPostgres(const std::string& url, const std::string& schema) {
    conn = PQconnectdb(url.c_str());
    PQclear(PQexec(conn, ("SET search_path TO \"" + schema + "\"").c_str()));
  }
  ~RawPostgres() override { PQfinish(conn); }
  int serverPid() const { return PQbackendPID(conn); }
  void prepare(const std::string& name, const std::string& sql) override {
    std::string text;
    int n = 0;
    for (char c : sql) {
      if (c != '?') {
        text += c;
        continue;
      }
      text += '$';
      text += std::to_string(++n);
    }
    PQclear(PQprepare(conn, name.c_str(), text.c_str(), 0, nullptr));
  }
  void run(const std::string& name, const std::vector<std::string>& params, std::vector<std::vector<std::string>>& rows) override {
    std::vector<const char*> values;
    for (const auto& p : params) values.push_back(p.c_str());
    PGresult* r = PQexecPrepared(conn, name.c_str(), static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
    rows.clear();
    for (int i = 0; i < PQntuples(r); ++i) {
      std::vector<std::string> row;
      for (int c = 0; c < PQnfields(r); ++c) row.emplace_back(PQgetvalue(r, i, c), static_cast<std::size_t>(PQgetlength(r, i, c)));
      rows.push_back(std::move(row));
    }
    PQclear(r);
  }
};

// The two orders measured: a key over a NOT NULL name, and the common case of a
// dictionary, a case-insensitive key over a column that may hold NULL. The bounds are
// the view's own: a locator's text from itself (in small letters where case is kept)
// up to itself followed by the highest character.
struct Order {
  const char* label;
  const char* key;
  const char* column;
  bool folded;  // an upper-cased order
};
const Order kOrders[] = {{"nazwa", "BR:NAZWA_ID", "NAZWA", false}, {"miasto", "BR:MIASTO_ID", "MIASTO", true}};

// Statement names: "<prefix><label>_<kind>"; prefix "bin_" for the table compared by bytes.
void prepareRaw(Raw& raw, const std::string& table, bool collated, const std::string& prefix) {
  const std::string collate = collated ? sql::collateClause() : "";
  for (const Order& o : kOrders) {
    std::string expr = o.folded ? "UPPER(" + std::string(o.column) + ")" + collate : o.column;
    std::string low = o.folded ? "UPPER(?)" : (collated ? "LOWER(?)" : "?");
    std::string high = o.folded ? "UPPER(?)" : "?";
    std::string name = prefix + o.label;
    std::string base = std::string("SELECT ") + kColumns + " FROM " + table + " ";
    std::string order = " ORDER BY " + expr + ", ID LIMIT 30";
    raw.prepare(name + "_first", base + order);
    raw.prepare(name + "_seek", base + "WHERE " + expr + " >= " + low + order);
    raw.prepare(name + "_prefix", base + "WHERE " + expr + " >= " + low + " AND " + expr + " < " + high + order);
    // What a filter locator used to send, for comparison: no index serves it.
    raw.prepare(name + "_like", base + "WHERE UPPER(" + o.column + ") LIKE UPPER(?) ESCAPE '!'" + order);
  }
  raw.prepare(prefix + "nazwa_after", std::string("SELECT ") + kColumns + " FROM " + table +
                                          " WHERE (NAZWA, ID) > (?, ?) ORDER BY NAZWA, ID LIMIT 30");
}

// The highest character in each order: U+FFFF in the collation, U+10FFFF by bytes.
std::string upperBound(const std::string& text, bool collated) {
  return collated ? sql::prefixUpperBound(text) : text + "\xF4\x8F\xBF\xBF";
}

std::vector<std::string> withoutCollation(std::vector<std::string> statements, const std::string& from, const std::string& to) {
  std::vector<std::string> out;
  const std::string clause = sql::collateClause();
  for (auto& s : statements) {
    if (s.rfind("CREATE COLLATION", 0) == 0) continue;
    for (std::size_t at; (at = s.find(clause)) != std::string::npos;) s.erase(at, clause.size());
    for (std::size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, from.size(), to);
    out.push_back(std::move(s));
  }
  return out;
}

// Seconds taken to fill the table (and its indexes) of the view, and its twin by bytes.
struct FillTimes {
  double collated = 0, binary = 0;
};

bool fill(sql::Database& db, long rows, FillTimes* times) {
  std::vector<std::string> ddl = sql::createTableStatements(db.dialect(), benchTable());
  std::vector<std::string> binaryDdl = withoutCollation(ddl, "BENCH_ROW", "BENCH_BIN");
  for (const auto& s : ddl)
    if (!db.execute(s)) return false;
  for (const auto& s : binaryDdl)
    if (!db.execute(s)) return false;
  // Names in a shuffled order, so that the key order is not the insertion order; every
  // 50th town left empty (NULL), as dictionaries filled by hand have them.
  std::string n = std::to_string(rows);
  for (const std::string table : {"BENCH_ROW", "BENCH_BIN"}) {
    std::string insert =
        db.backend() == sql::Backend::Sqlite
            ? "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " + n + ") INSERT INTO " + table +
                  " (ID, NAZWA, KOD, MIASTO) SELECT x, printf('N%07d', (x * 7919) % " + n +
                  "), 'K' || (x % 97), CASE WHEN x % 50 = 0 THEN NULL ELSE 'Miasto ' || (x % 1000) END FROM c"
            : "INSERT INTO " + table + " (ID, NAZWA, KOD, MIASTO) SELECT x, 'N' || lpad(((x * 7919) % " + n +
                  ")::text, 7, '0'), 'K' || (x % 97), CASE WHEN x % 50 = 0 THEN NULL ELSE 'Miasto ' || (x % 1000) END "
                  "FROM generate_series(1::bigint, " + n + ") AS x";
    bool ok = true;
    double took = seconds([&] {
      sql::Transaction tx(db);
      if (sql::Status s = db.execute(insert); !s) {
        std::printf("  wypełnianie: %s\n", s.message().c_str());
        ok = false;
        return;
      }
      tx.commit();
    });
    if (!ok) return false;
    (table == "BENCH_ROW" ? times->collated : times->binary) = took;
  }
  db.execute(db.backend() == sql::Backend::Sqlite ? "ANALYZE" : "ANALYZE BENCH_ROW");
  if (db.backend() == sql::Backend::Postgres) db.execute("ANALYZE BENCH_BIN");
  return true;
}

// Typed texts spread over the order: names are "N" and 7 digits (0 .. rows-1), towns
// "Miasto " and 0 .. 999.
std::vector<std::string> typedPrefixes(const std::string& label, long rows) {
  std::vector<std::string> prefixes;
  for (long k : {1L, 2L, 3L, 4L}) {
    char text[32];
    if (label == "nazwa") {
      std::snprintf(text, sizeof text, "N%07ld", rows * k / 5);
      text[6] = '\0';
    } else {
      std::snprintf(text, sizeof text, "miasto %ld", k * 2);
    }
    prefixes.emplace_back(text);
  }
  return prefixes;
}

struct Figures {
  double firstView, firstRaw, seekView, seekRaw, locatorView, locatorRaw, likeRaw;
};

Figures measure(const char* backend, long rows, Raw& raw, const Order& o) {
  data::ViewManager view(benchTable());
  view.setOrderKey(o.key);
  view.open();
  std::vector<data::ViewRow> page;
  std::vector<std::vector<std::string>> rawRows;
  int repeats = 300;
  std::string label = o.label;
  Figures f{};
  std::tie(f.firstView, f.firstRaw) = medianMicros(
      repeats, [&] { view.firstPage(kPage, page); }, [&] { raw.run(label + "_first", {}, rawRows); });
  const std::vector<std::string> prefixes = typedPrefixes(label, rows);
  int i = 0, j = 0;
  std::tie(f.seekView, f.seekRaw) = medianMicros(
      repeats, [&] { view.seek(prefixes[i++ % 4], kPage, page); },
      [&] { raw.run(label + "_seek", {prefixes[j++ % 4]}, rawRows); });
  std::printf("%-10s %-6s %8ld rows  first page: view %8.1f us, raw %8.1f us, ratio %.2f | seek: view %8.1f us, raw %8.1f us, ratio %.2f\n",
              backend, o.label, rows, f.firstView, f.firstRaw, f.firstView / f.firstRaw, f.seekView, f.seekRaw,
              f.seekView / f.seekRaw);
  // The filter locator: the rows that start with the typed text, first page.
  i = 0;
  j = 0;
  std::tie(f.locatorView, f.locatorRaw) = medianMicros(
      repeats,
      [&] {
        view.setLocatorFilter(label == "nazwa" ? "BR:NAZWA" : "BR:MIASTO", prefixes[i++ % 4], false);
        view.firstPage(kPage, page);
      },
      [&] {
        const std::string& p = prefixes[j++ % 4];
        raw.run(label + "_prefix", {p, upperBound(p, true)}, rawRows);
      });
  std::size_t locatorRows = page.size();
  int k = 0;
  f.likeRaw = medianMicros(
                  5, [] {}, [&] { raw.run(label + "_like", {prefixes[k++ % 4] + "%"}, rawRows); })
                  .second;
  std::printf("%-10s %-6s %8ld rows  locator: view %8.1f us, raw range %8.1f us, ratio %.2f%s | "
              "UPPER() LIKE, as before: %8.1f us\n",
              backend, o.label, rows, f.locatorView, f.locatorRaw, f.locatorView / f.locatorRaw,
              view.isLocatorRange() ? "" : " (not a range!)", f.likeRaw);
  if (locatorRows != rawRows.size() || locatorRows == 0)
    std::printf("  lokator: widok %zu wierszy, bezpośrednio %zu\n", locatorRows, rawRows.size());
  view.setLocatorFilter(label == "nazwa" ? "BR:NAZWA" : "BR:MIASTO", "", false);
  if (view.errorCode() != 0) std::printf("  błąd widoku: %s\n", view.errorText().c_str());
  if (page.size() != rawRows.size()) std::printf("  różna liczba wierszy: widok %zu, bezpośrednio %zu\n", page.size(), rawRows.size());
  return f;
}

// Every page of the NOT NULL order, forwards, the view against the raw keyset query.
void measureAllPages(const char* backend, long rows, Raw& raw) {
  data::ViewManager view(benchTable());
  view.setOrderKey("BR:NAZWA_ID");
  view.open();
  std::vector<data::ViewRow> page;
  std::vector<std::vector<std::string>> rawRows;
  {
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
      raw.run("nazwa_first", {}, rawRows);
      while (!rawRows.empty()) {
        rawSeen += static_cast<long>(rawRows.size());
        raw.run("nazwa_after", {rawRows.back()[1], rawRows.back()[0]}, rawRows);
      }
    });
    std::printf("%-10s %8ld rows  all pages: view %.2f s (%ld rows), raw %.2f s (%ld rows), ratio %.2f; "
                "memory growth: peak %+ld kB, resident %+ld kB\n",
                backend, rows, viewTime, seen, rawTime, rawSeen, viewTime / rawTime, hwmAfter - hwmBefore,
                rssAfter - rssBefore);
  }
}

// What the collation costs the database itself: the same raw statements on the table
// whose text sorts in it and on the twin compared by bytes.
void measureCollationCost(const char* backend, long rows, Raw& raw, const FillTimes& fill) {
  std::vector<std::vector<std::string>> rawRows;
  std::printf("%-10s %8ld rows  koszt porządku polskiego (tabela z kolacją / tabela bajtowa): wypełnienie z indeksami "
              "%.2f s / %.2f s = %.2f x\n",
              backend, rows, fill.collated, fill.binary, fill.collated / fill.binary);
  for (const Order& o : kOrders) {
    const std::string label = o.label;
    const std::vector<std::string> prefixes = typedPrefixes(label, rows);
    int i = 0, j = 0;
    auto [firstPl, firstBin] = medianMicros(
        200, [&] { raw.run(label + "_first", {}, rawRows); }, [&] { raw.run("bin_" + label + "_first", {}, rawRows); });
    auto [seekPl, seekBin] = medianMicros(
        200, [&] { raw.run(label + "_seek", {prefixes[i++ % 4]}, rawRows); },
        [&] { raw.run("bin_" + label + "_seek", {prefixes[j++ % 4]}, rawRows); });
    i = j = 0;
    auto [prefixPl, prefixBin] = medianMicros(
        200,
        [&] {
          const std::string& p = prefixes[i++ % 4];
          raw.run(label + "_prefix", {p, upperBound(p, true)}, rawRows);
        },
        [&] {
          const std::string& p = prefixes[j++ % 4];
          raw.run("bin_" + label + "_prefix", {p, upperBound(p, false)}, rawRows);
        });
    std::printf("%-10s %-6s %8ld rows  koszt kolacji: first page %.1f / %.1f us = %.2f x, seek %.1f / %.1f us = %.2f x, "
                "locator %.1f / %.1f us = %.2f x\n",
                backend, o.label, rows, firstPl, firstBin, firstPl / firstBin, seekPl, seekBin, seekPl / seekBin, prefixPl,
                prefixBin, prefixPl / prefixBin);
  }
  auto walk = [&](const std::string& prefix) {
    return seconds([&] {
      raw.run(prefix + "nazwa_first", {}, rawRows);
      while (!rawRows.empty()) raw.run(prefix + "nazwa_after", {rawRows.back()[1], rawRows.back()[0]}, rawRows);
    });
  };
  double pl = walk(""), bin = walk("bin_");
  std::printf("%-10s %8ld rows  koszt kolacji: all pages %.2f s / %.2f s = %.2f x\n", backend, rows, pl, bin, pl / bin);
}

void runBackend(const char* backend, const std::vector<long>& sizes) {
  std::vector<std::vector<Figures>> results;
  for (long rows : sizes) {
    const char* pg = std::getenv("SLOWNIK_TEST_PG_URL");
    bench::ScratchDatabase scratch(std::string(backend) != "sqlite", "bench_" + std::to_string(rows));
    sql::Status status;
    sql::Database* db = scratch.threadDatabase(&status);
    FillTimes fillTimes;
    if (!db || !fill(*db, rows, &fillTimes)) {
      std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
      return;
    }
    std::unique_ptr<Raw> raw;
    if (!scratch.isPostgres())
      raw = std::make_unique<RawSqlite>(scratch.sqlitePath());
    else
      raw = std::make_unique<RawPostgres>(pg, scratch.schema());
    prepareRaw(*raw, "BENCH_ROW", true, "");
    prepareRaw(*raw, "BENCH_BIN", false, "bin_");
    if (scratch.isPostgres()) {
      sql::Result pid;
      db->execute("SELECT pg_backend_pid()", &pid);
      bench::placeProcesses({std::atoi(pid.scalar().c_str()), static_cast<RawPostgres&>(*raw).serverPid()});
    }
    results.emplace_back();
    for (const Order& o : kOrders) results.back().push_back(measure(backend, rows, *raw, o));
    if (rows == sizes.back()) measureAllPages(backend, rows, *raw);
    measureCollationCost(backend, rows, *raw, fillTimes);
    raw.reset();
    bench::freeProcesses();
  }
  // The locator on the largest table against the raw range query, and how it grows.
  for (std::size_t o = 0; o < std::size(kOrders); ++o) {
    const Figures& last = results.back()[o];
    std::printf("%-10s %-6s lokator na %ld wierszach: widok %.1f us, zapytanie zakresowe %.1f us, %.2f x (cel <= 1.5)",
                backend, kOrders[o].label, sizes.back(), last.locatorView, last.locatorRaw, last.locatorView / last.locatorRaw);
    if (results.size() > 1)
      std::printf(", wobec %ld wierszy %.2f x", sizes.front(), last.locatorView / results.front()[o].locatorView);
    std::printf("\n");
  }
  if (results.size() < 2) return;
  for (std::size_t o = 0; o < std::size(kOrders); ++o)
    std::printf("%-10s %-6s %ld vs %ld rows: first page %.2f x, seek %.2f x, locator %.2f x\n", backend, kOrders[o].label,
                sizes.back(), sizes.front(), results.back()[o].firstView / results.front()[o].firstView,
                results.back()[o].seekView / results.front()[o].seekView,
                results.back()[o].locatorView / results.front()[o].locatorView);
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
