#include "framework/sql/seed.h"
#include "framework/sql/seed_rows.h"

namespace slownik::sql::seed {

// The administrator and an ordinary user, the sellers' group of the demo company with its
// rights, and who belongs to which group.
Status seedUsersAndRights(Database& db) {
  // No passwords: the demo logs in by name.
  if (Status s = insertRows(db, "UZYTKOWNIK", {"ID_UZYTKOWNIKA", "IDENTYFIKATOR", "NAZWA", "AKTYWNY", "ID_PRACOWNIKA"},
                            {{num(demo::kAdminUserId), text("Admin"), text("Administrator systemu"), num(1), null()},
                             {num(demo::kUserId), text("jkowalski"), text("Jan Kowalski"), num(1), num(1)}});
      !s)
    return s;

  const long long company = demo::kCompanyId;
  // "Administratorzy" with every right came with the company's set-up.
  if (Status s = insertRows(db, "GRUPAUZYTKOWNIKOW", {"ID_GRUPY", "ID_FIRMY", "NAZWA", "OPIS"},
                            {{num(demo::kUserGroupId), num(company), text("Sprzedawcy"),
                              text("Sprzedaż i przegląd kartotek")}});
      !s)
    return s;

  if (Status s = insertRows(db, "UZYTKOWNIKGRUPY", {"ID_GRUPY", "ID_UZYTKOWNIKA"},
                            {{num(demo::kAdminGroupId), num(demo::kAdminUserId)},
                             {num(demo::kUserGroupId), num(demo::kUserId)}});
      !s)
    return s;

  // The register lookup of both users goes to the statistics office's public test
  // service with the key it publishes for it; a real key is entered per user.
  std::vector<Row> registry;
  for (long long user : {demo::kAdminUserId, demo::kUserId}) {
    registry.push_back({text("U"), num(user), text("GUS_Adres"),
                        text("https://wyszukiwarkaregontest.stat.gov.pl/wsBIR/UslugaBIRzewnPubl.svc")});
    registry.push_back({text("U"), num(user), text("GUS_Klucz"), text("abcde12345abcde12345")});
  }
  if (Status s = insertRows(db, "PARAMETR_KONF", {"ZAKRES", "ID_WLASCICIELA", "NAZWA", "WARTOSC"}, registry); !s)
    return s;

  std::vector<Row> rows;
  // The sellers may look at the dictionaries they need, work in the main warehouse and the
  // main cash desk only (rights given for one object), and change contractors.
  for (const char* right : {"SYS", "Banki", "OBanki", "Waluty", "Kontr", "OKontr", "OKontrO", "OKontrD", "EKontr",
                            "Prac", "OPrac", "TypDokHandl", "OTypDokHandl", "StatusyZamE", "Kasy"})
    rows.push_back({num(demo::kUserGroupId), num(company), text(right), num(0), num(1)});
  rows.push_back({num(demo::kUserGroupId), num(company), text("SYS"), num(demo::kMainWarehouseId), num(1)});
  rows.push_back({num(demo::kUserGroupId), num(company), text("OKasy"), num(demo::kMainCashDeskId), num(1)});
  rows.push_back({num(demo::kUserGroupId), num(company), text("Kasy"), num(demo::kMainCashDeskId), num(1)});
  return insertRows(db, "DOSTEP", {"ID_GRUPY", "ID_FIRMY", "KOD", "ID_OBIEKTU", "RODZAJ_DOSTEPU"}, rows);
}

}  // namespace slownik::sql::seed
