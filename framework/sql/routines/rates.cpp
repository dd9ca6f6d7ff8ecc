// Exchange-rate lookups over DATY_KURSOW (one row per quotation date and source)
// and KURSY_WALUT (the rates of that date).
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/rate_lookup.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

// TK_Func_PodajKursy_NBPECB(day, currency): one row, the currency, then the NBP date
// and rate and the ECB date and rate in force on the day ("0" where there is none).
// In force is the day's own table, and on a day without one (a weekend, a holiday, a
// day not yet back-filled) the last table published before it that quotes the
// currency: a document dated that day is converted at that rate. Each source is looked
// up on its own, as the banks keep different holidays. The base currency is worth 1
// on any day. One statement answers all of it: the
// currency list calls this for every row it shows.
Status ratesOfCurrency(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TK_Func_PodajKursy_NBPECB", argv);
  if (Status s = args.require(2); !s) return s;
  long long day = 0;
  if (Status s = args.integer(0, &day); !s) return s;
  std::string currency = args.trimmedText(1);
  CurrencyRates rates;
  if (!currency.empty()) {
    if (Status s = ratesInForce(db, currency, day, &rates); !s) return s;
  }
  RateQuote& nbp = rates.nbp;
  RateQuote& ecb = rates.ecb;
  if (rates.isBase) {
    nbp.date = ecb.date = std::to_string(day);
    nbp.rate = ecb.rate = "1";
  }
  out->columns = {"SYM_WALUTY", "NBP_DATA", "NBP_KURS", "ECB_DATA", "ECB_KURS"};
  out->rows.push_back({currency, nbp.date, nbp.rate, ecb.date, ecb.rate});
  return {};
}

// TK_Czy_SaKursyWalut(day, source): one row whose first column is 1 when rates of the
// source are quoted for exactly that day, else 0. A source other than NBP or ECB
// (the callers pass -2 when no bank is configured) accepts rates of any source.
Status ratesExist(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TK_Czy_SaKursyWalut", argv);
  if (Status s = args.require(2); !s) return s;
  long long day = 0, source = 0;
  if (Status s = args.integer(0, &day); !s) return s;
  if (Status s = args.integer(1, &source); !s) return s;
  std::string sql =
      "SELECT COUNT(*) FROM DATY_KURSOW D JOIN KURSY_WALUT K ON K.ID_DATY = D.ID_DATY WHERE D.DATA_NOT = ?";
  std::vector<Param> params = {day};
  if (source == kRateSourceNbp || source == kRateSourceEcb) {
    sql += " AND D.ID_BANKU = ?";
    params.emplace_back(source);
  }
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  std::string count = r.scalar();
  out->columns = {"CZY_SA_KURSY"};
  out->rows.push_back({Cell(count.empty() || count == "0" ? "0" : "1")});
  return {};
}

}  // namespace

void registerRateRoutines(RoutineRegistry& registry) {
  registry.add("TK_Func_PodajKursy_NBPECB", ratesOfCurrency, RoutineRegistry::Access::ReadsOnly);
  registry.add("TK_Czy_SaKursyWalut", ratesExist, RoutineRegistry::Access::ReadsOnly);
}

}  // namespace slownik::sql
