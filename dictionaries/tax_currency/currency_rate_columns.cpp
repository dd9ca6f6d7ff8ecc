#include "dictionaries/tax_currency/currency_rate_columns.h"

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

RateColumns rateColumnsOfRow(const data::ViewManager& view, const data::ViewRow& row) {
  const auto& c = rateColumnsOfView();
  auto value = [&](std::size_t k) { return view.value(row, c[k].name).value_or(""); };
  return shownRates(value(0), value(1), value(2), value(3));
}

}  // namespace slownik::tax_currency
