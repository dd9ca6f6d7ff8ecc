#include "framework/services/rates/rate_download.h"

#include <cmath>

#include "framework/runtime/date_time.h"
#include "framework/services/rates/ecb_client.h"
#include "framework/services/rates/nbp_client.h"
#include "framework/sql/dialect.h"

namespace slownik::svc {
namespace {

using sql::Param;

// Rates are kept to six places, as the tables hold them; cross rates would carry more.
double rounded(double rate) { return std::round(rate * 1e6) / 1e6; }

}  // namespace

sql::Status storeRateTable(sql::Database& db, RateSource source, const RateTable& table, RateDownload* out) {
  sql::Transaction tx(db, sql::TransactionMode::Immediate);
  if (!tx.status()) return tx.status();
  const long long bank = static_cast<int>(source);
  sql::Result existing;
  std::vector<Param> key = {Param{bank}, Param{static_cast<long long>(table.day)}};
  if (auto s = db.execute("SELECT ID_DATY FROM DATY_KURSOW WHERE ID_BANKU = ? AND DATA_NOT = ?", key, &existing); !s)
    return s;
  long long idDaty = 0;
  if (!existing.empty()) {
    idDaty = std::stoll(existing.text(0, 0));
    sql::Result count;
    std::vector<Param> id = {Param{idDaty}};
    if (auto s = db.execute("SELECT COUNT(*) FROM KURSY_WALUT WHERE ID_DATY = ?", id, &count); !s) return s;
    if (count.scalar() != "0") {
      out->alreadyThere = true;
      return tx.commit();
    }
  } else {
    sql::Result max;
    if (auto s = sql::lockIdAllocation(db, "DATY_KURSOW"); !s) return s;
    if (auto s = db.execute("SELECT COALESCE(MAX(ID_DATY), 0) + 1 FROM DATY_KURSOW", &max); !s) return s;
    idDaty = std::stoll(max.scalar());
    std::vector<Param> row = {Param{idDaty}, Param{bank}, Param{static_cast<long long>(table.day)}, Param{static_cast<long long>(rt::now())}};
    if (auto s = db.execute("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT, GODZ_NOT) VALUES (?, ?, ?, ?)", row,
                            nullptr);
        !s)
      return s;
  }
  sql::Result currencies;
  if (auto s = db.execute("SELECT SYM_WALUTY, MNOZNIK_WALUTY FROM WALUTY", &currencies); !s) return s;
  for (std::size_t i = 0; i < currencies.size(); ++i) {
    const CurrencyRate* rate = table.find(currencies.text(i, 0));
    if (!rate) continue;
    double multiplier = currencies.text(i, 1).empty() ? 1.0 : std::stod(currencies.text(i, 1));
    if (multiplier <= 0) multiplier = 1.0;
    std::vector<Param> row = {Param{idDaty}, Param{rate->code}, Param{rounded(rate->bid * multiplier)},
                              Param{rounded(rate->ask * multiplier)}, Param{rounded(rate->mid * multiplier)}};
    if (auto s = db.execute(
            "INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_ZAKUPU, KURS_SPRZEDAZY, KURS_SREDNI) VALUES (?, ?, ?, ?, ?)",
            row, nullptr);
        !s)
      return s;
    ++out->currencies;
  }
  return tx.commit();
}

std::string baseCurrency(sql::Database& db) {
  sql::Result r;
  if (db.execute("SELECT SYM_WALUTY FROM WALUTY WHERE NUMER = 1", &r) && !r.empty() && !r.text(0, 0).empty())
    return r.text(0, 0);
  return "PLN";
}

RateDownload downloadRates(sql::Database& db, RateSource source, long day, const RateProgress& progress) {
  RateDownload result;
  RateFetch fetch =
      source == RateSource::Nbp ? fetchNbpRates(day, progress) : fetchEcbRates(day, baseCurrency(db), progress);
  if (!fetch.ok) {
    result.error = fetch.error;
    result.cancelled = fetch.cancelled;
    return result;
  }
  result.day = fetch.table.day;
  sql::Status stored = storeRateTable(db, source, fetch.table, &result);
  if (!stored) {
    result = RateDownload{};
    result.error = "Nie udało się zapisać kursów walut: " + stored.message();
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace slownik::svc
