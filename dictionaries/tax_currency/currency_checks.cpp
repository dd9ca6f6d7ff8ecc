#include "dictionaries/tax_currency/currency_checks.h"

#include <cctype>

#include "framework/data/globals.h"
#include "framework/runtime/decimal.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"

namespace slownik::tax_currency {
namespace {

std::string trimmed(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

// Rates are shown with six places; the database may give fewer or more.
std::string sixPlaces(const std::string& text) {
  auto d = rt::Decimal::parse(text);
  if (!d) return "0";
  auto r = d->rounded(6);
  return r ? r->toString() : "0";
}

std::string dayText(const std::string& text) { return text.empty() ? "0" : text; }

}  // namespace

std::string rateColumnsSql(std::int32_t day, std::string_view symbol) {
  return "select * from dbo.TK_Func_PodajKursy_NBPECB (" + std::to_string(day) + "," + sql::quote(symbol) + ")";
}

RateColumns shownRates(const std::string& nbpDate, const std::string& nbpRate, const std::string& ecbDate,
                       const std::string& ecbRate) {
  return {dayText(nbpDate), sixPlaces(nbpRate), dayText(ecbDate), sixPlaces(ecbRate)};
}

RateColumns rateColumns(std::int32_t day, std::string_view symbol) {
  RateColumns out;
  if (day == 0) return out;
  svc::EXECSQL(rateColumnsSql(day, symbol));
  if (rt::errorCode() == 0 && svc::VAX().next())
    out = shownRates(svc::VAX().field(2), svc::VAX().field(3), svc::VAX().field(4), svc::VAX().field(5));
  svc::CLOSESQL();
  return out;
}

std::optional<std::string> currencySaveProblem(std::string_view symbol, std::string_view savedKey, bool inserting) {
  if (inserting || symbol != savedKey) {
    // "eur" is the same currency as "EUR", as countries and provinces compare; the row
    // being changed is no duplicate of itself when only its letter case changes.
    std::string query = "select SYM_WALUTY from WALUTY where UPPER(sym_waluty)=UPPER(" + sql::quote(symbol) + ")";
    if (!inserting) query += " and sym_waluty<>" + sql::quote(savedKey);
    svc::EXECSQL(query);
    if (rt::errorCode() != 0) {
      std::string reason = rt::errorText();
      svc::CLOSESQL();
      return "Wystąpił problem podczas zatwierdzania danych waluty! Powód: " + reason;
    }
    bool exists = svc::VAX().next() && !trimmed(svc::VAX().field(1)).empty();
    svc::CLOSESQL();
    if (exists) return "Uwaga!|Waluta " + std::string(symbol) + " już istnieje w kartotece! Proszę zmienić symbol.";
  }
  if (trimmed(symbol).empty()) return std::string("Symbol waluty musi być wypełniony!");
  return std::nullopt;
}

std::optional<std::string> multiplierProblem(std::string_view typed) {
  std::string t = trimmed(typed);
  bool digits = !t.empty();
  for (char c : t) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  // Leading zeros only: the value is 0.
  if (!digits || t.find_first_not_of('0') == std::string::npos) return std::string("Mnożnik waluty musi być większy niż 0!");
  return std::nullopt;
}

bool setBaseCurrency(std::string_view symbol) {
  sql::Database* db = sql::threadDatabase();
  if (!db) return false;
  sql::Transaction tx(*db, sql::TransactionMode::Immediate);
  if (!tx.status()) return false;
  svc::EXECSQL("update waluty set numer=0");
  if (rt::errorCode() != 0) return false;
  svc::EXECSQL("update waluty set NUMER=1 where sym_waluty=" + sql::quote(symbol));
  if (rt::errorCode() != 0) return false;
  if (!tx.commit()) return false;
  data::glo().WAL_BAZOWA = trimmed(symbol);
  return true;
}

}  // namespace slownik::tax_currency
