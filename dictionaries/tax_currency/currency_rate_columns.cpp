#include "dictionaries/tax_currency/currency_rate_columns.h"

#include "framework/runtime/decimal.h"
#include "framework/sql/routines/rate_lookup.h"

namespace slownik::tax_currency {

const std::vector<RateColumn>& rateColumnsOfView() {
  static const std::vector<RateColumn> columns = {
      {"NBP_DATA_", sql::kRateSourceNbp, false, sql::ColumnType::Long},
      {"NBP_KURS_", sql::kRateSourceNbp, true, sql::ColumnType::Decimal},
      {"ECB_DATA_", sql::kRateSourceEcb, false, sql::ColumnType::Long},
      {"ECB_KURS_", sql::kRateSourceEcb, true, sql::ColumnType::Decimal},
  };
  return columns;
}

// The latest table of the source on or before the day that quotes the row's currency,
// walked newest first by the index on (ID_BANKU, DATA_NOT); CROSS JOIN keeps SQLite
// walking that way. The day is a plain integer in the text.
std::string rateColumnSql(const RateColumn& column, std::int32_t day) {
  // The base currency is worth 1 of itself on any day.
  const std::string base = column.rate ? "1" : std::to_string(day);
  return "CASE WHEN WAL:NUMER = 1 THEN " + base + " ELSE (SELECT " + (column.rate ? "K.KURS_SREDNI" : "D.DATA_NOT") +
         " FROM DATY_KURSOW D CROSS JOIN KURSY_WALUT K WHERE D.ID_BANKU = " + std::to_string(column.source) +
         " AND D.DATA_NOT <= " + std::to_string(day) +
         " AND K.ID_DATY = D.ID_DATY AND K.SYM_WALUTY = WAL:SYM_WALUTY AND K.KURS_SREDNI IS NOT NULL "
         "ORDER BY D.DATA_NOT DESC LIMIT 1) END";
}

namespace {

std::string dayText(const sql::Cell& cell) { return cell && !cell->empty() ? *cell : "0"; }

// Rates are shown with six places; the database may give fewer or more.
std::string sixPlaces(const sql::Cell& cell) {
  auto d = cell ? rt::Decimal::parse(*cell) : std::nullopt;
  if (!d) return "0";
  auto r = d->rounded(6);
  return r ? r->toString() : "0";
}

}  // namespace

RateColumns rateColumnsOfRow(const data::ViewManager& view, const data::ViewRow& row) {
  const auto& c = rateColumnsOfView();
  RateColumns out;
  out.nbpDate = dayText(view.value(row, c[0].name));
  out.nbpRate = sixPlaces(view.value(row, c[1].name));
  out.ecbDate = dayText(view.value(row, c[2].name));
  out.ecbRate = sixPlaces(view.value(row, c[3].name));
  return out;
}

}  // namespace slownik::tax_currency
