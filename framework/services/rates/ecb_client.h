#pragma once
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

}  // namespace slownik::svc
