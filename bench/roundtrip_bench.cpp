// Round trips per user action on PostgreSQL, and what they cost on a slow link. The
// program talks to the server through a local proxy (bench/latency_proxy.h) that counts
// request/answer turns on the wire and can hold each turn for a given delay. A round of
// actions is played through the headless front-end as an ordinary user: open the VAT
// list, open the bank list over 20,000 banks, ten pages down, a three-digit number
// locator, F2 on a bank, the save, the currency list. Printed: round trips per action
// against the budget, and the time per action at 0, 10 and 40 ms of round-trip delay.
// Needs SLOWNIK_TEST_PG_URL (scripts/with_postgres.sh).
//   roundtrip_bench [-v]     -v: the statements of every round trip as well
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "bench/latency_proxy.h"
#include "dictionaries/banking/bank_list.h"
#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/vat_rates.h"
#include "framework/data/globals.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window_resource.h"
#include "framework/sql/schema.h"
#include "framework/sql/seed.h"
#include "framework/sql/thread_database.h"

using namespace slownik;

namespace {

constexpr int kBanks = 20000;

struct Action {
  const char* name;
  int budget;
  long long roundTrips = 0;
  std::map<int, double> millis;  // by delay
  std::vector<std::string> turns;
};

bool ok(const sql::Status& s, const char* what) {
  if (!s) std::printf("%s: %s\n", what, s.message().c_str());
  return s.isOk();
}

bool addBanks(sql::Database& db) {
  sql::Transaction tx(db);
  if (!ok(db.execute("INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU, MIEJSCOWOSC, ULICA_LOKAL, KOD_POCZTOWY, "
                     "SEMAFOR, FLAGA_STANU) SELECT 1000 + g, 'Bank ' || g, '1' || LPAD(CAST(g AS TEXT), 7, '0'), "
                     "'Miasto ' || (g % 300), 'ul. Polna ' || g, '00-' || LPAD(CAST(g % 1000 AS TEXT), 3, '0'), 0, 0 "
                     "FROM generate_series(1, " +
                         std::to_string(kBanks) + ") g"),
          "banks"))
    return false;
  // The ordinary user may look at the VAT rates and edit banks.
  for (const char* right : {"StawkiVAT", "EBanki"}) {
    std::vector<sql::Param> p = {static_cast<long long>(sql::demo::kUserGroupId),
                                 static_cast<long long>(sql::demo::kCompanyId), std::string(right)};
    if (!ok(db.execute("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (?, ?, ?, 0, 1)", p,
                       nullptr),
            "rights"))
      return false;
  }
  if (!ok(tx.commit(), "commit")) return false;
  return ok(db.executeScript("ANALYZE"), "analyze");
}

class Round {
 public:
  Round(rt::HeadlessFrontEnd& fe, bench::LatencyProxy& proxy) : fe_(fe), proxy_(proxy) {}

  // Runs one action and books its round trips and time.
  bool step(Action& action, int delay, const std::function<bool()>& body) {
    proxy_.takeTurns();
    long long before = proxy_.roundTrips();
    auto start = std::chrono::steady_clock::now();
    bool done = body();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    action.roundTrips = proxy_.roundTrips() - before;
    action.turns = proxy_.takeTurns();
    action.millis[delay] = ms;
    if (!done) std::printf("  akcja \"%s\" nie powiodła się\n", action.name);
    return done;
  }

  std::shared_ptr<rt::Window> open(void (*procedure)(), const char* title) {
    threads_.push_back(rt::startProcedure([procedure] { procedure(); }));
    auto w = fe_.waitForWindow(title);
    if (w) fe_.settle(w);
    return w;
  }
  bool close(const std::shared_ptr<rt::Window>& w) { return w && fe_.close(w) && fe_.waitForClose(w); }
  void join() {
    for (auto& t : threads_) t.join();
    threads_.clear();
  }

 private:
  rt::HeadlessFrontEnd& fe_;
  bench::LatencyProxy& proxy_;
  std::vector<rt::ProcedureThread> threads_;
};

void vatList() { VAT_BRW(); }
void bankList() { BANKI_BRW(); }
void currencyList() { WALUTY_BRW(); }

}  // namespace

int main(int argc, char** argv) {
  const bool verbose = argc > 1 && std::string(argv[1]) == "-v";
  const char* pg = std::getenv("SLOWNIK_TEST_PG_URL");
  if (!pg) {
    std::printf("roundtrip_bench: brak SLOWNIK_TEST_PG_URL (uruchom przez scripts/with_postgres.sh)\n");
    return 1;
  }
  std::smatch m;
  std::string base = pg;
  if (!std::regex_match(base, m, std::regex(R"(postgres(?:ql)?://([^@/]*@)?([^:/]+):(\d+)/([^?]+).*)"))) {
    std::printf("roundtrip_bench: nie rozumiem adresu %s\n", pg);
    return 1;
  }
  const std::string user = m[1], host = m[2], dbName = m[4];
  const int port = std::stoi(m[3]);
  const std::string schema = "roundtrip_" + std::to_string(getpid());

  bench::LatencyProxy proxy(host, port);
  const std::string direct = base + (base.find('?') == std::string::npos ? "?" : "&") + "schema=" + schema;
  const std::string linked =
      "postgresql://" + user + "127.0.0.1:" + std::to_string(proxy.port()) + "/" + dbName + "?schema=" + schema;
  // The program's start as the host makes it, over the link: on an empty database (the
  // schema and the demo data), then on the database it left.
  long long setUp = 0, start = 0;
  for (long long* count : {&setUp, &start}) {
    sql::setDatabaseUrl(linked);
    long long before = proxy.roundTrips();
    sql::Status status;
    sql::Database* db = sql::threadDatabase(&status);
    if (!db || !ok(sql::seedDemo(*db), "seed")) {
      std::printf("nie można przygotować bazy: %s\n", status.message().c_str());
      return 1;
    }
    *count = proxy.roundTrips() - before;
    sql::closeThreadDatabase();
    if (verbose && count == &start)
      for (const auto& t : proxy.takeTurns()) std::printf("  start: %s\n", t.substr(0, 160).c_str());
    proxy.takeTurns();
  }
  // The banks go in straight, not through the link.
  sql::setDatabaseUrl(direct);
  {
    sql::Status status;
    sql::Database* db = sql::threadDatabase(&status);
    if (!db || !addBanks(*db)) {
      std::printf("nie można przygotować bazy: %s\n", status.message().c_str());
      return 1;
    }
    sql::closeThreadDatabase();
  }
  sql::setDatabaseUrl(linked);
  rt::setResourceRoot(std::string(SLOWNIK_SOURCE_DIR) + "/resources");
  auto& fe = rt::HeadlessFrontEnd::install();
  fe.reset();
  data::glo().ID_FIRMY = static_cast<double>(sql::demo::kCompanyId);
  data::glo().ID_UZYTKOWNIKA = static_cast<double>(sql::demo::kUserId);
  data::glo().TOOLTIPTYPE = 0;
  const std::string ini = "/tmp/roundtrip_bench_" + std::to_string(getpid()) + ".ini";
  data::glo().PATH_INI.set(ini);

  std::vector<Action> actions = {
      {"Otwarcie listy stawek VAT", 1},      {"Zamknięcie listy stawek VAT", 0},
      {"Otwarcie listy banków (20 000)", 1}, {"Strona w dół ×10", 10},
      {"Lokator numeru \"199\"", 1},         {"F2 na banku (blokada, odczyt, formularz)", 2},
      {"F10 (zapis, zwolnienie, odświeżenie)", 2}, {"Zamknięcie listy banków", 0},
      {"Otwarcie listy walut", 1},           {"Zamknięcie listy walut", 0},
  };
  const std::vector<int> delays = {0, 10, 40};
  // A first round warms what a running program has warm (its pool, its caches); the
  // measured rounds follow it.
  for (int pass = -1; pass < static_cast<int>(delays.size()); ++pass) {
    int delay = pass < 0 ? 0 : delays[static_cast<std::size_t>(pass)];
    proxy.setDelay(std::chrono::milliseconds(delay));
    Round round(fe, proxy);
    proxy.takeTurns();
    std::shared_ptr<rt::Window> w, f;
    auto& a = actions;
    round.step(a[0], delay, [&] { return (w = round.open(vatList, "Stawki VAT")) != nullptr; });
    round.step(a[1], delay, [&] { return round.close(w); });
    round.step(a[2], delay, [&] { return (w = round.open(bankList, "Lista banków")) != nullptr; });
    if (!w) break;
    // The list takes the keys once it has the focus.
    fe.clickRow(w, "?LIST", 1);
    fe.settle(w);
    round.step(a[3], delay, [&] {
      for (int i = 0; i < 10; ++i)
        if (!fe.press(w, rt::key::PgDn)) return false;
      return fe.settle(w);
    });
    round.step(a[4], delay, [&] { return fe.type(w, "?LOKATOR", "199") && fe.settle(w); });
    fe.clickRow(w, "?LIST", 1);
    fe.settle(w);
    round.step(a[5], delay, [&] { return fe.press(w, rt::key::F2) && (f = fe.waitForWindow("Edycja banku")) && fe.settle(f); });
    if (!f) break;
    round.step(a[6], delay, [&] {
      return fe.type(f, "?BAN:TEL", "22 " + std::to_string(100 + pass)) && fe.click(f, "?OK") && fe.waitForClose(f) &&
             fe.settle(w);
    });
    round.step(a[7], delay, [&] { return round.close(w); });
    round.step(a[8], delay, [&] { return (w = round.open(currencyList, "Waluty")) != nullptr; });
    round.step(a[9], delay, [&] { return round.close(w); });
    round.join();
    // The warm-up pass shows the statements' text where later passes show only the
    // names they were prepared under.
    if (verbose && pass < 0) {
      std::printf("Rozgrzewka:\n");
      for (const auto& x : actions) {
        std::printf("  %s\n", x.name);
        for (const auto& t : x.turns) std::printf("      %s\n", t.c_str());
      }
    }
  }
  for (const auto& p : fe.takeProblems()) std::printf("  problem: %s\n", p.c_str());

  std::printf("PostgreSQL, zwykły użytkownik, prawa sprawdzane; połączeń przez łącze: %lld\n", proxy.connections());
  std::printf("Założenie pustej bazy (schemat i dane demonstracyjne): %lld RT; start na istniejącej bazie "
              "(połączenie i sprawdzenie schematu; program robi to w tle, gdy okno logowania jest już "
              "widoczne, a listy okna czyta jednym zapytaniem więcej): %lld RT\n",
              setUp, start);
  std::printf("%-42s %6s %6s %9s %9s %9s\n", "Akcja", "RT", "cel", "0 ms", "10 ms", "40 ms");
  long long total = 0;
  int goal = 0;
  std::map<int, double> totalMs;
  for (const auto& a : actions) {
    std::printf("%-42s %6lld %6d", a.name, a.roundTrips, a.budget);
    for (int d : delays) {
      std::printf(" %7.0f ms", a.millis.count(d) ? a.millis.at(d) : 0.0);
      totalMs[d] += a.millis.count(d) ? a.millis.at(d) : 0.0;
    }
    std::printf("\n");
    if (verbose)
      for (const auto& t : a.turns) std::printf("      %s\n", t.c_str());
    total += a.roundTrips;
    goal += a.budget;
  }
  std::printf("%-42s %6lld %6d", "Razem", total, goal);
  for (int d : delays) std::printf(" %7.0f ms", totalMs[d]);
  std::printf("\n");

  fe.closeAll();
  data::glo().PATH_INI.set("");
  std::remove(ini.c_str());
  sql::setDatabaseUrl(base);
  if (sql::Database* db = sql::threadDatabase()) db->execute("DROP SCHEMA \"" + schema + "\" CASCADE");
  sql::closeThreadDatabase();
  return 0;
}
