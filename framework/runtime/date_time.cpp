#include "framework/runtime/date_time.h"

#include <chrono>
#include <ctime>
#include <vector>

namespace slownik::rt {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-days formula).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t kUnixDay1900 = daysFromCivil(1900, 1, 1);
static_assert(daysFromCivil(9999, 12, 31) - kUnixDay1900 + kDay1900 == kLastDay);
static_assert(daysFromCivil(1801, 1, 1) - kUnixDay1900 + kDay1900 == kFirstDay);

std::tm localNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

std::string twoDigits(int n) {
  return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int toInt(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

int completeYear(int twoDigit, TwoDigitYears rule, int referenceYear) {
  int century = referenceYear - referenceYear % 100;
  int year = century + twoDigit;
  int latest = rule == TwoDigitYears::Past ? referenceYear : referenceYear + 19;
  if (year > latest) year -= 100;
  if (year <= latest - 100) year += 100;
  return year;
}

// Splits at runs of the accepted separators; empty when a part is not all digits.
std::vector<std::string_view> dateParts(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    bool sep = i == text.size() || text[i] == '.' || text[i] == '-' || text[i] == '/' || text[i] == ' ';
    if (!sep) continue;
    if (i == start) return {};  // two separators in a row, or one at the start
    parts.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  for (auto p : parts) {
    if (!allDigits(p)) return {};
  }
  return parts;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return year >= 1801 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

std::int32_t dayNumber(int year, int month, int day) {
  if (!isValidDate(year, month, day)) return 0;
  return static_cast<std::int32_t>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                   kUnixDay1900 + kDay1900);
}

std::optional<CivilDate> civilDate(std::int32_t day) {
  if (day < kFirstDay || day > kLastDay) return std::nullopt;
  return civilFromDays(static_cast<std::int64_t>(day) - kDay1900 + kUnixDay1900);
}

int dayOfWeek(std::int32_t day) {
  int r = day % 7;
  return r < 0 ? r + 7 : r;
}

std::int32_t today() {
  std::tm tm = localNow();
  return dayNumber(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::int32_t timeValue(int hour, int minute, int second, int centisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || centisecond < 0 ||
      centisecond > 99) {
    return 0;
  }
  return hour * kTimeHour + minute * kTimeMinute + second * kTimeSecond + centisecond + 1;
}

std::optional<ClockTime> clockTime(std::int32_t time) {
  if (time < 1 || time > kLastTime) return std::nullopt;
  int cs = time - 1;
  return ClockTime{cs / kTimeHour, cs / kTimeMinute % 60, cs / kTimeSecond % 60, cs % 100};
}

std::int32_t now() {
  std::tm tm = localNow();
  auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  int centis = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000 / 10);
  // A leap second (tm_sec 60) is shown as the last second of the minute.
  return timeValue(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, centis);
}

std::string formatShortDate(std::int32_t day) {
  auto d = civilDate(day);
  if (!d) return "";
  std::string year = std::to_string(d->year);
  return twoDigits(d->day) + "." + twoDigits(d->month) + "." + std::string(4 - year.size(), '0') + year;
}

std::string formatTime(std::int32_t time, bool withSeconds) {
  auto t = clockTime(time);
  if (!t) return "";
  std::string text = twoDigits(t->hour) + ":" + twoDigits(t->minute);
  if (withSeconds) text += ":" + twoDigits(t->second);
  return text;
}

std::optional<std::int32_t> parseDate(std::string_view text, TwoDigitYears rule, std::int32_t referenceDay) {
  text = trimmed(text);
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  auto reference = civilDate(referenceDay);
  int referenceYear = reference ? reference->year : 2000;

  int day = 0;
  int month = 0;
  int year = 0;
  std::string_view yearText;
  if (allDigits(text)) {
    switch (text.size()) {
      case 4:
      case 6:
      case 8:
        day = toInt(text.substr(0, 2));
        month = toInt(text.substr(2, 2));
        yearText = text.substr(4);
        break;
      default:
        return std::nullopt;
    }
  } else {
    auto parts = dateParts(text);
    if (parts.size() == 3 && parts[0].size() == 4) {
      yearText = parts[0];
      if (parts[1].size() > 2 || parts[2].size() > 2) return std::nullopt;
      month = toInt(parts[1]);
      day = toInt(parts[2]);
    } else if (parts.size() == 2 || parts.size() == 3) {
      if (parts[0].size() > 2 || parts[1].size() > 2) return std::nullopt;
      day = toInt(parts[0]);
      month = toInt(parts[1]);
      if (parts.size() == 3) {
        yearText = parts[2];
        if (yearText.size() != 2 && yearText.size() != 4) return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
  }
  if (yearText.empty()) {
    year = referenceYear;
  } else if (yearText.size() == 2) {
    year = completeYear(toInt(yearText), rule, referenceYear);
  } else if (yearText.size() == 4) {
    year = toInt(yearText);
  } else {
    return std::nullopt;
  }
  std::int32_t n = dayNumber(year, month, day);
  if (n == 0) return std::nullopt;
  return n;
}

std::optional<std::int32_t> parseTime(std::string_view text) {
  text = trimmed(text);
  int h = 0;
  int m = 0;
  int s = 0;
  if (allDigits(text)) {
    switch (text.size()) {
      case 1:
      case 2:
        h = toInt(text);
        break;
      case 3:
      case 4:
        h = toInt(text.substr(0, text.size() - 2));
        m = toInt(text.substr(text.size() - 2));
        break;
      case 6:
        h = toInt(text.substr(0, 2));
        m = toInt(text.substr(2, 2));
        s = toInt(text.substr(4, 2));
        break;
      default:
        return std::nullopt;
    }
  } else {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != ':' && text[i] != '.') continue;
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (!allDigits(parts[i]) || parts[i].size() > 2 || (i > 0 && parts[i].size() != 2)) return std::nullopt;
    }
    h = toInt(parts[0]);
    m = toInt(parts[1]);
    if (parts.size() == 3) s = toInt(parts[2]);
  }
  std::int32_t t = timeValue(h, m, s);
  if (t == 0) return std::nullopt;
  return t;
}

}  // namespace slownik::rt
