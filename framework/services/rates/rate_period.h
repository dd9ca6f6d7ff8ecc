#pragma once
#include <functional>
#include <optional>
#include <string>

#include "framework/sql/database.h"

namespace slownik::svc {

//! A period whose tables are downloaded at once, both ends included.
struct RatePeriod {
  long from = 0;
  long to = 0;
  bool nbp = true;  //!< the Polish central bank's tables A and C
  bool ecb = true;  //!< the European Central Bank's euro reference rates
};

//! The day after the longest period that starts on `from` may have: the same date a year
//! later (a year from 29 February ends on the last day of the next February).
long ratePeriodLimit(long from);

//! Why the period can't be asked, in Polish ("" fields: none of the two ends given);
//! nullopt when it can. Tables of days after `today` do not exist yet.
std::optional<std::string> ratePeriodProblem(const RatePeriod& period, long today);

//! The requests the period takes: two per stretch of up to 93 days for the Polish bank
//! (tables A and C), one history file for the European one.
int ratePeriodRequests(const RatePeriod& period);

//! Where a period download stands, told before each request and after each day stored.
struct RatePeriodStep {
  std::string what;  //!< the request under way: "NBP, tabela A: 2025-12-01 – 2026-03-03"
  int requestsDone = 0;
  int requestsTotal = 0;
  int storedDays = 0;  //!< tables stored so far, both banks
};
//! Answers false to stop there (the person cancelled); what was stored stays.
using RatePeriodProgress = std::function<bool(const RatePeriodStep&)>;

struct RatePeriodDownload {
  bool ok = false;         //!< every request answered and every table of the period stored
  bool cancelled = false;  //!< stopped by the person; the tables stored before stay
  std::string error;       //!< Polish text when neither ok nor cancelled; what was stored stays
  int requests = 0;        //!< requests made to the banks
  int nbpStored = 0;       //!< tables stored now, per bank
  int ecbStored = 0;
  int nbpKept = 0;  //!< tables that were in the database already, left as they were
  int ecbKept = 0;
  int stored() const { return nbpStored + ecbStored; }
};

//! Downloads every table the banks published in the period and stores each day's table
//! as the one-day download does (a DATY_KURSOW row and the rates of the dictionary's
//! currencies), each day in a transaction of its own. Days on which a bank published no
//! table (weekends, holidays) get nothing; a day already stored is left alone.
RatePeriodDownload downloadRatePeriod(sql::Database& db, const RatePeriod& period,
                                      const RatePeriodProgress& progress = {});

}  // namespace slownik::svc
