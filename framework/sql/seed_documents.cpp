#include "framework/runtime/date_time.h"
#include "framework/sql/seed.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

// Contractor classifications, document labels, SMS templates and tracking, and the demo's
// own financial operations, payment and delivery forms and order status beside the system
// ones of the company's set-up.
Status seedDocumentSettings(Database& db) {
  const long long company = demo::kCompanyId;

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

  // The operations the system finance types name came with the company's set-up.
  if (Status s = insertRows(db, "RODZAJ_OPERACJI_FIN", {"KOD_OPERACJI", "NAZWA"},
                            {{text("ZAL"), text("Zaliczka")},
                             {text("PROW"), text("Prowizja bankowa")},
                             {text("ODS"), text("Odsetki")},
                             {text("INNE"), text("Inna operacja")}});
      !s)
    return s;

  // Shared by all companies (ID_FIRMY 0), beside the system forms of the set-up (1-3, 5).
  if (Status s = insertRows(
          db, "FORMA_PLATNOSCI",
          {"ID_FORMY", "KOD", "NAZWA", "SYSTEMOWY", "DNI_NALEZNOSCI", "DNI_ZOBOWIAZAN", "AKTYWNA", "ID_FIRMY",
           "ID_PLATNIKA", "GEN_AUTO_ROZLICZ", "WLICZAJ_DO_LIMITU"},
          {{num(4), text("PB"), text("za pobraniem"), num(0), num(7), num(7), num(1), num(0), num(0), num(0), num(1)},
           {num(6), text("KR"), text("kredyt kupiecki"), num(0), num(30), num(30), num(1), num(0), num(0), num(0),
            num(1)}});
      !s)
    return s;

  if (Status s = insertRows(db, "FORMA_DOSTAWY", {"ID_FORMY_DOSTAWY", "NAZWA", "TYP_DOSTAWY", "ID_FIRMY", "SYSTEMOWA"},
                            {{num(3), text("Paczka pocztowa"), text("poczta"), num(company), num(0)},
                             {num(4), text("Transport własny"), text("własny"), num(company), num(0)}});
      !s)
    return s;

  // A status of the user's own beside the five the set-up made.
  return insertRows(db, "VEX_SLOWNIK_STATUSOW_DOKUMENTOW",
                    {"ID_STATUSU", "OPIS_STATUSU", "KOD_STATUSU", "TYP_DOKUMENTU", "SYSTEMOWY", "AUTOMATYCZNY",
                     "AKTYWNY", "ID_SZABLONU_SMS"},
                    {{num(6), text("Przygotowane do wysyłki"), text("P"), text("Z"), num(0), num(0), num(1), num(0)}});
}

}  // namespace slownik::sql::seed
