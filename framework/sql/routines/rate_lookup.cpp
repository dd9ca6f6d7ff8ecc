#include "framework/sql/routines/rate_lookup.h"

namespace slownik::sql {

Status rateInForce(Database& db, long long source, const std::string& currency, long long day, RateQuote* out) {
  *out = RateQuote{};
  Result r;
  std::vector<Param> params = {source, currency, day};
  Status s = db.execute(
      "SELECT D.DATA_NOT, K.KURS_SREDNI FROM DATY_KURSOW D JOIN KURSY_WALUT K ON K.ID_DATY = D.ID_DATY "
      "WHERE D.ID_BANKU = ? AND K.SYM_WALUTY = ? AND D.DATA_NOT <= ? AND K.KURS_SREDNI IS NOT NULL "
      "ORDER BY D.DATA_NOT DESC, D.GODZ_NOT DESC, D.ID_DATY DESC LIMIT 1",
      params, &r);
  if (!s || r.empty()) return s;
  out->found = true;
  out->date = r.text(0, 0);
  out->rate = r.text(0, 1);
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
