#pragma once
#include <cstdint>

namespace slownik::svc {

//! Downloads the Polish central bank's tables for `date` (0 or less: today), or for the
//! last earlier day that has them, into DATY_KURSOW/KURSY_WALUT. Returns 1 when that
//! table is in the database: `date` becomes its quotation day and `flag` 0 when it was
//! downloaded now, 1 when it was there already. Otherwise returns 0 after telling the
//! user why (no network, no table, a database error); nothing is changed then.
int POBIERZKURSYNBP(std::int32_t& date, std::int32_t& flag);
//! The same for the European Central Bank's euro reference rates, as cross rates in the
//! base currency.
int POBIERZKURSYECB(std::int32_t& date, std::int32_t& flag);

}  // namespace slownik::svc
