#pragma once
#include "framework/services/rates/rate_table.h"

namespace slownik::svc {

//! The tables of the Polish central bank for `day`, or for the last earlier day that has
//! one (there are none on weekends and holidays: the bank answers 404). Table A gives the
//! average rates; table C, where it covers a currency, the buying and selling rates.
RateFetch fetchNbpRates(long day);

}  // namespace slownik::svc
