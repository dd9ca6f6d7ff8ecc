#pragma once
#include <map>
#include <string>

#include "framework/services/rates/rate_table.h"

namespace slownik::svc {

//! The euro reference rates of the European Central Bank for `day`, or for the last earlier
//! day that has them, turned into units of `baseCurrency` per one unit of each currency
//! (cross rates through the euro). The bank gives reference rates only: no buying or
//! selling rate. The daily file serves today; the 90-day and the full history files
//! serve past dates.
//! `progress` hears of every file asked for, and may stop before it.
RateFetch fetchEcbRates(long day, const std::string& baseCurrency, const RateProgress& progress = {});

//! Euro rates of one day: currency → units per euro.
using EuroRates = std::map<std::string, double>;

//! One of the bank's files read whole: its days, or why there are none.
struct EcbFile {
  std::map<long, EuroRates> days;  //!< day number → rates
  std::string error;               //!< Polish text when the file could not be had
};

//! Names of the bank's files: today's rates, the last 90 days, everything since 1999.
inline constexpr const char* kEcbDailyFile = "eurofxref-daily.xml";
inline constexpr const char* kEcbHistory90File = "eurofxref-hist-90d.xml";
inline constexpr const char* kEcbHistoryFile = "eurofxref-hist.xml";

//! Asks the bank for one of its files (one request).
EcbFile readEcbFile(const std::string& name);

//! One day's euro rates as a table in units of `baseCurrency` (cross rates through the
//! euro); !ok when the day does not quote the base currency.
RateFetch ecbTableInBase(long day, const EuroRates& euro, const std::string& baseCurrency);

}  // namespace slownik::svc
