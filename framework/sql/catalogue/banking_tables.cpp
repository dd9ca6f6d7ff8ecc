#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {
namespace {

// The four account tables share one shape; only the owner column and a few extras differ.
TableBuilder accountTable(std::string name, std::string prefix, std::string ownerColumn) {
  TableBuilder b(std::move(name), std::move(prefix));
  b.id("ID_RACHUNKU").ref(ownerColumn).notNull().ref("ID_BANKU").text("SYM_WALUTY", 3).text("LK", 2)
      .text("NUMER_RACHUNKU", 100).byte("AKTYWNY").text("NAZWA", 50);
  return b;
}

// The answers of the tax white list for the accounts of one owner kind, newest first.
// The number and the tax number checked are kept as they were sent: the account may be
// changed later, and the proof is of what was asked.
TableDef whiteListTable(std::string name, std::string prefix) {
  const std::string p = prefix;
  return table(std::move(name), std::move(prefix))
      .id("ID_SPRAWDZENIA").generated()
      .ref("ID_RACHUNKU").notNull()
      .date("DATA_SPRAWDZENIA").notNull()
      .text("WYNIK", 3)
      .text("ID_ZAPYTANIA", 50)
      .text("CZAS_ZAPYTANIA", 30)
      .text("NIP", 20)
      .text("NUMER_RACHUNKU", 100)
      .ref("ID_UZYTKOWNIKA")
      .key(p + ":PK_SPRAWDZENIE", {"ID_SPRAWDZENIA"}, TableBuilder::Primary)
      .key(p + ":PO_RACHUNKU", {"ID_RACHUNKU", "-DATA_SPRAWDZENIA", "-ID_SPRAWDZENIA"})
      .tableSince(10);
}

}  // namespace

// Banks, bank accounts, interest tables, tax offices and cash desks.
void addBankingTables(std::vector<TableDef>& tables) {
  // Shared by all companies; SEMAFOR holds the id of the user editing the row (NULL/0 free).
  TableDef banks = table("BANKI", "BAN")
                       .id("ID_BANKU")
                       .text("NAZWA", 100)
                       .text("NUMER_BANKU", 8)
                       .text("MIEJSCOWOSC", 50)
                       .text("ULICA_LOKAL", 50)
                       .text("KOD_POCZTOWY", 10)
                       .text("TEL", 50)
                       .text("E_MAIL", 50)
                       .text("ADRES_WWW", 50)
                       .ref("SEMAFOR")
                       .byte("FLAGA_STANU")
                       .text("SWIFT", 20)
                       .key("BAN:PK_BANKI", {"ID_BANKU"}, TableBuilder::Primary)
                       .key("BAN:AK_BANKI_NUMER_BANKI", {"NUMER_BANKU"})
                       .key("BAN:AK_NAZWA", {"NAZWA"}, TableBuilder::NoCase)
                       .key("BAN:AK_SWIFT", {"SWIFT"}, TableBuilder::NoCase)
                       .key("BAN:AK_KOD", {"KOD_POCZTOWY"})
                       .key("BAN:AK_MIEJSCOWOSC", {"MIEJSCOWOSC"}, TableBuilder::NoCase);
  // A second buffer over the same rows (a database view, created with the schema), for
  // windows that show a bank beside the one being edited.
  TableDef banks1 = table("BANKI1", "BAN1")
                        .columnsOf(banks)
                        .key("BAN1:PK_BANKI", {"ID_BANKU"}, TableBuilder::Primary)
                        .key("BAN1:AK_BANKI_NUMER_BANKI", {"NUMER_BANKU"})
                        .key("BAN1:AK_NAZWA", {"NAZWA"}, TableBuilder::NoCase)
                        .view();
  tables.push_back(std::move(banks));
  tables.push_back(std::move(banks1));

  // The clearing house's branch list: a dBase file read by the import, not a database table.
  // Fields in file order; the unnamed ones are skipped by the import.
  tables.push_back(table("KIR_ODDZIALY", "KIR_O")
                       .text("NUMER_BANKU", 8)
                       .text("POLE2", 8)
                       .text("NAZWA", 35)
                       .text("POLE4", 43)
                       .text("ULICA_LOKAL", 35)
                       .text("KOD_POCZTOWY", 6)
                       .text("MIEJSCOWOSC", 28)
                       .key("KIR_O:KIR_NUMER", {"NUMER_BANKU"})
                       .view());

  // The report of a user's latest branch import: the run, and one line per bank it added,
  // failed to add, or found with other data in the file than in BANKI (which the import
  // never changes by itself). The file's values and those BANKI held when the import
  // looked are kept side by side, so that a change is applied only to a bank nobody
  // changed meanwhile.
  tables.push_back(table("KIR_IMPORT", "KIRI")
                       .id("ID_IMPORTU").generated()
                       .ref("ID_UZYTKOWNIKA").notNull()
                       .date("DATA_IMPORTU")
                       .time("CZAS_IMPORTU")
                       .text("PLIK", 250)
                       .key("KIRI:PK_KIR_IMPORT", {"ID_IMPORTU"}, TableBuilder::Primary)
                       .key("KIRI:PO_UZYTKOWNIKU", {"ID_UZYTKOWNIKA", "-ID_IMPORTU"})
                       .tableSince(11));
  tables.push_back(table("KIR_RAPORT", "KIRR")
                       .ref("ID_IMPORTU").notNull()
                       .longint("NR_POZYCJI").notNull()
                       .text("RODZAJ", 1)  // D added, N not added (the insert failed), Z changed in the file
                       .ref("ID_BANKU")
                       .text("NUMER_BANKU", 8)
                       .text("NAZWA", 100)
                       .text("ULICA_LOKAL", 50)
                       .text("KOD_POCZTOWY", 10)
                       .text("MIEJSCOWOSC", 50)
                       .text("NAZWA_W_BAZIE", 100)
                       .text("ULICA_W_BAZIE", 50)
                       .text("KOD_W_BAZIE", 10)
                       .text("MIEJSCOWOSC_W_BAZIE", 50)
                       .byte("ZASTOSOWANO")
                       .key("KIRR:PK_KIR_RAPORT", {"ID_IMPORTU", "NR_POZYCJI"}, TableBuilder::Primary)
                       .key("KIRR:PO_NUMERZE", {"ID_IMPORTU", "RODZAJ", "NUMER_BANKU", "NR_POZYCJI"})
                       .tableSince(11));

  tables.push_back(accountTable("RACHUNEK_FIRMY", "RACHFIR", "ID_FIRMY")
                       .text("SYM_KRAJU", 3)
                       .byte("DOMYSLNY_WAL")
                       .byte("RAP_WALUTOWE")
                       .key("RACHFIR:PK_RACHUNEK_FIRMY", {"ID_RACHUNKU"}, TableBuilder::Primary)
                       .key("RACHFIR:AK_RACHUNEKFIRMY_IDFI_RACHUNEK", {"ID_FIRMY", "NUMER_RACHUNKU"}));
  tables.push_back(accountTable("RACHUNEK_KONTRAHENTA", "RACHKON", "ID_KONTRAHENTA")
                       .key("RACHKON:PK_RACHUNEK_KONTRAHENTA", {"ID_RACHUNKU"}, TableBuilder::Primary)
                       .key("RACHKON:AK_RACHKONTR_IDKONTR__RACHUNEK", {"ID_KONTRAHENTA", "NUMER_RACHUNKU"}));
  tables.push_back(accountTable("RACHUNEK_PRACOWNIKA", "RACHPRAC", "ID_PRACOWNIKA")
                       .text("WLASCICIEL_RACHUNKU", 100)
                       .key("RACHPRAC:PK_RACHUNEK_PRACOWNIKA", {"ID_RACHUNKU"}, TableBuilder::Primary)
                       .key("RACHPRAC:AK_RACHPRAC_IDPRAC_NR_RACHUNEK", {"ID_PRACOWNIKA", "NUMER_RACHUNKU"}));
  tables.push_back(accountTable("RACHUNEK_URZEDU", "RACHURZ", "ID_URZEDU")
                       .key("RACHURZ:PK_RACHUNEK_URZEDU", {"ID_RACHUNKU"}, TableBuilder::Primary)
                       .key("RACHURZ:AK_RACHURZ_IDURZ_NUME_RACHUNEK", {"ID_URZEDU", "NUMER_RACHUNKU"}));

  tables.push_back(whiteListTable("BIALA_LISTA_RACHKON", "BLKON"));
  tables.push_back(whiteListTable("BIALA_LISTA_RACHURZ", "BLURZ"));

  // Contractors' virtual accounts, given by the bank; ids are 10-digit decimals here.
  tables.push_back(table("RACHUNEK_WIRTUALNY", "RWI")
                       .decimalId("ID_RACHUNKU").notNull()
                       .decimalId("ID_KONTRAHENTA")
                       .text("NUMER_RACHUNKU", 50)
                       .byte("CZY_DOMYSLNY")
                       .key("RWI:PK_RACHUNEK_WIRTUALNY", {"ID_RACHUNKU"}, TableBuilder::Primary)
                       .key("RWI:RACHUNEKWIRTUALNY_IDKONTRAHENTA", {"ID_KONTRAHENTA", "ID_RACHUNKU"}));

  // Interest tables belong to a company; their names are unique within it.
  tables.push_back(table("TABELA_ODSETEK", "TABODS")
                       .id("ID_TABELI_ODSETEK")
                       .ref("ID_FIRMY")
                       .text("NAZWA", 20)
                       .byte("CZY_USTAWOWE")
                       .text("OPIS", 100)
                       .ref("SEMAFOR")
                       .byte("FLAGA_STANU")
                       .key("TABODS:PK_TABELA_ODSETEK", {"ID_TABELI_ODSETEK"}, TableBuilder::Primary)
                       .key("TABODS:PO_NAZWIE", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase));

  // Periods of an interest table; DO_DNIA is kept by the chain rule of the form.
  tables.push_back(table("ODSETKI", "ODS")
                       .ref("ID_TABELI_ODSETEK").notNull()
                       .date("OD_DNIA").notNull()
                       .date("DO_DNIA")
                       .decimal("STOPA", 9, 4)
                       .longint("ZA_OKRES")
                       .key("ODS:PK_ODSETKI", {"ID_TABELI_ODSETEK", "OD_DNIA"}, TableBuilder::Primary));

  tables.push_back(table("URZEDY", "URZ")
                       .id("ID_URZEDU")
                       .text("NAZWA", 50)
                       .text("TYP_URZEDU", 3)
                       .text("KOD_POCZTOWY", 10)
                       .text("MIEJSCOWOSC", 50)
                       .text("ULICA_LOKAL", 50)
                       .text("TELEFON", 50)
                       .text("E_MAIL", 50)
                       .ref("ID_RACHUNKU")
                       .ref("SEMAFOR")
                       .byte("FLAGA_STANU")
                       .key("URZ:PK_URZEDY", {"ID_URZEDU"}, TableBuilder::Primary)
                       .key("URZ:AK_URZAD_NAZWA_URZEDY", {"NAZWA"}, TableBuilder::NoCase)
                       .key("URZ:URZAD_KOD", {"KOD_POCZTOWY"})
                       .key("URZ:URZAD_MIEJSCOWOSC", {"MIEJSCOWOSC"}, TableBuilder::NoCase));

  tables.push_back(table("KASY_FIRMY", "KAS")
                       .ref("ID_FIRMY").notNull()
                       .id("ID_KASY")
                       .text("NAZWA", 50)
                       .text("SYMBOL", 5)
                       .text("KONTO_FK", 70)
                       .byte("RAP_WALUTOWE")
                       .key("KAS:PK_KASY_FIRMY", {"ID_KASY"}, TableBuilder::Primary)
                       .key("KAS:FK_FIRMA", {"ID_FIRMY", "NAZWA"})
                       .key("KAS:KASY_IDFIR_SYMBOL", {"ID_FIRMY", "SYMBOL"}));
}

}  // namespace slownik::sql
