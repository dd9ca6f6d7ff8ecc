#include "framework/services/rights.h"

#include <cstdlib>
#include <vector>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

// Rows of DOSTEP through which the user holds the right in the company.
constexpr std::string_view kGrantedRows =
    "FROM DOSTEP d INNER JOIN UZYTKOWNIKGRUPY u ON d.ID_GRUPY = u.ID_GRUPY "
    "WHERE d.KOD = ? AND d.ID_FIRMY = ? AND d.RODZAJ_DOSTEPU > 0 AND u.ID_UZYTKOWNIKA = ?";

enum class Scope {
  General,    // a row for the whole company (ID_OBIEKTU 0)
  OneObject,  // the row for the object asked about
  AnyObject,  // a row for some object
};

bool isAdmin(double user) { return user == kAdminUserId; }

// Number of granting rows; -1 on a database failure.
long long grantingRows(std::string_view right, double company, double user, Scope scope, double objectId = 0) {
  std::string sql = "SELECT COUNT(*) " + std::string(kGrantedRows);
  std::vector<sql::Param> params{std::string(right), idParam(company), idParam(user)};
  switch (scope) {
    case Scope::General: sql += " AND (d.ID_OBIEKTU IS NULL OR d.ID_OBIEKTU = 0)"; break;
    case Scope::OneObject:
      sql += " AND d.ID_OBIEKTU = ?";
      params.push_back(idParam(objectId));
      break;
    case Scope::AnyObject: sql += " AND d.ID_OBIEKTU > 0"; break;
  }
  sql::Result r;
  if (!serviceExecute(sql, params, &r)) return -1;
  return std::atoll(r.scalar().c_str());
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
