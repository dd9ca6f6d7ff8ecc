#include "host/session.h"

#include <cstdlib>

#include "framework/data/globals.h"
#include "framework/sql/text.h"
#include "host/password.h"

namespace slownik::host {
namespace {

// Every list of the dialog has the same shape: id in the first column, name in the second.
std::vector<Choice> choices(sql::Database& db, const std::string& statement, QString* error) {
  std::vector<Choice> out;
  sql::Result result;
  sql::Status status = db.execute(statement, &result);
  if (!status) {
    if (error) *error = QString::fromStdString(status.message());
    return out;
  }
  if (error) error->clear();
  for (std::size_t r = 0; r < result.size(); ++r) {
    Choice c;
    c.id = std::strtod(result.text(r, 0).c_str(), nullptr);
    c.name = QString::fromStdString(result.text(r, 1)).trimmed();
    if (result.columns.size() > 3) {
      c.login = QString::fromStdString(result.text(r, 2)).trimmed();
      c.password = QString::fromStdString(result.text(r, 3)).trimmed();
    }
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace

std::vector<Choice> users(sql::Database& db, QString* error) {
  std::vector<Choice> out = choices(db,
      "select ID_UZYTKOWNIKA, NAZWA, IDENTYFIKATOR, HASLO from UZYTKOWNIK"
      " where AKTYWNY is null or AKTYWNY<>0 order by IDENTYFIKATOR",
      error);
  for (Choice& u : out)
    if (u.name.isEmpty()) u.name = u.login;
  return out;
}

std::vector<Choice> companies(sql::Database& db, QString* error) {
  // Id 0 and below are the system's placeholder rows, never a company to work in.
  return choices(db, "select ID_FIRMY, NAZWA from FIRMA where ID_FIRMY>0 order by NAZWA", error);
}

std::vector<Choice> warehouses(sql::Database& db, double companyId, QString* error) {
  return choices(db,
                 "select ID_MAGAZYNU, NAZWA from MAGAZYN where ID_FIRMY=" + sql::sqlId(companyId) +
                     " order by NAZWA",
                 error);
}

std::vector<Choice> cashDesks(sql::Database& db, double companyId, QString* error) {
  return choices(db,
                 "select ID_KASY, NAZWA from KASY_FIRMY where ID_FIRMY=" + sql::sqlId(companyId) +
                     " order by NAZWA",
                 error);
}

QString baseCurrency(sql::Database& db) {
  sql::Result result;
  if (db.execute("select SYM_WALUTY from WALUTY where NUMER=1", &result) && !result.empty()) {
    QString symbol = QString::fromStdString(result.scalar()).trimmed();
    if (!symbol.isEmpty()) return symbol;
  }
  return QStringLiteral("PLN");
}

void applyToGlobals(const Session& session, const QString& baseCurrencySymbol) {
  data::Globals& g = data::glo();
  g.ID_UZYTKOWNIKA.set(session.user.id);
  g.ID_FIRMY.set(session.company.id);
  g.ID_MAGAZYNU.set(session.warehouse.id);
  g.ID_KASY.set(session.cashDesk.id);
  g.WAL_BAZOWA.set(baseCurrencySymbol.left(5).toStdString());
}

Session sessionFromGlobals(sql::Database& db, const Session& shown) {
  const data::Globals& g = data::glo();
  auto named = [&db](double id, const char* table, const char* idColumn, const Choice& before) {
    if (id == before.id) return before;
    Choice c;
    std::vector<Choice> found = choices(
        db, std::string("select ") + idColumn + ", NAZWA from " + table + " where " + idColumn + "=" + sql::sqlId(id),
        nullptr);
    if (id != 0 && !found.empty()) c = found.front();
    return c;
  };
  Session s = shown;
  s.company = named(g.ID_FIRMY.get(), "FIRMA", "ID_FIRMY", shown.company);
  s.warehouse = named(g.ID_MAGAZYNU.get(), "MAGAZYN", "ID_MAGAZYNU", shown.warehouse);
  s.cashDesk = named(g.ID_KASY.get(), "KASY_FIRMY", "ID_KASY", shown.cashDesk);
  return s;
}

const Choice* findUser(const std::vector<Choice>& users, const QString& login) {
  const QString wanted = login.trimmed();
  for (const Choice& u : users)
    if (u.login.compare(wanted, Qt::CaseInsensitive) == 0) return &u;
  for (const Choice& u : users)
    if (u.name.compare(wanted, Qt::CaseInsensitive) == 0) return &u;
  return nullptr;
}

sql::Status storePassword(sql::Database& db, double userId, const QString& password) {
  const QString hash = hashPassword(password);
  if (hash.isEmpty() && !password.isEmpty()) return sql::Status::failure("Nie można zapisać hasła (brak pamięci).");
  // An empty hash is stored as an empty text: "no password", as the demo users have.
  // A bound parameter, so that no statement text a failure may quote holds the hash.
  const std::vector<sql::Param> params = {hash.toStdString(), static_cast<long long>(userId)};
  sql::Status s = db.execute("update UZYTKOWNIK set HASLO=? where ID_UZYTKOWNIKA=?", params, nullptr);
  if (!s) return sql::Status::failure("Nie można zapisać hasła: " + s.message());
  return {};
}

}  // namespace slownik::host
