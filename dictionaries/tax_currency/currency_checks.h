#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slownik::tax_currency {

//! The rates of one currency shown by the currency list for a day: day numbers and
//! average rates as decimal text with six places ("0" where a source has none).
struct RateColumns {
  std::string nbpDate = "0";
  std::string nbpRate = "0";
  std::string ecbDate = "0";
  std::string ecbRate = "0";
};

//! Rate columns as the list shows them: day numbers ("0" for none) and rates with six
//! places ("0" for none), from the values the database gave ("" for none).
RateColumns shownRates(const std::string& nbpDate, const std::string& nbpRate, const std::string& ecbDate,
                       const std::string& ecbRate);
//! The rate lookup of one currency through the routine (tools and benchmarks; the list
//! reads the rates with its page).
std::string rateColumnsSql(std::int32_t day, std::string_view symbol);
//! The NBP and ECB rates of `symbol` in force on `day`, read through EXECSQL and VAX on
//! this thread's connection. Day 0 runs no query; a failed query gives zeros.
RateColumns rateColumns(std::int32_t day, std::string_view symbol);

//! The save check of the currency form. `savedKey` is the symbol the row was read with
//! ("" on insert). Runs the uniqueness query only when the symbol changed. Returns the
//! warning to show, or nothing when the row may be written.
std::optional<std::string> currencySaveProblem(std::string_view symbol, std::string_view savedKey, bool inserting);

//! The multiplier check when the field is left: the warning, or nothing for a valid value.
//! The multiplier is a number of currency units a rate refers to, so only whole numbers
//! above 0 make sense.
std::optional<std::string> multiplierProblem(std::string_view typed);

//! Makes `symbol` the base currency (WALUTY.NUMER = 1 on that row only) in one
//! transaction, so that a failure never leaves the dictionary without a base currency.
//! On success GLO:WAL_BAZOWA becomes the symbol. False when nothing changed.
bool setBaseCurrency(std::string_view symbol);

}  // namespace slownik::tax_currency
