#include "framework/services/window_parameters.h"

#include <chrono>
#include <map>
#include <mutex>
#include <utility>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"
#include "framework/services/text_services.h"
#include "framework/sql/table_changes.h"

namespace slownik::svc {
namespace {

// A user's window parameters are read in one statement and kept, so that a window that
// restores a handful of them as it opens does not wait for a round trip each; a value
// written back unchanged is not sent at all. Read again after a change of the table that
// this program did not make through here, and at the first use after kFresh (the same
// user working on another machine).
constexpr std::chrono::seconds kFresh{60};

struct UserParameters {
  std::map<std::pair<std::string, std::string>, std::string> values;  // (window, name) → value
  unsigned long long changes = 0;
  std::chrono::steady_clock::time_point readAt;
};

std::mutex parametersMutex;
std::map<long long, UserParameters>& parametersCache() {
  static auto* cache = new std::map<long long, UserParameters>();  // threads may outlive main()
  return *cache;
}

// The kept parameters of the user, read when missing or out of date; null on a database
// failure. Call with parametersMutex held.
UserParameters* parametersOf(long long user) {
  const unsigned long long changes = sql::changesOf("PARAMETR_OKNA");
  const auto now = std::chrono::steady_clock::now();
  auto& cache = parametersCache();
  if (auto it = cache.find(user); it != cache.end() && it->second.changes == changes && now - it->second.readAt < kFresh)
    return &it->second;
  sql::Result r;
  if (!serviceExecute("SELECT OKNO, NAZWA, WARTOSC FROM PARAMETR_OKNA WHERE ID_UZYTKOWNIKA = ?", {user}, &r)) {
    cache.erase(user);
    return nullptr;
  }
  UserParameters p;
  p.changes = changes;
  p.readAt = now;
  for (std::size_t i = 0; i < r.rows.size(); ++i) p.values[{r.text(i, 0), r.text(i, 1)}] = r.text(i, 2);
  return &(cache[user] = std::move(p));
}

}  // namespace

std::string POBIERZPARAMETROKNA(std::string_view window, std::string_view name) {
  const long long user = static_cast<long long>(data::glo().ID_UZYTKOWNIKA);
  // The lock is held over the read: two windows of one user opening together read once.
  std::lock_guard lock(parametersMutex);
  UserParameters* p = parametersOf(user);
  if (!p) return {};
  auto it = p->values.find({upperPolish(window), std::string(name)});
  return it == p->values.end() ? std::string() : it->second;
}

int ZAPISZPARAMETROKNA(std::string_view window, std::string_view name, std::string_view value) {
  const long long user = static_cast<long long>(data::glo().ID_UZYTKOWNIKA);
  const auto key = std::make_pair(upperPolish(window), std::string(name));
  std::lock_guard lock(parametersMutex);
  UserParameters* p = parametersOf(user);
  if (p) {
    auto it = p->values.find(key);
    if (it != p->values.end() && it->second == value) return 0;  // stored as it is
  }
  sql::Status s = serviceExecute(
      "INSERT INTO PARAMETR_OKNA (ID_UZYTKOWNIKA, OKNO, NAZWA, WARTOSC) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (ID_UZYTKOWNIKA, OKNO, NAZWA) DO UPDATE SET WARTOSC = excluded.WARTOSC",
      {user, key.first, key.second, std::string(value)});
  if (!s.isOk()) {
    parametersCache().erase(user);
    return kSqlErrorCode;
  }
  if (p) {
    // The write is ours and the kept values follow it: no need to read them again.
    p->values[key] = std::string(value);
    p->changes = sql::changesOf("PARAMETR_OKNA");
  }
  return 0;
}

}  // namespace slownik::svc
