#include <cstdio>
#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

namespace {

// A day the banks publish tables on: Monday to Friday but the fixed-date public holidays
// (the movable feasts are left out: a demo table on Easter Monday harms nobody).
bool isWorkingDay(std::int32_t day) {
  const int weekday = rt::dayOfWeek(day);
  if (weekday == 0 || weekday == 6) return false;
  const auto date = rt::civilDate(day);
  if (!date) return false;
  static const int holidays[][2] = {{1, 1}, {1, 6}, {5, 1}, {5, 3}, {8, 15}, {11, 1}, {11, 11}, {12, 24}, {12, 25}, {12, 26}};
  for (const auto& h : holidays)
    if (date->month == h[0] && date->day == h[1]) return false;
  return true;
}

// The `count` working days just before `day`, oldest first.
std::vector<std::int32_t> lastBusinessDays(std::int32_t day, int count) {
  std::vector<std::int32_t> days;
  for (std::int32_t d = day - 1; static_cast<int>(days.size()) < count && d > 0; --d)
    if (isWorkingDay(d)) days.insert(days.begin(), d);
  return days;
}

// "NNN/A/NBP/YYYY": the table's number counts the working days of its year.
std::string nbpTableNumber(std::int32_t day) {
  const auto date = rt::civilDate(day);
  if (!date) return {};
  int n = 0;
  for (std::int32_t d = rt::dayNumber(date->year, 1, 1); d <= day; ++d)
    if (isWorkingDay(d)) ++n;
  char number[32];
  std::snprintf(number, sizeof number, "%03d/A/NBP/%d", n, date->year);
  return number;
}

}  // namespace

// Currencies with PLN as the base; three NBP tables of average rates from 2024, and the
// NBP and ECB tables of the last working days before the database was made.
Status seedCurrencies(Database& db) {
  struct Currency {
    const char* symbol;
    const char* country;
    const char* name;
    int multiplier;  // NBP quotes some currencies per 100 units
    double rate;     // PLN for `multiplier` units on the first demo day
  };
  // Demo values of the order of the published rates, not the published rates themselves.
  static const Currency currencies[] = {
      {"EUR", "EU", "Euro", 1, 4.3434},          {"USD", "US", "Dolar amerykański", 1, 3.9432},
      {"GBP", "GB", "Funt szterling", 1, 5.0119}, {"CHF", "CH", "Frank szwajcarski", 1, 4.6826},
      {"CZK", "CZ", "Korona czeska", 1, 0.1756},  {"SEK", "SE", "Korona szwedzka", 1, 0.3918},
      {"NOK", "NO", "Korona norweska", 1, 0.3860}, {"DKK", "DK", "Korona duńska", 1, 0.5827},
      {"HUF", "HU", "Forint węgierski", 100, 1.1366}, {"JPY", "JP", "Jen japoński", 100, 2.7799},
      {"UAH", "UA", "Hrywna ukraińska", 1, 0.1039}};

  std::vector<Row> rows = {{text("PLN"), text("PL"), text("Złoty polski"), num(1), num(1)}};
  for (const auto& c : currencies)
    rows.push_back({text(c.symbol), text(c.country), text(c.name), num(0), num(c.multiplier)});
  if (Status s = insertRows(db, "WALUTY", {"SYM_WALUTY", "SYM_KRAJU", "NAZWA", "NUMER", "MNOZNIK_WALUTY"}, rows); !s)
    return s;

  struct Table {
    int day;
    const char* number;
    double drift;  // the day's rates against the first day's
  };
  static const Table tables[] = {{2, "001/A/NBP/2024", 1.0}, {3, "002/A/NBP/2024", 1.0031}, {4, "003/A/NBP/2024", 0.9978}};
  std::vector<Row> dates, rates;
  long long dateId = 0;
  // Buying and selling rates a bank might quote around the average; the central bank of
  // the euro publishes averages only, as its downloads store them.
  auto addTable = [&](long long bank, std::int32_t day, const std::string& number, double drift) {
    ++dateId;
    dates.push_back({num(dateId), num(bank), num(day), num(rt::timeValue(bank == 0 ? 12 : 16, bank == 0 ? 15 : 0, 0)),
                     number.empty() ? null() : text(number)});
    for (const auto& c : currencies) {
      const double mid = c.rate * drift;
      if (bank == 0)
        rates.push_back({num(dateId), text(c.symbol), dec(mid * 0.99, 4), dec(mid * 1.01, 4), dec(mid, 4)});
      else
        rates.push_back({num(dateId), text(c.symbol), dec("0"), dec("0"), dec(mid, 4)});
    }
  };
  for (const auto& t : tables) addTable(0, rt::dayNumber(2024, 1, t.day), t.number, t.drift);
  // And the last three business days before the database was made, from both banks, so
  // that a new database shows rates for "today" as a working one would.
  for (std::int32_t day : lastBusinessDays(rt::today(), 3)) {
    const double drift = 1.0 + 0.0007 * (day % 5);
    addTable(0, day, nbpTableNumber(day), drift);
    addTable(-1, day, "", drift * 1.0012);
  }
  if (Status s = insertRows(db, "DATY_KURSOW", {"ID_DATY", "ID_BANKU", "DATA_NOT", "GODZ_NOT", "NR_TABELI"}, dates); !s)
    return s;
  return insertRows(db, "KURSY_WALUT", {"ID_DATY", "SYM_WALUTY", "KURS_ZAKUPU", "KURS_SPRZEDAZY", "KURS_SREDNI"},
                    rates);
}

}  // namespace slownik::sql::seed
