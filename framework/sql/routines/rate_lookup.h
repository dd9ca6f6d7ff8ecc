#pragma once
#include <string>

#include "framework/sql/database.h"

namespace slownik::sql {

//! Sources of quotations in DATY_KURSOW.ID_BANKU.
constexpr long long kRateSourceNbp = 0;
constexpr long long kRateSourceEcb = -1;

//! The quotation of a currency in force on a day.
struct RateQuote {
  bool found = false;
  std::string date = "0";  //!< day number of the quotation
  std::string rate = "0";  //!< KURS_SREDNI as the database gives it
};

//! The average rate of the latest quotation of the source on or before the day
//! (banks do not quote on holidays).
Status rateInForce(Database& db, long long source, const std::string& currency, long long day, RateQuote* out);

//! Symbol of the base currency (WALUTY.NUMER = 1); "" when none is marked.
Status baseCurrency(Database& db, std::string* symbol);

}  // namespace slownik::sql
