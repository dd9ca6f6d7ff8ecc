#pragma once
#include <string>

#include "framework/services/rates/rate_table.h"
#include "framework/sql/database.h"

namespace slownik::svc {

//! The quotation sources as DATY_KURSOW.ID_BANKU holds them.
enum class RateSource : int { Nbp = 0, Ecb = -1 };

struct RateDownload {
  bool ok = false;
  long day = 0;             //!< the quotation date found (the asked day or an earlier one)
  bool alreadyThere = false;  //!< the table of that day was in the database before
  int currencies = 0;       //!< rates stored now
  std::string error;        //!< Polish text when !ok; nothing was changed then
  bool cancelled = false;   //!< the person stopped the download before anything was stored
};

//! Downloads the source's table for `day` (or the last earlier day that has one) and
//! stores it: a DATY_KURSOW row for the source and date, and a KURSY_WALUT row for every
//! currency of the WALUTY dictionary that the table quotes, multiplied by the currency's
//! multiplier. A table already stored is left as it is. All or nothing, in one transaction.
//! `progress` hears of every request to the bank and may stop the download before the
//! table is stored.
RateDownload downloadRates(sql::Database& db, RateSource source, long day, const RateProgress& progress = {});

//! Stores one table as downloadRates does (all or nothing, in one transaction): a table
//! of that source and day already holding rates is left as it is (out->alreadyThere);
//! out->currencies counts the rates stored.
sql::Status storeRateTable(sql::Database& db, RateSource source, const RateTable& table, RateDownload* out);

//! The base currency: the WALUTY row with NUMER = 1, or "PLN" when none is marked.
std::string baseCurrency(sql::Database& db);

}  // namespace slownik::svc
