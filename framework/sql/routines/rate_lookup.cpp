#include "framework/sql/routines/rate_lookup.h"

namespace slownik::sql {
namespace {

// The latest table of one source on or before the day that quotes the currency.
// CROSS JOIN fixes the join order in SQLite (the rate tables drive, newest first, so
// LIMIT 1 stops the walk); PostgreSQL reads it as a plain join and, with the index
// on (ID_BANKU, DATA_NOT) matching the ORDER BY, walks the same way. DATA_NOT is
// unique per source, so ordering by it alone is total and the index serves it.
std::string latestQuoteSql(const char* source) {
  return std::string(
             "SELECT D.DATA_NOT AS DATA_NOT, K.KURS_SREDNI AS KURS FROM DATY_KURSOW D CROSS JOIN KURSY_WALUT K "
             "WHERE D.ID_BANKU = ") +
         source +
         " AND D.DATA_NOT <= ? AND K.ID_DATY = D.ID_DATY AND K.SYM_WALUTY = ? AND K.KURS_SREDNI IS NOT NULL "
         "ORDER BY D.DATA_NOT DESC LIMIT 1";
}

void takeQuote(const Result& r, std::size_t row, RateQuote* out) {
  out->found = true;
  out->date = r.text(row, 1);
  out->rate = r.text(row, 2);
}

}  // namespace

Status rateInForce(Database& db, long long source, const std::string& currency, long long day, RateQuote* out) {
  *out = RateQuote{};
  if (source != kRateSourceNbp && source != kRateSourceEcb) return {};
  Result r;
  std::vector<Param> params = {day, currency};
  Status s = db.execute(latestQuoteSql(source == kRateSourceNbp ? "0" : "-1"), params, &r);
  if (!s || r.empty()) return s;
  out->found = true;
  out->date = r.text(0, 0);
  out->rate = r.text(0, 1);
  return {};
}

const std::string& ratesInForceSql() {
  // One row per part: 0 = the currency's NUMER, 1 = NBP, 2 = ECB. Each LIMIT sits in
  // a derived table because SQLite allows no LIMIT on a member of a compound select.
  static const std::string sql =
      "SELECT 1 AS PART, N.DATA_NOT, N.KURS FROM (" + latestQuoteSql("0") + ") N "
      "UNION ALL SELECT 2 AS PART, E.DATA_NOT, E.KURS FROM (" + latestQuoteSql("-1") + ") E "
      "UNION ALL SELECT 0 AS PART, W.NUMER, NULL FROM WALUTY W WHERE W.SYM_WALUTY = ?";
  return sql;
}

Status ratesInForce(Database& db, const std::string& currency, long long day, CurrencyRates* out) {
  *out = CurrencyRates{};
  Result r;
  std::vector<Param> params = {day, currency, day, currency, currency};
  if (Status s = db.execute(ratesInForceSql(), params, &r); !s) return s;
  for (std::size_t i = 0; i < r.rows.size(); ++i) {
    const std::string part = r.text(i, 0);
    if (part == "0") out->isBase = r.text(i, 1) == "1";
    else if (part == "1") takeQuote(r, i, &out->nbp);
    else if (part == "2") takeQuote(r, i, &out->ecb);
  }
  return {};
}

Status baseCurrency(Database& db, std::string* symbol) {
  Result r;
  Status s = db.execute("SELECT SYM_WALUTY FROM WALUTY WHERE NUMER = 1 ORDER BY SYM_WALUTY", &r);
  *symbol = s ? r.scalar() : "";
  while (!symbol->empty() && symbol->back() == ' ') symbol->pop_back();
  return s;
}

}  // namespace slownik::sql
