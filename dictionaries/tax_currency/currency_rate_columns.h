#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dictionaries/tax_currency/currency_checks.h"
#include "framework/data/view_manager.h"

namespace slownik::tax_currency {

//! One of the currency list's four rate columns, computed by the page's own statement.
struct RateColumn {
  const char* name;     //!< the view's name for it
  long long source;     //!< kRateSourceNbp or kRateSourceEcb
  bool rate;            //!< the average rate; false: the quotation's day
  sql::ColumnType type;
};

//! NBP day, NBP rate, ECB day, ECB rate, in the list's order.
const std::vector<RateColumn>& rateColumnsOfView();
//! Backend SQL over the view's main table (WALUTY): the column's value in force on `day`.
std::string rateColumnSql(const RateColumn& column, std::int32_t day);
//! A page row's rates as the list shows them (day numbers, six places; "0" for none).
RateColumns rateColumnsOfRow(const data::ViewManager& view, const data::ViewRow& row);

}  // namespace slownik::tax_currency
