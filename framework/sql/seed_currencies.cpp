#include "framework/runtime/date_time.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

// Currencies with PLN as the base, and three NBP tables of average rates.
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
  long long dateId = 0;
  for (const auto& t : tables) {
    ++dateId;
    if (Status s = insertRows(db, "DATY_KURSOW", {"ID_DATY", "ID_BANKU", "DATA_NOT", "GODZ_NOT", "NR_TABELI"},
                              {{num(dateId), num(0), num(rt::dayNumber(2024, 1, t.day)), num(rt::timeValue(12, 15, 0)),
                                text(t.number)}});
        !s)
      return s;
    rows.clear();
    for (const auto& c : currencies) {
      double mid = c.rate * t.drift;
      // Buying and selling rates a bank might quote around the average.
      rows.push_back({num(dateId), text(c.symbol), dec(mid * 0.99, 4), dec(mid * 1.01, 4), dec(mid, 4)});
    }
    if (Status s = insertRows(db, "KURSY_WALUT", {"ID_DATY", "SYM_WALUTY", "KURS_ZAKUPU", "KURS_SPRZEDAZY", "KURS_SREDNI"},
                              rows);
        !s)
      return s;
  }
  return {};
}

}  // namespace slownik::sql::seed
