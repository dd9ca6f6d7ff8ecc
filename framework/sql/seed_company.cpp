#include "framework/runtime/date_time.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/seed.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {
namespace {

// The routine the company list runs for every new company.
Status setUpCompany(Database& db, long long company) {
  auto call = parseRoutineCall("call TK_InicjacjaSystemu(" + std::to_string(company) + ")");
  if (!call) return Status::failure("Dane demonstracyjne: brak procedury TK_InicjacjaSystemu");
  if (Status s = RoutineRegistry::instance().invoke(db, *call, nullptr); !s)
    return Status::failure("Dane demonstracyjne firmy: " + s.message());
  return {};
}

}  // namespace

// Banks, the demo company with its seat address and account, set up as a new company is
// (system document types, administrators, main warehouse and cash desk), a second
// warehouse and cash desk, units and price types, an employee and two contractors.
Status seedCompany(Database& db) {
  const long long company = demo::kCompanyId;
  // Settlement numbers with valid check digits, of banks that do not exist.
  if (Status s = insertRows(db, "BANKI",
                            {"ID_BANKU", "NAZWA", "NUMER_BANKU", "MIEJSCOWOSC", "ULICA_LOKAL", "KOD_POCZTOWY", "TEL",
                             "E_MAIL", "ADRES_WWW", "SEMAFOR", "FLAGA_STANU", "SWIFT"},
                            {{num(1), text("Bank Demonstracyjny S.A. Centrala"), text("19900003"), text("Warszawa"),
                              text("ul. Bankowa 1"), text("00-950"), text("22 100 00 00"), text("centrala@bank.invalid"),
                              text("bank.invalid"), num(0), num(0), text("DEMOPLPW")},
                             {num(2), text("Bank Demonstracyjny S.A. Oddział w Krakowie"), text("19900016"),
                              text("Kraków"), text("ul. Floriańska 10"), text("31-019"), text("12 200 00 00"),
                              text("krakow@bank.invalid"), text("bank.invalid"), num(0), num(0), text("DEMOPLPWKRK")},
                             {num(3), text("Bank Spółdzielczy w Żółkiewce"), text("89990003"), text("Żółkiewka"),
                              text("ul. Rynek 5"), text("22-335"), text("84 300 00 00"), text("bs@bank.invalid"),
                              null(), num(0), num(0), null()}});
      !s)
    return s;

  if (Status s = insertRows(
          db, "FIRMA",
          {"ID_FIRMY", "NAZWA", "NAZWA_PELNA", "NIP", "REGON", "PLATNIK_VAT", "MP", "KWARTALNY_VAT", "METODA_KASOWA",
           "NAZWA_REJ", "NR_W_REJ", "DATA_REJ", "DATA_ROZP_DZIAL", "NAGLOWEK", "NR_FK_PULA_OD", "NR_FK_PULA_DO",
           "NR_FK_PULA_AKTUALNY", "VEX", "TOBRA", "MILEN", "ORZ2000", "PLEW", "SEMAFOR", "ID_ADRESU_DOMYSLNEGO",
           "ID_RACHUNKU", "FLAGA_STANU"},
          {{num(company), text("Demo Handel"), text("Demo Handel Spółka z ograniczoną odpowiedzialnością"),
            text("5271000121"), text("012345675"), num(1), num(0), num(0), num(0),
            text("Krajowy Rejestr Sądowy"), text("0000123456"), num(rt::dayNumber(2015, 3, 2)),
            num(rt::dayNumber(2015, 4, 1)),
            text("Demo Handel Sp. z o.o.\nul. Przykładowa 12/3, 00-950 Warszawa\nNIP 527-100-01-21"), num(1000),
            num(9999), num(1000), num(1), num(0), num(0), num(0), num(0), num(0), num(1), num(1), num(0)}});
      !s)
    return s;

  if (Status s = insertRows(db, "ADRESY_FIRMY",
                            {"ID_ADRESY_FIRMY", "ID_FIRMY", "SYM_KRAJU", "DATA_OD", "WOJEWODZTWO", "POWIAT", "GMINA",
                             "MIEJSCOWOSC", "KOD_POCZTOWY", "POCZTA", "ULICA", "NR_DOMU", "NR_LOKALU", "TELEFON",
                             "E_MAIL", "TYP_ADRESU"},
                            {{num(1), num(company), text("PL"), num(rt::dayNumber(2015, 3, 2)), text("mazowieckie"),
                              text("Warszawa"), text("Warszawa"), text("Warszawa"), text("00-950"), text("Warszawa"),
                              text("ul. Przykładowa"), text("12"), text("3"), text("22 123 45 67"),
                              text("biuro@demo-handel.invalid"), text("S")}});
      !s)
    return s;

  // NUMER_RACHUNKU is the bank number and the account without the check digits (LK).
  if (Status s = insertRows(db, "RACHUNEK_FIRMY",
                            {"ID_RACHUNKU", "ID_FIRMY", "ID_BANKU", "SYM_WALUTY", "LK", "NUMER_RACHUNKU", "AKTYWNY",
                             "NAZWA", "SYM_KRAJU", "DOMYSLNY_WAL", "RAP_WALUTOWE"},
                            {{num(1), num(company), num(1), text("PLN"), text("27"), text("199000030000123456789012"),
                              num(1), text("Rachunek podstawowy"), text("PL"), num(1), num(0)}});
      !s)
    return s;

  // The company is set up as every new company is; the demo adds its own touches after.
  if (Status s = setUpCompany(db, company); !s) return s;
  if (Status s = db.execute("UPDATE MAGAZYN SET LOKALIZACJA = 'Warszawa, ul. Przykładowa 12', "
                            "MIEJSCE_WYSTAWIENIA = 'Warszawa', ID_RACHUNKU = 1, WSPOLNA_NUM_INDEKSOW = 1, "
                            "MASKA_I_KATALOG = 'MG######', MASKA_I_HANDL = 'H######' WHERE ID_MAGAZYNU = " +
                            std::to_string(demo::kMainWarehouseId));
      !s)
    return s;
  if (Status s = insertRows(db, "MAGAZYN",
                            {"ID_FIRMY", "ID_MAGAZYNU", "NAZWA", "SYMBOL", "STAN_MAGAZYNU", "LOKALIZACJA",
                             "MIEJSCE_WYSTAWIENIA", "ID_RACHUNKU", "REMANENT_CZASTKOWY", "WSPOLNA_NUM_INDEKSOW"},
                            {{num(company), num(2), text("Magazyn hurtowy"), text("MH"), text("Praca"),
                              text("Łódź, ul. Składowa 7"), text("Łódź"), num(1), num(0), num(0)}});
      !s)
    return s;

  if (Status s = db.execute("UPDATE KASY_FIRMY SET KONTO_FK = '100-1' WHERE ID_KASY = " +
                            std::to_string(demo::kMainCashDeskId));
      !s)
    return s;
  if (Status s = insertRows(db, "KASY_FIRMY", {"ID_FIRMY", "ID_KASY", "NAZWA", "SYMBOL", "KONTO_FK", "RAP_WALUTOWE"},
                            {{num(company), num(2), text("Kasa walutowa"), text("KW"), text("100-2"), num(1)}});
      !s)
    return s;

  // The offices the demo company settles with: its tax office and the social insurance.
  if (Status s = insertRows(db, "URZEDY",
                            {"ID_URZEDU", "NAZWA", "TYP_URZEDU", "KOD_POCZTOWY", "MIEJSCOWOSC", "ULICA_LOKAL", "TELEFON",
                             "E_MAIL", "SEMAFOR", "FLAGA_STANU"},
                            {{num(1), text("Urząd Skarbowy Łódź-Bałuty"), text("US"), text("91-473"), text("Łódź"),
                              text("ul. Wróblewskiego 5"), text("42 000 00 01"), null(), num(0), num(0)},
                             {num(2), text("Urząd Skarbowy Kraków-Krowodrza"), text("US"), text("31-134"),
                              text("Kraków"), text("ul. Rakowicka 10"), text("12 000 00 02"), null(), num(0), num(0)},
                             {num(3), text("ZUS Oddział w Łodzi"), text("ZUS"), text("90-950"), text("Łódź"),
                              text("ul. Zamenhofa 2"), text("42 000 00 03"), null(), num(0), num(0)}});
      !s)
    return s;

  // The statutory interest of the demo company, in three periods chained end to start;
  // the last one is open (DO_DNIA 0). Demo rates, not the published ones.
  if (Status s = insertRows(db, "TABELA_ODSETEK",
                            {"ID_TABELI_ODSETEK", "ID_FIRMY", "NAZWA", "CZY_USTAWOWE", "OPIS", "SEMAFOR", "FLAGA_STANU"},
                            {{num(1), num(company), text("Odsetki ustawowe"), num(1),
                              text("Odsetki ustawowe za opóźnienie w transakcjach handlowych"), num(0), num(0)}});
      !s)
    return s;
  if (Status s = insertRows(db, "ODSETKI", {"ID_TABELI_ODSETEK", "OD_DNIA", "DO_DNIA", "STOPA", "ZA_OKRES"},
                            {{num(1), num(rt::dayNumber(2020, 1, 1)), num(rt::dayNumber(2021, 12, 31)), dec("7.2000"),
                              num(365)},
                             {num(1), num(rt::dayNumber(2022, 1, 1)), num(rt::dayNumber(2022, 12, 31)), dec("9.7500"),
                              num(365)},
                             {num(1), num(rt::dayNumber(2023, 1, 1)), num(0), dec("11.2500"), num(365)}});
      !s)
    return s;

  if (Status s = insertRows(db, "JEDNOSTKA",
                            {"ID_ARTYKULU", "ID_FIRMY", "ID_JEDNOSTKI", "NAZWA", "PODZIELNA", "PRZELICZNIK", "SKROT"},
                            {{num(0), num(company), num(1), text("sztuka"), num(0), dec("1.000000"), text("szt.")},
                             {num(0), num(company), num(2), text("kilogram"), num(1), dec("1.000000"), text("kg")},
                             {num(0), num(company), num(3), text("opakowanie (10 szt.)"), num(0), dec("10.000000"),
                              text("opak.")}});
      !s)
    return s;

  if (Status s = insertRows(db, "CENA", {"ID_CENY", "ID_FIRMY", "NAZWA"},
                            {{num(1), num(company), text("Detaliczna")}, {num(2), num(company), text("Hurtowa")}});
      !s)
    return s;

  if (Status s = insertRows(db, "PRACOWNIK",
                            {"ID_PRACOWNIKA", "ID_FIRMY", "NR_EWIDENCYJNY", "NAZWISKO", "IMIE_1", "PLEC", "TELEFON",
                             "SEMAFOR", "ID_UZYTKOWNIKA", "PLEW", "ARCHIWUM"},
                            {{num(1), num(company), text("P/001"), text("Kowalski"), text("Jan"), text("Mężczyzna"),
                              text("101"), num(0), num(demo::kUserId), num(0), num(1)}});
      !s)
    return s;

  return insertRows(db, "KONTRAHENT",
                    {"ID_KONTRAHENTA", "ID_FIRMY", "NAZWA", "NAZWA_PELNA", "NIP", "MIEJSCOWOSC", "KOD_POCZTOWY",
                     "ULICA_LOKAL", "WYROZNIK", "FLAGA_STANU", "SYM_KRAJU", "OPERATOR_PLATNOSCI", "ODBIORCA",
                     "DOSTAWCA", "SEMAFOR"},
                    {{num(1), num(company), text("Hurtownia Żuraw"), text("Hurtownia Żuraw Sp.j."), text("6771000202"),
                      text("Kraków"), text("31-019"), text("ul. Długa 5"), text("ŻURAW"), num(0), text("PL"), num(0),
                      num(1), num(1), num(0)},
                     {num(2), num(company), text("O'Neill Polska"), text("O'Neill Polska Sp. z o.o."),
                      text("9451000308"), text("Gdańsk"), text("80-001"), text("ul. Portowa 2"), text("ONEILL"), num(0),
                      text("PL"), num(1), num(1), num(0), num(0)}});
}

}  // namespace slownik::sql::seed
