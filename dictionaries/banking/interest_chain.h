#pragma once
// The periods of an interest table (ODSETKI) form a chain: each one runs from its start
// day (OD_DNIA) to the day before the next period starts (DO_DNIA). The period form
// never sets DO_DNIA; these functions keep it right after each insert, delete or move of
// a period. They work on the calling thread's connection, one transaction each.
//
// The last period has no end yet: its DO_DNIA is 0 (kOpenEnd), which is also what a
// period gets when it is written without an end. A NULL left by older data counts as 0.
#include <cstdint>
#include <string>

namespace slownik::banking {

inline constexpr std::int32_t kOpenEnd = 0;

//! A new period starting on `start` was written: the period before it ends the day
//! before `start`, and the new one ends the day before the next one starts (without a
//! next period it keeps the end it was written with).
void chainAfterInsert(double tableId, std::int32_t start);
//! The period that ran from `start` to `end` was deleted: the period before it takes
//! over its end.
void chainAfterDelete(double tableId, std::int32_t start, std::int32_t end);
//! A period that ran from `oldStart` to `oldEnd` now starts on `newStart`: its old
//! place closes as after a delete, and it is chained at its new place as a new period
//! with no end. Nothing happens when the start day stayed.
void chainAfterMove(double tableId, std::int32_t oldStart, std::int32_t oldEnd, std::int32_t newStart);

//! Outcome of a check query: the answer, or the database's text when it could not run.
struct PeriodCheck {
  bool found = false;
  std::string error;  //!< "" when the query ran
  bool failed() const { return !error.empty(); }
};
//! Whether a period of the table starts on `day` (the last, open period included).
PeriodCheck periodStartsOn(double tableId, std::int32_t day);
//! Whether a period of the table ends before it starts (open periods have no end and
//! never count).
PeriodCheck hasInvertedPeriod(double tableId);

}  // namespace slownik::banking
