#pragma once
#include <string>
#include <vector>

#include "framework/services/rates/rate_table.h"

namespace slownik::svc {

//! The longest range of days the Polish central bank answers in one request per table.
inline constexpr int kNbpDaysPerRequest = 93;

//! The tables of one kind ("A" average rates, "C" buying and selling rates) published
//! from `from` to `to` (at most kNbpDaysPerRequest days), in one request. A range in which
//! the bank published nothing is no failure: no tables.
struct NbpRangeFetch {
  bool ok = false;
  std::vector<RateTable> tables;  //!< one per publication day, oldest first
  std::string error;              //!< Polish text when !ok
};
NbpRangeFetch fetchNbpRange(const std::string& kind, long from, long to);

//! Table A of each day with the buying and selling rates of table C of the same day
//! laid over it (table C covers fewer currencies; a day without it keeps zeros there).
std::vector<RateTable> mergeNbpTables(std::vector<RateTable> tablesA, const std::vector<RateTable>& tablesC);

}  // namespace slownik::svc
