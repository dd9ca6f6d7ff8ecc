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

//! Both sources' quotations of a currency in force on a day, and whether the currency
//! is the base currency (WALUTY.NUMER = 1), read by one statement.
struct CurrencyRates {
  bool isBase = false;
  RateQuote nbp;
  RateQuote ecb;
};

//! The average rate of the latest quotation of the source on or before the day
//! (banks do not quote on holidays).
//!
//! Cost: the source's rate tables are walked newest first from the day by the key
//! (ID_BANKU, DATA_NOT), each probed by the key (ID_DATY, SYM_WALUTY), and the walk
//! stops at the first table that quotes the currency. For a currency the source quotes
//! that is one or two index seeks whatever the number of tables; for one it never
//! quotes, the walk goes through every older table of the source.
Status rateInForce(Database& db, long long source, const std::string& currency, long long day, RateQuote* out);

//! rateInForce for both sources plus the base-currency mark, in one round trip (the
//! currency list asks this for every row it shows).
Status ratesInForce(Database& db, const std::string& currency, long long day, CurrencyRates* out);

//! The statement ratesInForce runs ('?' = day, currency, day, currency, currency), for
//! plan checks and benchmarks.
const std::string& ratesInForceSql();

//! Symbol of the base currency (WALUTY.NUMER = 1); "" when none is marked.
Status baseCurrency(Database& db, std::string* symbol);

}  // namespace slownik::sql
