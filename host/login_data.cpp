#include "host/login_data.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cstdlib>

namespace slownik::host {
namespace {

// One union over the five tables, each row told by its kind; the lists are ordered here,
// since one ORDER BY over a union can't use each table's own collation.
constexpr const char* kStatement =
    "select 'U', ID_UZYTKOWNIKA, 0, NAZWA, IDENTYFIKATOR, HASLO from UZYTKOWNIK"
    " where AKTYWNY is null or AKTYWNY<>0"
    " union all select 'F', ID_FIRMY, 0, NAZWA, '', '' from FIRMA where ID_FIRMY>0"
    " union all select 'M', ID_MAGAZYNU, ID_FIRMY, NAZWA, '', '' from MAGAZYN"
    " union all select 'K', ID_KASY, ID_FIRMY, NAZWA, '', '' from KASY_FIRMY"
    " union all select 'W', 0, 0, SYM_WALUTY, '', '' from WALUTY where NUMER=1";

void sortByName(std::vector<Choice>& rows, const QCollator& polish) {
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const Choice& a, const Choice& b) { return polish.compare(a.name, b.name) < 0; });
}

}  // namespace

LoginData readLoginData(sql::Database& db) {
  LoginData data;
  sql::Result result;
  if (sql::Status status = db.execute(kStatement, &result); !status) {
    data.error = QString::fromStdString(status.message());
    return data;
  }
  for (std::size_t r = 0; r < result.size(); ++r) {
    const std::string kind = result.text(r, 0);
    Choice c;
    c.id = std::strtod(result.text(r, 1).c_str(), nullptr);
    c.name = QString::fromStdString(result.text(r, 3)).trimmed();
    const double owner = std::strtod(result.text(r, 2).c_str(), nullptr);
    if (kind == "U") {
      c.login = QString::fromStdString(result.text(r, 4)).trimmed();
      c.password = QString::fromStdString(result.text(r, 5)).trimmed();
      if (c.name.isEmpty()) c.name = c.login;
      data.users.push_back(std::move(c));
    } else if (kind == "F") {
      data.companies.push_back(std::move(c));
    } else if (kind == "M") {
      data.warehouses[owner].push_back(std::move(c));
    } else if (kind == "K") {
      data.cashDesks[owner].push_back(std::move(c));
    } else if (kind == "W" && !c.name.isEmpty()) {
      data.baseCurrency = c.name;
    }
  }
  QCollator polish(QLocale(QLocale::Polish, QLocale::Poland));
  polish.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(data.users.begin(), data.users.end(),
                   [&](const Choice& a, const Choice& b) { return polish.compare(a.login, b.login) < 0; });
  sortByName(data.companies, polish);
  for (auto& [company, rows] : data.warehouses) sortByName(rows, polish);
  for (auto& [company, rows] : data.cashDesks) sortByName(rows, polish);
  return data;
}

}  // namespace slownik::host
