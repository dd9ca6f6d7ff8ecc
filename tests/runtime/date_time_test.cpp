#include <gtest/gtest.h>

#include <ctime>

#include "framework/runtime/date_time.h"

namespace slownik::rt {
namespace {

TEST(DateTime, DayNumbersMatchTheCalendar) {
  struct Case {
    std::int32_t day;
    CivilDate date;
    int weekday;  // 0 Sunday
  };
  const Case cases[] = {
      {4, {1801, 1, 1}, 4},        // a Thursday
      {36163, {1900, 1, 1}, 1},    // the anchor the database's CAST relies on; a Monday
      {36219, {1900, 2, 26}, 1},   // 1900 is not a leap year ...
      {36222, {1900, 3, 1}, 4},
      {72746, {2000, 2, 29}, 2},   // ... 2000 is
      {82525, {2026, 12, 8}, 2},
      {2994626, {9999, 12, 31}, 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dayNumber(c.date.year, c.date.month, c.date.day), c.day) << c.day;
    auto d = civilDate(c.day);
    ASSERT_TRUE(d.has_value()) << c.day;
    EXPECT_EQ(*d, c.date) << c.day;
    EXPECT_EQ(dayOfWeek(c.day), c.weekday) << c.day;
  }
  // Every day of four centuries goes there and back.
  for (std::int32_t day = 36163; day < 36163 + 146097; ++day) {
    auto d = civilDate(day);
    ASSERT_TRUE(d.has_value());
    ASSERT_EQ(dayNumber(d->year, d->month, d->day), day);
  }
}

TEST(DateTime, ImpossibleDatesHaveNoDayNumber) {
  struct Case {
    int year, month, day;
  };
  const Case cases[] = {{2026, 2, 29}, {2026, 2, 31}, {2026, 4, 31}, {2026, 13, 1}, {2026, 0, 10},
                        {2026, 1, 0},  {1900, 2, 29}, {1800, 12, 31}, {10000, 1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(dayNumber(c.year, c.month, c.day), 0) << c.year << "-" << c.month << "-" << c.day;
  }
  EXPECT_FALSE(civilDate(0).has_value());
  EXPECT_FALSE(civilDate(-5).has_value());
  EXPECT_FALSE(civilDate(kLastDay + 1).has_value());
}

TEST(DateTime, TodayAndNowFollowTheClock) {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  auto d = civilDate(today());
  ASSERT_TRUE(d.has_value());
  // Only the year is compared: the two clock readings may straddle midnight.
  EXPECT_EQ(d->year, tm.tm_year + 1900);
  auto clock = clockTime(now());
  ASSERT_TRUE(clock.has_value());
  EXPECT_GE(clock->hour, 0);
  EXPECT_LE(clock->hour, 23);
}

TEST(DateTime, TimeValuesAreCentisecondsPlusOne) {
  EXPECT_EQ(timeValue(0, 0, 0), 1);
  EXPECT_EQ(timeValue(8, 5, 30), 8 * 360000 + 5 * 6000 + 30 * 100 + 1);
  EXPECT_EQ(timeValue(23, 59, 59, 99), kLastTime);
  EXPECT_EQ(timeValue(24, 0, 0), 0);
  EXPECT_EQ(timeValue(12, 60, 0), 0);
  EXPECT_EQ(clockTime(timeValue(14, 7, 9, 55)), (ClockTime{14, 7, 9, 55}));
  EXPECT_FALSE(clockTime(0).has_value());
  EXPECT_FALSE(clockTime(kLastTime + 1).has_value());
}

TEST(DateTime, FormatsTheShortPolishForms) {
  EXPECT_EQ(formatShortDate(82525), "08.12.2026");
  EXPECT_EQ(formatShortDate(4), "01.01.1801");
  EXPECT_EQ(formatShortDate(0), "");
  EXPECT_EQ(formatShortDate(-1), "");
  EXPECT_EQ(formatTime(timeValue(8, 5, 3), false), "08:05");
  EXPECT_EQ(formatTime(timeValue(8, 5, 3), true), "08:05:03");
  EXPECT_EQ(formatTime(1, true), "00:00:00");
  EXPECT_EQ(formatTime(0, false), "");
}

TEST(DateTime, ReadsDatesAsOfficeStaffTypeThem) {
  const std::int32_t ref = dayNumber(2026, 6, 15);
  struct Case {
    const char* text;
    TwoDigitYears rule;
    CivilDate expected;  // year 0 = refused
  };
  const auto F = TwoDigitYears::NearFuture;
  const auto P = TwoDigitYears::Past;
  const Case cases[] = {
      {"8.12.2026", F, {2026, 12, 8}},
      {"08.12.2026", F, {2026, 12, 8}},
      {"08-12-2026", F, {2026, 12, 8}},
      {"8/12/2026", F, {2026, 12, 8}},
      {"8 12 2026", F, {2026, 12, 8}},
      {" 8.12.2026. ", F, {2026, 12, 8}},
      {"2026-12-08", F, {2026, 12, 8}},
      {"2026.12.8", F, {2026, 12, 8}},
      {"081226", F, {2026, 12, 8}},
      {"08122026", F, {2026, 12, 8}},
      {"0812", F, {2026, 12, 8}},
      {"8.12", F, {2026, 12, 8}},
      {"29.02.2028", F, {2028, 2, 29}},
      // Two-digit years: document dates reach 19 years ahead, birth dates never ahead.
      {"1.1.45", F, {2045, 1, 1}},
      {"1.1.46", F, {1946, 1, 1}},
      {"12.05.65", F, {1965, 5, 12}},
      {"1.1.26", P, {2026, 1, 1}},
      {"1.1.27", P, {1927, 1, 1}},
      {"120565", P, {1965, 5, 12}},
      // Refused.
      {"31.02.2026", F, {}},
      {"29.02.2027", F, {}},
      {"32.01.2026", F, {}},
      {"1.13.2026", F, {}},
      {"0.1.2026", F, {}},
      {"1.1.1800", F, {}},
      {"1.1.202", F, {}},
      {"12345", F, {}},
      {"8..12.2026", F, {}},
      {"8.12.2026.1", F, {}},
      {"2026-12", F, {}},
      {"jutro", F, {}},
      {"8.grudnia.2026", F, {}},
      {"", F, {}},
      {"123.1.2026", F, {}},
  };
  for (const auto& c : cases) {
    auto day = parseDate(c.text, c.rule, ref);
    if (c.expected.year == 0) {
      EXPECT_FALSE(day.has_value()) << c.text;
      continue;
    }
    ASSERT_TRUE(day.has_value()) << c.text;
    EXPECT_EQ(civilDate(*day), c.expected) << c.text;
  }
}

TEST(DateTime, ReadsTypedTimes) {
  struct Case {
    const char* text;
    std::int32_t expected;  // 0 = refused
  };
  const Case cases[] = {
      {"8:05", timeValue(8, 5, 0)},     {"08:05", timeValue(8, 5, 0)},   {"8.05", timeValue(8, 5, 0)},
      {"08:05:30", timeValue(8, 5, 30)}, {"8", timeValue(8, 0, 0)},      {"805", timeValue(8, 5, 0)},
      {"0805", timeValue(8, 5, 0)},     {"080530", timeValue(8, 5, 30)}, {" 23:59 ", timeValue(23, 59, 0)},
      {"0:00", 1},                      {"24:00", 0},                    {"12:60", 0},
      {"12:5", 0},                      {"12:05:61", 0},                 {"08055", 0},
      {"8:05:30:10", 0},                {"ósma", 0},                     {"", 0},
      {":30", 0},
  };
  for (const auto& c : cases) {
    auto t = parseTime(c.text);
    if (c.expected == 0) {
      EXPECT_FALSE(t.has_value()) << c.text;
    } else {
      ASSERT_TRUE(t.has_value()) << c.text;
      EXPECT_EQ(*t, c.expected) << c.text;
    }
  }
}

}  // namespace
}  // namespace slownik::rt
