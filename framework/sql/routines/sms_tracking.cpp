// The stored procedures of the SMS tracking addresses:
//   KS_SMS_UTWORZ_TRACKING_URL(url id, company id): a new tracking key for the address,
//     stamped with the date and time; the conversions counted for the old key go.
//   KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL(url id, company id): a new snapshot of the
//     address's conversions in its history: the messages sent with its key and the clicks
//     on it since the key was made.
//   KS_SMS_ZAPISZ_WYSLANIE(key, phone number): the sender sent a message carrying the key.
//   KS_SMS_ZAPISZ_KLIKNIECIE(key): the redirect service was asked for the key's address.

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

// Rows of `table` with the key written at or after the day and time the key was made.
sql::Status countSince(sql::Database& db, const char* table, const std::string& key, long long day, long long time,
                       long long* count) {
  sql::Result r;
  std::vector<sql::Param> params = {key, day, day, time};
  if (sql::Status s = db.execute(std::string("SELECT COUNT(*) FROM ") + table +
                                     " WHERE KLUCZ_SLEDZENIA = ? AND (DATA > ? OR (DATA = ? AND CZAS >= ?))",
                                 params, &r);
      !s)
    return s;
  *count = r.rows.empty() ? 0 : whole(r.rows[0][0]);
  return {};
}

// The next id of a table whose ids this routine hands out.
sql::Status nextId(sql::Database& db, const char* table, const char* idColumn, long long* id) {
  if (sql::Status s = sql::lockIdAllocation(db, table); !s) return s;
  sql::Result next;
  if (sql::Status s = db.execute(std::string("SELECT COALESCE(MAX(") + idColumn + "), 0) + 1 FROM " + table, {}, &next);
      !s)
    return s;
  *id = whole(next.rows[0][0]);
  return {};
}

sql::Status checkConversions(sql::Database& db, const std::vector<sql::Cell>& argv, sql::Result*) {
  sql::RoutineArgs args("KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL", argv);
  long long id = 0;
  std::string key;
  if (sql::Status s = findAddress(db, args, &id, &key); !s) return s;
  if (key.empty()) return args.failure("adres URL nie ma jeszcze klucza śledzącego");
  sql::Result made;
  std::vector<sql::Param> owner = {id};
  if (sql::Status s = db.execute("SELECT DATA_CZAS_DATE, DATA_CZAS_TIME FROM SMS_TRACKING_URL WHERE ID_TRACKING_URL = ?",
                                 owner, &made);
      !s)
    return s;
  const long long day = made.rows.empty() ? 0 : whole(made.rows[0][0]);
  const long long time = made.rows.empty() ? 0 : whole(made.rows[0][1]);
  long long sent = 0, clicked = 0;
  if (sql::Status s = countSince(db, "SMS_WYSLANA", key, day, time, &sent); !s) return s;
  // Without a message sent there is no rate to tell, and a row of zeros would say there was.
  if (sent == 0) return sql::Status::failure("Brak wysłanych wiadomości z tym kluczem śledzącym.");
  if (sql::Status s = countSince(db, "SMS_KLIKNIECIE", key, day, time, &clicked); !s) return s;
  long long row = 0;
  if (sql::Status s = nextId(db, "SMS_TRACKING_URL_HISTORIA", "ID_HISTORII", &row); !s) return s;
  std::vector<sql::Param> values = {row, id, sent, clicked, static_cast<long long>(rt::today()),
                                    static_cast<long long>(rt::now())};
  return db.execute(
      "INSERT INTO SMS_TRACKING_URL_HISTORIA (ID_HISTORII, ID_TRACKING_URL, ILOSC_WYSLANYCH, ILOSC_KLIKNIETYCH, "
      "WSPOLCZYNNIK_KONWERSJI, DATA, CZAS) VALUES (?, ?, ?, ?, " +
          conversionRate(sent, clicked) + ", ?, ?)",
      values, nullptr);
}

// The key of a call's first argument, when an address of some company has it.
sql::Status knownKey(sql::Database& db, const sql::RoutineArgs& args, std::string* key) {
  *key = args.trimmedText(0);
  if (key->empty()) return args.failure("nie podano klucza śledzącego");
  sql::Result found;
  std::vector<sql::Param> probe = {*key};
  if (sql::Status s = db.execute("SELECT 1 FROM SMS_TRACKING_URL WHERE KLUCZ_SLEDZENIA = ?", probe, &found); !s)
    return s;
  if (found.rows.empty()) return args.failure("nieznany klucz śledzący: " + *key);
  return {};
}

sql::Status recordSent(sql::Database& db, const std::vector<sql::Cell>& argv, sql::Result*) {
  sql::RoutineArgs args("KS_SMS_ZAPISZ_WYSLANIE", argv);
  if (sql::Status s = args.require(2); !s) return s;
  std::string key;
  if (sql::Status s = knownKey(db, args, &key); !s) return s;
  long long id = 0;
  if (sql::Status s = nextId(db, "SMS_WYSLANA", "ID_WYSLANEJ", &id); !s) return s;
  std::vector<sql::Param> row = {id, key, args.trimmedText(1), static_cast<long long>(rt::today()),
                                 static_cast<long long>(rt::now())};
  return db.execute("INSERT INTO SMS_WYSLANA (ID_WYSLANEJ, KLUCZ_SLEDZENIA, NUMER_TELEFONU, DATA, CZAS) "
                    "VALUES (?, ?, ?, ?, ?)",
                    row, nullptr);
}

sql::Status recordClick(sql::Database& db, const std::vector<sql::Cell>& argv, sql::Result*) {
  sql::RoutineArgs args("KS_SMS_ZAPISZ_KLIKNIECIE", argv);
  if (sql::Status s = args.require(1); !s) return s;
  std::string key;
  if (sql::Status s = knownKey(db, args, &key); !s) return s;
  long long id = 0;
  if (sql::Status s = nextId(db, "SMS_KLIKNIECIE", "ID_KLIKNIECIA", &id); !s) return s;
  std::vector<sql::Param> row = {id, key, static_cast<long long>(rt::today()), static_cast<long long>(rt::now())};
  return db.execute("INSERT INTO SMS_KLIKNIECIE (ID_KLIKNIECIA, KLUCZ_SLEDZENIA, DATA, CZAS) VALUES (?, ?, ?, ?)", row,
                    nullptr);
}

}  // namespace

void registerSmsTrackingRoutines(RoutineRegistry& registry) {
  registry.add("KS_SMS_UTWORZ_TRACKING_URL", createTrackingKey);
  registry.add("KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL", checkConversions);
  registry.add("KS_SMS_ZAPISZ_WYSLANIE", recordSent);
  registry.add("KS_SMS_ZAPISZ_KLIKNIECIE", recordClick);
}

}  // namespace slownik::sql
