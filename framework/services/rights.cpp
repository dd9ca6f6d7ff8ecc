#include "framework/services/rights.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"
#include "framework/sql/table_changes.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

// The user's rights in a company are read in one statement and kept: a list that checks
// half a dozen rights as it opens would otherwise wait for as many round trips. They are
// read again after any change this program made to the rights tables, and at the first
// check after kFresh, so that an administrator's change on another machine reaches a
// running program within that time.
constexpr std::chrono::seconds kFresh{60};

struct Grants {
  std::vector<std::pair<std::string, long long>> rows;  // the right's code, its object (0: the company)
  unsigned long long changes = 0;
  std::chrono::steady_clock::time_point readAt;
};

std::mutex grantsMutex;
std::map<std::pair<long long, long long>, Grants>& grantsCache() {  // by (company, user)
  static auto* cache = new std::map<std::pair<long long, long long>, Grants>();  // threads may outlive main()
  return *cache;
}

unsigned long long rightsChanges() {
  return sql::changesOf("DOSTEP") + sql::changesOf("UZYTKOWNIKGRUPY") + sql::changesOf("GRUPAUZYTKOWNIKOW");
}

// The user's granting rows in the company; false on a database failure (nothing kept).
bool grantsOf(double company, double user, Grants* out) {
  const auto key = std::make_pair(static_cast<long long>(company), static_cast<long long>(user));
  const unsigned long long changes = rightsChanges();
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(grantsMutex);
    auto it = grantsCache().find(key);
    if (it != grantsCache().end() && it->second.changes == changes && now - it->second.readAt < kFresh) {
      *out = it->second;
      return true;
    }
  }
  sql::Result r;
  if (!serviceExecute("SELECT d.KOD, d.ID_OBIEKTU FROM DOSTEP d INNER JOIN UZYTKOWNIKGRUPY u ON d.ID_GRUPY = u.ID_GRUPY "
                      "WHERE d.ID_FIRMY = ? AND d.RODZAJ_DOSTEPU > 0 AND u.ID_UZYTKOWNIKA = ?",
                      {idParam(company), idParam(user)}, &r))
    return false;
  Grants g;
  g.changes = changes;  // as before the read: a change during it makes the next check read again
  g.readAt = now;
  for (std::size_t i = 0; i < r.rows.size(); ++i) g.rows.emplace_back(r.text(i, 0), std::atoll(r.text(i, 1).c_str()));
  std::lock_guard lock(grantsMutex);
  grantsCache()[key] = g;
  *out = std::move(g);
  return true;
}

}  // namespace

void LADUJUPRAWNIENIA() {
  std::lock_guard lock(grantsMutex);
  grantsCache().clear();
}

namespace {

enum class Scope {
  General,    // a row for the whole company (ID_OBIEKTU 0)
  OneObject,  // the row for the object asked about
  AnyObject,  // a row for some object
};

bool isAdmin(double user) { return user == kAdminUserId; }

// Number of granting rows; -1 on a database failure.
long long grantingRows(std::string_view right, double company, double user, Scope scope, double objectId = 0) {
  Grants g;
  if (!grantsOf(company, user, &g)) return -1;
  const long long object = static_cast<long long>(objectId);
  long long count = 0;
  for (const auto& [code, id] : g.rows) {
    if (code != right) continue;
    switch (scope) {
      case Scope::General: count += id == 0; break;
      case Scope::OneObject: count += id == object; break;
      case Scope::AnyObject: count += id > 0; break;
    }
  }
  return count;
}

// Written as a subquery rather than a list of ids: it stays short for any number of
// granted rows and follows later changes of the rights.
std::string objectSubquery(std::string_view right, std::string_view idColumn, double company, double user) {
  return std::string(idColumn) +
         " in (select d.ID_OBIEKTU from DOSTEP d inner join UZYTKOWNIKGRUPY u on d.ID_GRUPY=u.ID_GRUPY where d.KOD=" +
         sql::quote(right) + " and d.ID_FIRMY=" + sql::sqlId(company) + " and d.RODZAJ_DOSTEPU>0 and u.ID_UZYTKOWNIKA=" +
         sql::sqlId(user) + " and d.ID_OBIEKTU>0)";
}

}  // namespace

int POBIERZUPRAWNIENIE(std::string_view right, double objectId, double, double, double, double) {
  const double user = data::glo().ID_UZYTKOWNIKA;
  if (isAdmin(user)) return 1;
  if (user <= 0 || right.empty()) return 0;
  const double company = data::glo().ID_FIRMY;
  long long rows = objectId != 0 ? grantingRows(right, company, user, Scope::OneObject, objectId)
                                 : grantingRows(right, company, user, Scope::General);
  return rows > 0 ? 1 : 0;
}

std::string objectRightFilter(std::string_view right, std::string_view idColumn) {
  const double user = data::glo().ID_UZYTKOWNIKA;
  if (isAdmin(user)) return {};
  if (user <= 0 || right.empty()) return "1=0";
  return objectSubquery(right, idColumn, data::glo().ID_FIRMY, user);
}

std::string FILTRUPRAWTYLKOWGLISTZAZN(std::string_view right, std::string_view idColumn) {
  const double user = data::glo().ID_UZYTKOWNIKA;
  if (isAdmin(user) || right.empty()) return {};
  const double company = data::glo().ID_FIRMY;
  // When the rights cannot be read the list shows nothing rather than everything.
  const std::string nothing = "1=0";
  long long general = grantingRows(right, company, user, Scope::General);
  if (general < 0) return nothing;
  if (general > 0) return {};
  long long perRow = grantingRows(right, company, user, Scope::AnyObject);
  if (perRow < 0) return nothing;
  if (perRow == 0) return {};
  return objectSubquery(right, idColumn, company, user);
}

}  // namespace slownik::svc
