#include "framework/runtime/date_time.h"
#include "framework/sql/seed.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

// System document types, financial operations, payment and delivery forms, order statuses.
Status seedDocumentSettings(Database& db) {
  const long long company = demo::kCompanyId;

  struct WarehouseType {
    const char* signature;  // exactly three characters, blank-padded
    const char* name;
    const char* kind;
    int kindClass;
    const char* valuation;
    const char* summing;
  };
  static const WarehouseType warehouseTypes[] = {
      {"PZ ", "Przyjęcie zewnętrzne", "Przychód", 1, "Zakupu", "Netto"},
      {"WZ ", "Wydanie zewnętrzne", "Rozchód", 3, "Sprzedaży", "Netto"},
      {"PW ", "Przychód wewnętrzny", "Przychód", 1, "Zakupu", "Netto"},
      {"RW ", "Rozchód wewnętrzny", "Rozchód", 3, "Zakupu", "Netto"},
      {"MP ", "Przesunięcie międzymagazynowe (przyjęcie)", "MP", 1, "Zakupu", "Netto"},
      {"MW ", "Przesunięcie międzymagazynowe (wydanie)", "MW", 3, "Zakupu", "Netto"},
      {"KPZ", "Korekta przyjęcia zewnętrznego", "Korekta przychodu", 2, "Zakupu", "Netto"},
      {"KWZ", "Korekta wydania zewnętrznego", "Korekta rozchodu", 4, "Sprzedaży", "Netto"},
      {"INW", "Inwentaryzacja", "Remanent", 5, "Zakupu", "Netto"},
      {"ZAM", "Zamówienie od odbiorcy", "Zamówienie", 0, "Sprzedaży", "Brutto"},
      {"ZLP", "Zlecenie produkcyjne", "Zlecenie", 0, "Zakupu", "Netto"}};
  // Contractor classifications are kept once for every company (company 0); new
  // contractors go to the default one.
  if (Status s = insertRows(db, "KLASYFIKACJA_KONTRAHENTA", {"ID_KLASYFIKACJI", "ID_FIRMY", "NAZWA", "DOMYSLNA"},
                            {{num(1), num(0), text("Odbiorcy hurtowi"), num(1)},
                             {num(2), num(0), text("Odbiorcy detaliczni"), num(0)},
                             {num(3), num(0), text("Dostawcy"), num(0)}});
      !s)
    return s;

  // Document labels in every list but the additional tables; colours are the runtime's
  // blue-green-red numbers (-1: the list's own).
  if (Status s = insertRows(
          db, "ETYKIETA_DOKUMENTU", {"ID_ETYKIETY", "ID_FIRMY", "NAZWA", "DOKUMENT", "KOLOR_NAPISU", "KOLOR_TLA"},
          {{num(1), num(company), text("Pilne"), text("111111110"), num(0x0000C0), num(-1)},
           {num(2), num(company), text("Do wyjaśnienia"), text("111111110"), num(-1), num(0x80FFFF)},
           {num(3), num(company), text("Klient VIP"), text("111111110"), num(0x804000), num(0xC0FFC0)}});
      !s)
    return s;

  // SMS templates of the orders' list, and a tracking address with its history.
  if (Status s = insertRows(db, "SMS_SZABLON",
                            {"ID_SMS_SZABLONU", "ID_FIRMY", "PRGKOD", "KONTEKST", "NAZWA", "TRESC_WIADOMOSCI"},
                            {{num(1), num(company), num(3), text("ZAM_BRW"), text("Zamówienie gotowe do odbioru"),
                              text("Dzień dobry {Kontakt.Imie}, zamówienie {Zamowienie.Numer} czeka na odbiór.")},
                             {num(2), num(company), num(3), text("ZAM_BRW"), text("Zmiana statusu zamówienia"),
                              text("Zamówienie {Zamowienie.Numer} ma teraz status: {Zamowienie.Status}.")}});
      !s)
    return s;
  if (Status s = insertRows(db, "SMS_TRACKING_URL",
                            {"ID_TRACKING_URL", "ID_FIRMY", "NAZWA", "ADRES_WWW", "KLUCZ_SLEDZENIA", "DATA_CZAS_DATE",
                             "DATA_CZAS_TIME", "OPIS"},
                            {{num(1), num(company), text("Promocja wiosenna"), text("https://sklep.example.pl/wiosna"),
                              text("wiosna24"), num(rt::dayNumber(2024, 3, 1)), num(rt::timeValue(9, 0, 0)),
                              text("Odnośnik w wiadomościach o wiosennej promocji")}});
      !s)
    return s;
  if (Status s = insertRows(db, "SMS_TRACKING_URL_HISTORIA",
                            {"ID_HISTORII", "ID_TRACKING_URL", "ILOSC_WYSLANYCH", "ILOSC_KLIKNIETYCH",
                             "WSPOLCZYNNIK_KONWERSJI", "DATA", "CZAS"},
                            {{num(1), num(1), num(120), num(18), dec("15.00"), num(rt::dayNumber(2024, 3, 8)),
                              num(rt::timeValue(8, 0, 0))},
                             {num(2), num(1), num(340), num(61), dec("17.94"), num(rt::dayNumber(2024, 3, 15)),
                              num(rt::timeValue(8, 0, 0))}});
      !s)
    return s;

  std::vector<Row> rows;
  long long id = 0;
  for (const auto& t : warehouseTypes)
    rows.push_back({num(1), num(0), num(company), num(++id), text(t.name), text(t.kind), text(t.summing),
                    text(t.signature), text(t.valuation), num(t.kindClass)});
  if (Status s = insertRows(db, "TYP_DOKUMENTU_MAGAZYNOWEGO",
                            {"CZY_SYSTEMOWY", "FAKTURA", "ID_FIRMY", "ID_TYPU", "NAZWA", "RODZAJ", "SUMOWANIE",
                             "SYGNATURA", "WYCENA", "KLASA_RODZAJU"},
                            rows);
      !s)
    return s;

  struct TradeType {
    const char* signature;
    const char* name;
    const char* kindCode;
    int kindClass;
    const char* summing;
  };
  static const TradeType tradeTypes[] = {
      {"FV", "Faktura VAT sprzedaży", "s", 1, "Netto"},    {"PA", "Paragon", "s", 1, "Brutto"},
      {"FZ", "Faktura VAT zakupu", "z", 3, "Netto"},       {"FVk", "Korekta faktury sprzedaży", "ks", 2, "Netto"},
      {"FZk", "Korekta faktury zakupu", "kz", 4, "Netto"}, {"PR", "Rachunek", "s", 1, "Brutto"}};
  rows.clear();
  id = 0;
  for (const auto& t : tradeTypes)
    rows.push_back({num(1), num(++id), num(company), text(t.name), text(t.signature), text(t.kindCode), text(t.summing),
                    num(t.kindClass), num(1)});
  if (Status s = insertRows(db, "TYP_DOKUMENTU_HANDLOWEGO",
                            {"CZY_SYSTEMOWY", "ID_TYPU", "ID_FIRMY", "NAZWA", "SYGNATURA", "KOD_RODZAJU", "SUMOWANIE",
                             "KLASA_RODZAJU", "AKTYWNY"},
                            rows);
      !s)
    return s;

  if (Status s = insertRows(db, "RODZAJ_OPERACJI_FIN", {"KOD_OPERACJI", "NAZWA"},
                            {{text("WPL"), text("Wpłata należności")},
                             {text("WYP"), text("Wypłata zobowiązania")},
                             {text("ZAL"), text("Zaliczka")},
                             {text("PROW"), text("Prowizja bankowa")},
                             {text("ODS"), text("Odsetki")},
                             {text("KOMP"), text("Kompensata")},
                             {text("INNE"), text("Inna operacja")}});
      !s)
    return s;

  // Direction: "w" inflow, "y" outflow, "c" compensation; kind: "k" cash desk, "b" bank, "c" compensation.
  if (Status s = insertRows(
          db, "TYP_DOKUMENTU_FINANSOWEGO",
          {"ID_TYPU", "ID_FIRMY", "KIERUNEK", "NAZWA", "RODZAJ_OPERACJI", "SYGNATURA", "CZY_SYSTEMOWY",
           "KOD_OPERACJI_DOM"},
          {{num(1), num(company), text("w"), text("Kasa przyjmie"), text("k"), text("KP"), num(1), text("WPL")},
           {num(2), num(company), text("y"), text("Kasa wypłaci"), text("k"), text("KW"), num(1), text("WYP")},
           {num(3), num(company), text("w"), text("Wpływ na rachunek bankowy"), text("b"), text("BP"), num(1),
            text("WPL")},
           {num(4), num(company), text("y"), text("Przelew z rachunku bankowego"), text("b"), text("BW"), num(1),
            text("WYP")},
           {num(5), num(company), text("c"), text("Kompensata"), text("c"), text("KOM"), num(1), text("KOMP")}});
      !s)
    return s;

  // Shared by all companies (ID_FIRMY 0). GEN_AUTO_ROZLICZ 1 = cash receipts and payments.
  if (Status s = insertRows(
          db, "FORMA_PLATNOSCI",
          {"ID_FORMY", "KOD", "NAZWA", "SYSTEMOWY", "DNI_NALEZNOSCI", "DNI_ZOBOWIAZAN", "AKTYWNA", "ID_FIRMY",
           "ID_PLATNIKA", "GEN_AUTO_ROZLICZ", "WLICZAJ_DO_LIMITU"},
          {{num(1), text("G"), text("gotówka"), num(1), num(0), num(0), num(1), num(0), num(0), num(1), num(0)},
           {num(2), text("P"), text("przelew"), num(1), num(14), num(14), num(1), num(0), num(0), num(0), num(1)},
           {num(3), text("K"), text("karta płatnicza"), num(1), num(0), num(0), num(1), num(0), num(0), num(2), num(0)},
           {num(4), text("PB"), text("za pobraniem"), num(0), num(7), num(7), num(1), num(0), num(0), num(0), num(1)},
           {num(5), text("KOM"), text("kompensata"), num(1), num(0), num(0), num(1), num(0), num(0), num(0), num(0)},
           {num(6), text("KR"), text("kredyt kupiecki"), num(0), num(30), num(30), num(1), num(0), num(0), num(0),
            num(1)}});
      !s)
    return s;

  if (Status s = insertRows(db, "FORMA_DOSTAWY", {"ID_FORMY_DOSTAWY", "NAZWA", "TYP_DOSTAWY", "ID_FIRMY", "SYSTEMOWA"},
                            {{num(1), text("Odbiór osobisty"), text("osobisty"), num(company), num(1)},
                             {num(2), text("Przesyłka kurierska"), text("kurier"), num(company), num(1)},
                             {num(3), text("Paczka pocztowa"), text("poczta"), num(company), num(0)},
                             {num(4), text("Transport własny"), text("własny"), num(company), num(0)}});
      !s)
    return s;

  // The five codes the order handling relies on, and one status of the user's own.
  return insertRows(db, "VEX_SLOWNIK_STATUSOW_DOKUMENTOW",
                    {"ID_STATUSU", "OPIS_STATUSU", "KOD_STATUSU", "TYP_DOKUMENTU", "SYSTEMOWY", "AUTOMATYCZNY",
                     "AKTYWNY", "ID_SZABLONU_SMS"},
                    {{num(1), text("Nowe"), text("N"), text("Z"), num(1), num(1), num(1), num(0)},
                     {num(2), text("Częściowo zrealizowane"), text("C"), text("Z"), num(1), num(1), num(1), num(0)},
                     {num(3), text("Zrealizowane"), text("Z"), text("Z"), num(1), num(1), num(1), num(0)},
                     {num(4), text("Wstrzymane"), text("Y"), text("Z"), num(1), num(0), num(1), num(0)},
                     {num(5), text("Anulowane"), text("A"), text("Z"), num(1), num(0), num(1), num(0)},
                     {num(6), text("Przygotowane do wysyłki"), text("P"), text("Z"), num(0), num(0), num(1), num(0)}});
}

}  // namespace slownik::sql::seed
