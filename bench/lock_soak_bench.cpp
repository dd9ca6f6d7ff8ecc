// The record locks under load: eight programs take, edit, save, release and die at
// random on a few banks, on SQLite and (with SLOWNIK_TEST_PG_URL) PostgreSQL.
// Prints rounds, refusals, takeovers after death and the time taken.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/sql/schema.h"
#include "support/lock_soak.h"

namespace {

namespace fs = std::filesystem;
using namespace slownik;

bool run(const char* label, const std::string& url, int rounds) {
  sql::Status s;
  auto db = sql::openDatabase(url, &s);
  if (!db || !sql::migrate(*db)) {
    std::printf("%s: baza niedostępna: %s\n", label, s.message().c_str());
    return false;
  }
  test::LockSoakOptions o;
  o.url = url;
  o.rounds = rounds;
  test::LockSoakFigures f = test::runLockSoak(o);
  std::printf("%s: %d programów × %d rund = %ld rund w %.1f s (%.0f rund/s)\n", label, o.sessions, o.rounds, f.rounds,
              f.seconds, f.seconds > 0 ? f.rounds / f.seconds : 0.0);
  std::printf("  zajęcia %ld, odmowy %ld, zapisy %ld (odmówione %ld), śmierci %ld, przejęcia po śmierci %ld\n",
              f.takes, f.refusals, f.saves, f.refusedSaves, f.deaths, f.stealsAfterDeath);
  std::printf("  nakładania %ld, utracone zapisy %ld, pozostałe blokady %ld, błędy %ld%s%s\n", f.overlaps,
              f.lostUpdates, f.locksLeft, f.errors, f.firstError.empty() ? "" : ": ", f.firstError.c_str());
  return f.overlaps == 0 && f.lostUpdates == 0 && f.locksLeft == 0 && f.errors == 0;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 2500;
  bool ok = true;
  fs::path file = fs::temp_directory_path() / ("slownik_lock_soak_" + std::to_string(getpid()) + ".db");
  fs::remove(file);
  ok = run("SQLite", "sqlite://" + file.string(), rounds) && ok;
  fs::remove(file);
  if (const char* pg = std::getenv("SLOWNIK_TEST_PG_URL"); pg && *pg) {
    std::string base = pg;
    std::string url = base + (base.find('?') == std::string::npos ? "?" : "&") + "schema=lock_soak_" +
                      std::to_string(getpid());
    ok = run("PostgreSQL", url, rounds) && ok;
    if (auto db = sql::openDatabase(url, nullptr))
      db->execute("DROP SCHEMA IF EXISTS lock_soak_" + std::to_string(getpid()) + " CASCADE");
  }
  return ok ? 0 : 1;
}
