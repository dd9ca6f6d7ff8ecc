#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

// Users, groups, rights and the other tables of the system around the dictionaries.
void addFrameworkTables(std::vector<TableDef>& tables) {
  // IDENTYFIKATOR is the log-in name ("Admin"); NAZWA the name shown in lists.
  tables.push_back(table("UZYTKOWNIK", "UZY")
                       .id("ID_UZYTKOWNIKA")
                       .text("IDENTYFIKATOR", 30).notNull()
                       .text("NAZWA", 50)
                       .text("HASLO", 128)
                       .byte("AKTYWNY")
                       .ref("ID_PRACOWNIKA")
                       .key("UZY:PK_UZYTKOWNIK", {"ID_UZYTKOWNIKA"}, TableBuilder::Primary)
                       .key("UZY:AK_UZYTKOWNIK_IDENTYFIKATOR", {"IDENTYFIKATOR"}, TableBuilder::Unique)
                       .key("UZY:UZYTKOWNIK_NAZWA", {"NAZWA"}, TableBuilder::NoCase));

  // Groups belong to one company; every company has its "Administratorzy" group.
  tables.push_back(table("GRUPAUZYTKOWNIKOW", "GRUZ")
                       .id("ID_GRUPY")
                       .ref("ID_FIRMY").notNull()
                       .text("NAZWA", 50).notNull()
                       .text("OPIS", 100)
                       .key("GRUZ:PK_GRUPAUZYTKOWNIKOW", {"ID_GRUPY"}, TableBuilder::Primary)
                       .key("GRUZ:AK_GRUPA_IDFIR_NAZWA", {"ID_FIRMY", "NAZWA"}, TableBuilder::Unique));

  tables.push_back(table("UZYTKOWNIKGRUPY", "UZYGR")
                       .ref("ID_GRUPY").notNull()
                       .ref("ID_UZYTKOWNIKA").notNull()
                       .key("UZYGR:PK_UZYTKOWNIKGRUPY", {"ID_GRUPY", "ID_UZYTKOWNIKA"}, TableBuilder::Primary)
                       .key("UZYGR:UZYTKOWNIKGRUPY_IDUZY", {"ID_UZYTKOWNIKA", "ID_GRUPY"}));

  // A right of a group in a company. ID_OBIEKTU is 0 for a right over the whole company
  // and the object's id (a cash desk, a warehouse) for a right given for one object; it
  // is part of the key, so it is never NULL. RODZAJ_DOSTEPU above 0 grants the right.
  tables.push_back(table("DOSTEP", "DOS")
                       .ref("ID_GRUPY").notNull()
                       .ref("ID_FIRMY").notNull()
                       .text("KOD", 30).notNull()
                       .ref("ID_OBIEKTU").notNull()
                       .shortint("RODZAJ_DOSTEPU")
                       .key("DOS:PK_DOSTEP", {"ID_GRUPY", "ID_FIRMY", "KOD", "ID_OBIEKTU"}, TableBuilder::Primary)
                       .key("DOS:DOSTEP_IDFIR_KOD", {"ID_FIRMY", "KOD"}));

  // Marked rows of the lists: ID is the marked row's id, UZYCIE the list's number and
  // ID_SESJI the user who marks.
  tables.push_back(table("ZAZNACZONE", "ZAZ")
                       .ref("ID").notNull()
                       .longint("UZYCIE").notNull()
                       .ref("ID_SESJI").notNull()
                       .key("ZAZ:PK_ZAZNACZONE", {"UZYCIE", "ID_SESJI", "ID"}, TableBuilder::Primary));

  // Per warehouse and user: working in it now, or running a stocktaking or balance.
  tables.push_back(table("STAN_UZYTKOWNIKA_W_MAG", "SUWM")
                       .ref("ID_MAGAZYNU").notNull()
                       .ref("ID_UZYTKOWNIKA").notNull()
                       .byte("CZY_PRACA")
                       .byte("CZY_REMBIL")
                       .key("SUWM:PK_STAN_UZYTKOWNIKA_W_MAG", {"ID_MAGAZYNU", "ID_UZYTKOWNIKA"}, TableBuilder::Primary));

  // Numbering definitions. DOKUMENT is the document family (1 warehouse, 3 financial,
  // 4 trade documents) or the index kind (15 catalogue, 16 trade index, per warehouse);
  // parts of the key that a kind does not use are 0.
  tables.push_back(table("NUMERACJA", "NUM")
                       .ref("ID_FIRMY").notNull()
                       .ref("ID_MAGAZYNU").notNull()
                       .shortint("DOKUMENT").notNull()
                       .ref("TYP_DOKUMENTU").notNull()
                       .shortint("ROK").notNull()
                       .text("SYGNATURA", 5)
                       .text("FORMAT", 50)
                       .decimal("NUMER", 14, 0)
                       .byte("PRZYCHOD")
                       .key("NUM:PK_NUMERACJA", {"ID_FIRMY", "ID_MAGAZYNU", "DOKUMENT", "TYP_DOKUMENTU", "ROK"},
                            TableBuilder::Primary));

  // Document headers that the dictionaries only count or look into before a delete.
  tables.push_back(table("DOKUMENT_HANDLOWY", "DOKH")
                       .id("ID_DOKUMENTU")
                       .ref("ID_FIRMY")
                       .ref("ID_TYPU")
                       .ref("ID_KONTRAHENTA")
                       .text("NUMER", 30)
                       .date("DATA_WYSTAWIENIA")
                       .text("SYM_WALUTY", 3)
                       .longint("ID_FORMY")
                       .key("DOKH:PK_DOKUMENT_HANDLOWY", {"ID_DOKUMENTU"}, TableBuilder::Primary)
                       .key("DOKH:DOKUMENT_HANDLOWY_IDFIR_NUMER", {"ID_FIRMY", "NUMER"}));
  tables.push_back(table("DOKUMENT_FINANSOWY", "DOKF")
                       .id("ID_DOKUMENTU")
                       .ref("ID_FIRMY")
                       .ref("ID_TYPU")
                       .ref("ID_KONTRAHENTA")
                       .ref("ID_KASY")
                       .ref("ID_RACHUNKU")
                       .text("NUMER", 30)
                       .date("DATA_WYSTAWIENIA")
                       .text("KOD_OPERACJI", 5)
                       .key("DOKF:PK_DOKUMENT_FINANSOWY", {"ID_DOKUMENTU"}, TableBuilder::Primary)
                       .key("DOKF:DOKUMENT_FINANSOWY_IDFIR_NUMER", {"ID_FIRMY", "NUMER"}));
  tables.push_back(table("KOREKTA_DOK_HANDL_V", "KORDH")
                       .id("ID_KOREKTY")
                       .ref("ID_DOKUMENTU")
                       .ref("ID_DOKUMENTU_KORYGOWANEGO")
                       .key("KORDH:PK_KOREKTA_DOK_HANDL", {"ID_KOREKTY"}, TableBuilder::Primary)
                       .key("KORDH:KOREKTA_IDDOK", {"ID_DOKUMENTU"}));
  tables.push_back(table("KOSZT_DOK_HANDL", "KOSZT")
                       .id("ID_KOSZTU")
                       .ref("ID_DOKUMENTU")
                       .text("NAZWA", 50)
                       .decimal("KWOTA", 15, 2)
                       .key("KOSZT:PK_KOSZT_DOK_HANDL", {"ID_KOSZTU"}, TableBuilder::Primary)
                       .key("KOSZT:KOSZT_IDDOK", {"ID_DOKUMENTU"}));
  tables.push_back(table("RAPORT_KAS_BANK", "RKB")
                       .id("ID_RAPORTU")
                       .ref("ID_FIRMY")
                       .ref("ID_KASY")
                       .ref("ID_RACHUNKU")
                       .text("NUMER", 30)
                       .date("DATA_OD")
                       .date("DATA_DO")
                       .key("RKB:PK_RAPORT_KAS_BANK", {"ID_RAPORTU"}, TableBuilder::Primary)
                       .key("RKB:RAPORT_IDKASY", {"ID_KASY", "DATA_OD"})
                       .key("RKB:RAPORT_IDRACHUNKU", {"ID_RACHUNKU", "DATA_OD"}));
  tables.push_back(table("INTER_FIN_ROZRACH", "IFR")
                       .id("ID_ROZRACHUNKU")
                       .ref("ID_FIRMY")
                       .ref("ID_KONTRAHENTA")
                       .ref("ID_DOKUMENTU")
                       .text("NUMER", 30)
                       .text("SYM_WALUTY", 3)
                       .decimal("POZOSTALO", 15, 2)
                       .key("IFR:PK_INTER_FIN_ROZRACH", {"ID_ROZRACHUNKU"}, TableBuilder::Primary)
                       .key("IFR:ROZRACH_IDKONTR", {"ID_KONTRAHENTA"}));
  // Fiscal cash registers of the warehouses.
  tables.push_back(table("ECR", "ECR")
                       .id("ID_ECR")
                       .ref("ID_FIRMY")
                       .ref("ID_MAGAZYNU")
                       .text("NAZWA", 50)
                       .text("NUMER_UNIKATOWY", 20)
                       .key("ECR:PK_ECR", {"ID_ECR"}, TableBuilder::Primary)
                       .key("ECR:ECR_IDMAG", {"ID_MAGAZYNU"}));
  // Header and line configuration of printouts.
  tables.push_back(table("NAGLOWEKKONFIG", "NAGK")
                       .id("ID_NAGLOWKA")
                       .ref("ID_FIRMY")
                       .text("NAZWA", 50)
                       .memo("TRESC")
                       .key("NAGK:PK_NAGLOWEKKONFIG", {"ID_NAGLOWKA"}, TableBuilder::Primary)
                       .key("NAGK:NAGLOWEKKONFIG_IDFIR", {"ID_FIRMY", "NAZWA"}));
  tables.push_back(table("POZYCJAKONFIG", "POZK")
                       .id("ID_POZYCJI")
                       .ref("ID_NAGLOWKA")
                       .text("NAZWA", 50)
                       .text("WARTOSC", 255)
                       .key("POZK:PK_POZYCJAKONFIG", {"ID_POZYCJI"}, TableBuilder::Primary)
                       .key("POZK:POZYCJAKONFIG_IDNAGL", {"ID_NAGLOWKA", "NAZWA"}));
  // Inter-company links: which warehouses and which items a company shares.
  tables.push_back(table("INTERMAGAZYNGRUPA", "IMG")
                       .id("ID_GRUPY")
                       .ref("ID_FIRMY")
                       .ref("ID_MAGAZYNU")
                       .text("NAZWA", 50)
                       .key("IMG:PK_INTERMAGAZYNGRUPA", {"ID_GRUPY"}, TableBuilder::Primary)
                       .key("IMG:INTERMAGAZYNGRUPA_IDMAG", {"ID_MAGAZYNU"}));
  tables.push_back(table("INTERFIRMAPOZYCJA", "IFP")
                       .id("ID_POZYCJI")
                       .ref("ID_FIRMY")
                       .ref("ID_FIRMY_POWIAZANEJ")
                       .text("RODZAJ", 20)
                       .key("IFP:PK_INTERFIRMAPOZYCJA", {"ID_POZYCJI"}, TableBuilder::Primary)
                       .key("IFP:INTERFIRMAPOZYCJA_IDFIR", {"ID_FIRMY", "ID_FIRMY_POWIAZANEJ"}));
  // Values of the classifiers that employees and warehouses carry.
  tables.push_back(table("KLASYFIKATOR_SLOWNIK_WAR", "KSW")
                       .id("ID_WARTOSCI")
                       .ref("ID_FIRMY")
                       .text("RODZAJ", 30)
                       .shortint("NUMER_KLASYFIKATORA")
                       .text("WARTOSC", 100)
                       .key("KSW:PK_KLASYFIKATOR_SLOWNIK_WAR", {"ID_WARTOSCI"}, TableBuilder::Primary)
                       .key("KSW:KLASYFIKATOR_RODZAJ_NUMER", {"ID_FIRMY", "RODZAJ", "NUMER_KLASYFIKATORA", "WARTOSC"}));
  // Ids set aside for rows still being made in a form whose child lists write rows
  // before the form is saved (a new tax office's accounts). WLASCICIEL names the program
  // that holds the id, so that one that ended without saving can be cleaned up after.
  tables.push_back(table("REZERWACJA_ID", "REZID")
                       .text("TABELA", 40).notNull()
                       .ref("ID").notNull()
                       .text("WLASCICIEL", 100)
                       .key("REZID:PK_REZERWACJA_ID", {"TABELA", "ID"}, TableBuilder::Primary)
                       .tableSince(2));
}

}  // namespace slownik::sql
