#pragma once
#include "framework/services/rates/rate_table.h"

namespace slownik::svc {

//! Days the search for a table goes back at most: a fortnight covers the longest run of
//! days without one (Christmas to New Year).
inline constexpr int kNbpDaysBack = 14;

//! The tables of the Polish central bank for `day`, or for the last earlier day that has
//! one (there are none on weekends and holidays: the bank answers 404). Table A gives the
//! average rates; table C, where it covers a currency, the buying and selling rates.
//! `progress` hears of every day asked, and may stop the search.
RateFetch fetchNbpRates(long day, const RateProgress& progress = {});

}  // namespace slownik::svc
