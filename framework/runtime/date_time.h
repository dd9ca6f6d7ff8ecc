#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slownik::rt {

//! Dates are day numbers: 36163 is 1 January 1900, one more per day, 0 = no date.
//! The database turns them into datetimes as CAST((DATA-36163) AS datetime), so 36163 is
//! the anchor everything relies on; it makes 1 January 1801 day 4 and 28 December 1800
//! day 0 (the "no date" value), so the first real day is 29 December 1800.
//! We read and write dates from 1 January 1801 to 31 December 9999.
constexpr std::int32_t kDay1900 = 36163;
constexpr std::int32_t kFirstDay = 4;         // 1 January 1801
constexpr std::int32_t kLastDay = 2994626;    // 31 December 9999

//! Times are centiseconds since midnight plus one: 1 is 00:00:00.00, 8640000 is
//! 23:59:59.99, 0 = no time.
constexpr std::int32_t kTimeHour = 360000;
constexpr std::int32_t kTimeMinute = 6000;
constexpr std::int32_t kTimeSecond = 100;
constexpr std::int32_t kLastTime = 8640000;

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int centisecond = 0;
  friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(int year, int month, int day);

//! Day number of a calendar date; 0 when the date does not exist or lies outside
//! 1801..9999.
std::int32_t dayNumber(int year, int month, int day);
//! Calendar date of a day number; empty for 0 and for numbers outside kFirstDay..kLastDay.
std::optional<CivilDate> civilDate(std::int32_t day);
//! 0 Sunday, 1 Monday, ... 6 Saturday (the day number modulo 7).
int dayOfWeek(std::int32_t day);
//! Today's day number in local time.
std::int32_t today();

//! Time value of a clock time; 0 when a part is out of range.
std::int32_t timeValue(int hour, int minute, int second, int centisecond = 0);
//! Clock time of a time value; empty for 0 and values outside 1..kLastTime.
std::optional<ClockTime> clockTime(std::int32_t time);
//! The current local time as a time value.
std::int32_t now();

//! How a two-digit year typed into a date field is completed.
enum class TwoDigitYears {
  //! Dates of documents, rates and validity: from 80 years back to 19 years ahead of the
  //! reference year ("26" in 2026 is 2026, "45" is 2045, "65" is 1965).
  NearFuture,
  //! Birth dates: never after the reference year ("26" in 2026 is 2026, "30" is 1930).
  Past,
};

//! "dd.mm.yyyy", the short date format of the Polish desktop; "" for no or an invalid date.
std::string formatShortDate(std::int32_t day);
//! "hh:mm" or "hh:mm:ss"; "" for no or an invalid time.
std::string formatTime(std::int32_t time, bool withSeconds);

//! Reads a date as office staff type it. Accepted:
//!  - day, month and year separated by '.', '-', '/' or a blank: "8.12.2026", "08-12-2026",
//!    "8/12/26" (two-digit years completed by the rule);
//!  - year first when it has four digits: "2026-12-08", "2026.12.8";
//!  - digits only: "081226" (ddmmyy), "08122026" (ddmmyyyy), "0812" (ddmm, reference year);
//!  - day and month only: "8.12" (the reference year).
//! A single trailing '.' is ignored ("8.12.2026."). Impossible dates (31.02, month 13) and
//! years outside 1801..9999 are refused. The reference day supplies the year where none is
//! typed and the century of two-digit years.
std::optional<std::int32_t> parseDate(std::string_view text, TwoDigitYears rule, std::int32_t referenceDay);

//! Reads a time: "8:05", "08:05", "8.05", "08:05:30", digits only "8" (08:00), "805" and
//! "0805" (08:05), "080530". Hours 0..23, minutes and seconds 0..59.
std::optional<std::int32_t> parseTime(std::string_view text);

}  // namespace slownik::rt
