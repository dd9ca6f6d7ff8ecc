#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

// VAT rates, countries and the sixteen provinces.
Status seedTaxAndGeography(Database& db) {
  // "zw" (exempt) and "np" (not subject to tax) carry no rate; the lists sort them last.
  if (Status s = insertRows(db, "STAWKA_VAT", {"KOD_VAT", "NAZWA", "STAWKA", "AKTYWNY"},
                            {{text("23"), text("23%"), dec("23.00"), num(1)},
                             {text("8"), text("8%"), dec("8.00"), num(1)},
                             {text("5"), text("5%"), dec("5.00"), num(1)},
                             {text("0"), text("0%"), dec("0.00"), num(1)},
                             {text("zw"), text("zwolniona"), dec("0.00"), num(1)},
                             {text("np"), text("nie podlega"), dec("0.00"), num(1)},
                             {text("22"), text("22% (archiwalna)"), dec("22.00"), num(0)}});
      !s)
    return s;

  struct Country {
    const char* symbol;
    const char* name;
  };
  static const Country countries[] = {
      // the European Union
      {"AT", "Austria"}, {"BE", "Belgia"}, {"BG", "Bułgaria"}, {"HR", "Chorwacja"}, {"CY", "Cypr"},
      {"CZ", "Czechy"}, {"DK", "Dania"}, {"EE", "Estonia"}, {"FI", "Finlandia"}, {"FR", "Francja"},
      {"GR", "Grecja"}, {"ES", "Hiszpania"}, {"NL", "Holandia"}, {"IE", "Irlandia"}, {"LT", "Litwa"},
      {"LU", "Luksemburg"}, {"LV", "Łotwa"}, {"MT", "Malta"}, {"DE", "Niemcy"}, {"PL", "Polska"},
      {"PT", "Portugalia"}, {"RO", "Rumunia"}, {"SK", "Słowacja"}, {"SI", "Słowenia"}, {"SE", "Szwecja"},
      {"HU", "Węgry"}, {"IT", "Włochy"},
      // the Union itself, as the country of the euro
      {"EU", "Unia Europejska"},
      // others
      {"GB", "Wielka Brytania"}, {"US", "Stany Zjednoczone"}, {"CH", "Szwajcaria"}, {"NO", "Norwegia"},
      {"IS", "Islandia"}, {"LI", "Liechtenstein"}, {"UA", "Ukraina"}, {"BY", "Białoruś"}, {"RU", "Rosja"},
      {"TR", "Turcja"}, {"CN", "Chiny"}, {"JP", "Japonia"}, {"KR", "Korea Południowa"}, {"IN", "Indie"},
      {"CA", "Kanada"}, {"AU", "Australia"}};
  std::vector<Row> rows;
  for (const auto& c : countries) rows.push_back({text(c.symbol), text(c.name)});
  if (Status s = insertRows(db, "KRAJE", {"SYM_KRAJU", "NAZWA"}, rows); !s) return s;

  static const char* const provinces[] = {
      "dolnośląskie", "kujawsko-pomorskie", "lubelskie",     "lubuskie",
      "łódzkie",      "małopolskie",        "mazowieckie",   "opolskie",
      "podkarpackie", "podlaskie",          "pomorskie",     "śląskie",
      "świętokrzyskie", "warmińsko-mazurskie", "wielkopolskie", "zachodniopomorskie"};
  rows.clear();
  long long id = 0;
  for (const char* p : provinces) rows.push_back({num(++id), text(p)});
  return insertRows(db, "WOJEWODZTWO", {"ID_WOJEWODZTWA", "WOJEWODZTWO"}, rows);
}

}  // namespace slownik::sql::seed
