// The stored procedures of the SMS tracking addresses:
//   KS_SMS_UTWORZ_TRACKING_URL(url id, company id): a new tracking key for the address,
//     stamped with the date and time; the conversions counted for the old key go.
//   KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL(url id, company id): a new snapshot of the
//     address's conversions in its history.

#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

constexpr std::size_t kKeyLength = 12;

// The address of the call, read from its two arguments; its key ("" when none) in *key.
sql::Status findAddress(sql::Database& db, const sql::RoutineArgs& args, long long* id, std::string* key) {
  long long company = 0;
  if (sql::Status s = args.require(2); !s) return s;
  if (sql::Status s = args.integer(0, id); !s) return s;
  if (sql::Status s = args.integer(1, &company); !s) return s;
  sql::Result found;
  std::vector<sql::Param> params = {*id, company};
  if (sql::Status s = db.execute(
          "SELECT KLUCZ_SLEDZENIA FROM SMS_TRACKING_URL WHERE ID_TRACKING_URL = ? AND ID_FIRMY = ?", params, &found);
      !s)
    return s;
  if (found.rows.empty())
    return args.failure("nie ma adresu URL o identyfikatorze " + std::to_string(*id) + " w tej firmie");
  *key = found.rows[0][0].value_or("");
  while (!key->empty() && key->back() == ' ') key->pop_back();
  return {};
}

// Letters and digits that read unambiguously in an SMS (no 0/O, 1/l/I).
std::string randomKey() {
  static constexpr char kAlphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
  std::string key;
  for (std::size_t i = 0; i < kKeyLength; ++i) key += kAlphabet[pick(generator)];
  return key;
}

sql::Status createTrackingKey(sql::Database& db, const std::vector<sql::Cell>& argv, sql::Result*) {
  sql::RoutineArgs args("KS_SMS_UTWORZ_TRACKING_URL", argv);
  long long id = 0;
  std::string oldKey;
  if (sql::Status s = findAddress(db, args, &id, &oldKey); !s) return s;
  // Keys are what a click is traced back by, so no two addresses may share one.
  std::string key;
  for (;;) {
    key = randomKey();
    sql::Result taken;
    std::vector<sql::Param> probe = {key};
    if (sql::Status s = db.execute("SELECT 1 FROM SMS_TRACKING_URL WHERE KLUCZ_SLEDZENIA = ?", probe, &taken); !s)
      return s;
    if (taken.rows.empty()) break;
  }
  std::vector<sql::Param> update = {key, static_cast<long long>(rt::today()), static_cast<long long>(rt::now()), id};
  if (sql::Status s = db.execute("UPDATE SMS_TRACKING_URL SET KLUCZ_SLEDZENIA = ?, DATA_CZAS_DATE = ?, DATA_CZAS_TIME "
                                 "= ? WHERE ID_TRACKING_URL = ?",
                                 update, nullptr);
      !s)
    return s;
  std::vector<sql::Param> owner = {id};
  return db.execute("DELETE FROM SMS_TRACKING_URL_HISTORIA WHERE ID_TRACKING_URL = ?", owner, nullptr);
}

long long whole(const sql::Cell& cell) { return cell ? std::strtoll(cell->c_str(), nullptr, 10) : 0; }

// Clicked per sent in percent with two places, as SQL number text ("12.50").
std::string conversionRate(long long sent, long long clicked) {
  long long hundredths = sent > 0 ? (clicked * 10000 + sent / 2) / sent : 0;
  std::string cents = std::to_string(hundredths % 100);
  return std::to_string(hundredths / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

sql::Status checkConversions(sql::Database& db, const std::vector<sql::Cell>& argv, sql::Result*) {
  sql::RoutineArgs args("KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL", argv);
  long long id = 0;
  std::string key;
  if (sql::Status s = findAddress(db, args, &id, &key); !s) return s;
  if (key.empty()) return args.failure("adres URL nie ma jeszcze klucza śledzącego");
  // The counters grow elsewhere; a check records where they stand now, starting from
  // the latest snapshot of this key.
  sql::Result last;
  std::vector<sql::Param> owner = {id};
  if (sql::Status s = db.execute(
          "SELECT ILOSC_WYSLANYCH, ILOSC_KLIKNIETYCH FROM SMS_TRACKING_URL_HISTORIA WHERE ID_TRACKING_URL = ? "
          "ORDER BY DATA DESC, CZAS DESC, ID_HISTORII DESC LIMIT 1",
          owner, &last);
      !s)
    return s;
  long long sent = 0, clicked = 0;
  if (!last.rows.empty()) {
    sent = whole(last.rows[0][0]);
    clicked = whole(last.rows[0][1]);
  }
  sql::Result next;
  if (sql::Status s = sql::lockIdAllocation(db, "SMS_TRACKING_URL_HISTORIA"); !s) return s;
  if (sql::Status s = db.execute("SELECT COALESCE(MAX(ID_HISTORII), 0) + 1 FROM SMS_TRACKING_URL_HISTORIA", {}, &next);
      !s)
    return s;
  std::vector<sql::Param> row = {
      whole(next.rows[0][0]),           id, sent, clicked, static_cast<long long>(rt::today()),
      static_cast<long long>(rt::now())};
  return db.execute(
      "INSERT INTO SMS_TRACKING_URL_HISTORIA (ID_HISTORII, ID_TRACKING_URL, ILOSC_WYSLANYCH, ILOSC_KLIKNIETYCH, "
      "WSPOLCZYNNIK_KONWERSJI, DATA, CZAS) VALUES (?, ?, ?, ?, " +
          conversionRate(sent, clicked) + ", ?, ?)",
      row, nullptr);
}

}  // namespace

void registerSmsTrackingRoutines(RoutineRegistry& registry) {
  registry.add("KS_SMS_UTWORZ_TRACKING_URL", createTrackingKey);
  registry.add("KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL", checkConversions);
}

}  // namespace slownik::sql
