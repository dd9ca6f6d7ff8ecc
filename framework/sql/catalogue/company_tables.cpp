#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {
namespace {

// Employees and warehouses carry ten free text fields.
TableBuilder& freeFields(TableBuilder& b) {
  for (int i = 1; i <= 10; ++i) b.text("POLE" + std::to_string(i), 100);
  return b;
}

}  // namespace

// Companies, their addresses, employees, warehouses and related persons.
void addCompanyTables(std::vector<TableDef>& tables) {
  // Rows with ID_FIRMY 0 or less are never listed. ID_ADRESU_DOMYSLNEGO is the company's
  // default seat address (ADRESY_FIRMY.ID_ADRESY_FIRMY), NULL when none is chosen.
  tables.push_back(table("FIRMA", "FIR")
                       .id("ID_FIRMY")
                       .text("NAZWA", 50)
                       .text("NAZWA_PELNA", 100)
                       .text("NIP", 20)
                       .text("REGON", 20)
                       .byte("PLATNIK_VAT")
                       .byte("MP")
                       .byte("KWARTALNY_VAT")
                       .byte("METODA_KASOWA")
                       .text("ORGAN_ZAL", 100)
                       .text("NAZWA_REJ", 100)
                       .date("DATA_REJ")
                       .text("NR_W_REJ", 25)
                       .date("DATA_ROZP_DZIAL")
                       .text("UWAGI", 500)
                       .text("NAGLOWEK", 500)
                       .text("NAGLOWEK2", 500)
                       .text("LOGO_FIRMY", 255)
                       .blob("LOGO_BLOB")
                       .longint("NR_FK_PULA_OD")
                       .longint("NR_FK_PULA_DO")
                       .longint("NR_FK_PULA_AKTUALNY")
                       .byte("VEX")
                       .byte("TOBRA")
                       .byte("MILEN")
                       .byte("ORZ2000")
                       .byte("PLEW")
                       .ref("SEMAFOR")
                       .ref("ID_ADRESU_DOMYSLNEGO")
                       .ref("ID_RACHUNKU")
                       .byte("FLAGA_STANU")
                       .key("FIR:PK_FIRMA", {"ID_FIRMY"}, TableBuilder::Primary)
                       .key("FIR:FIRMA_NAZWA", {"NAZWA"}, TableBuilder::NoCase));

  // Addresses by the day from which they hold; TYP_ADRESU "S" = seat. KP_DATA_OD is a
  // datetime copy of DATA_OD kept for reports; it is written only by SQL, as text.
  tables.push_back(table("ADRESY_FIRMY", "ADRFIR")
                       .id("ID_ADRESY_FIRMY")
                       .ref("ID_FIRMY").notNull()
                       .text("SYM_KRAJU", 3)
                       .date("DATA_OD")
                       .text("WOJEWODZTWO", 30)
                       .text("POWIAT", 40)
                       .text("GMINA", 40)
                       .text("MIEJSCOWOSC", 40)
                       .text("KOD_POCZTOWY", 10)
                       .text("POCZTA", 40)
                       .text("ULICA", 40)
                       .text("NR_DOMU", 10)
                       .text("NR_LOKALU", 10)
                       .text("SKRYTKA", 10)
                       .text("TELEFON", 50)
                       .text("FAKS", 50)
                       .text("E_MAIL", 50)
                       .text("TYP_ADRESU", 1)
                       .text("KP_DATA_OD", 30)
                       .key("ADRFIR:PK_ADRESY_FIRMY", {"ID_ADRESY_FIRMY"}, TableBuilder::Primary)
                       .key("ADRFIR:ADRSYFIR_IDFIR_DATA", {"ID_FIRMY", "DATA_OD"}));

  // The natural person of the excise declarations, at most one per company.
  tables.push_back(table("AKCYZA_FIRMA_PODATNIK", "AKCFP")
                       .ref("ID_FIRMY").notNull()
                       .id("ID_PODATNIKA")
                       .text("IMIE", 30)
                       .text("NAZWISKO", 50)
                       .date("DATA_URODZENIA")
                       .text("SYM_KRAJU", 3)
                       .text("WOJEWODZTWO", 30)
                       .text("POWIAT", 30)
                       .text("GMINA", 30)
                       .text("ULICA", 50)
                       .text("NR_DOMU", 5)
                       .text("NR_LOKALU", 5)
                       .text("MIEJSCOWOSC", 50)
                       .text("KOD_POCZTOWY", 6)
                       .text("POCZTA", 30)
                       .key("AKCFP:PK_AKCYZA_FIRMA_PODATNIK", {"ID_PODATNIKA"}, TableBuilder::Primary)
                       .key("AKCFP:FK_FIRMA_ID", {"ID_FIRMY"}, TableBuilder::Unique));

  // Attachment counts per company and program, joined into the company list.
  tables.push_back(table("FIRMA_ZALACZNIK", "FIRZAL")
                       .ref("ID_FIRMY").notNull()
                       .byte("PRGKOD").notNull()
                       .shortint("LICZBA_ZALACZNIKOW")
                       .key("FIRZAL:PK_FIRMA_ZALACZNIK", {"ID_FIRMY", "PRGKOD"}, TableBuilder::Primary));

  // ARCHIWUM 1 = current, 2 = archived. ID_UZYTKOWNIKA links a system user (0 = none).
  tables.push_back(freeFields(table("PRACOWNIK", "PRA")
                                  .id("ID_PRACOWNIKA")
                                  .ref("ID_FIRMY").notNull()
                                  .text("NR_EWIDENCYJNY", 30)
                                  .text("NAZWISKO", 40)
                                  .text("NAZWISKO_RODOWE", 40)
                                  .text("IMIE_1", 30)
                                  .text("IMIE_2", 30)
                                  .text("IMIE_OJCA", 30)
                                  .text("IMIE_MATKI", 30)
                                  .text("NAZWISKO_MATKI", 40)
                                  .text("MIEJSCE_URODZ", 30)
                                  .date("DATA_URODZENIA")
                                  .text("PLEC", 10)
                                  .text("PESEL", 20)
                                  .text("NIP", 20)
                                  .text("DOWOD", 20)
                                  .text("WYDANY", 50)
                                  .date("DATA_WYDANIA")
                                  .text("TELEFON", 30)
                                  .ref("SEMAFOR")
                                  .ref("ID_UZYTKOWNIKA")
                                  .byte("PLEW")
                                  .byte("ARCHIWUM")
                                  .ref("ID_RACHUNKU")
                                  .byte("FLAGA_STANU"))
                       .key("PRA:PK_PRACOWNIK", {"ID_PRACOWNIKA"}, TableBuilder::Primary)
                       .key("PRA:AK_PRACOWNIK_IDFIR_NR_PRACOWNI", {"ID_FIRMY", "NR_EWIDENCYJNY"})
                       .key("PRA:PRACOWNIK_IDFIR_NAZWISKO_ID_PRAC", {"ID_FIRMY", "NAZWISKO", "ID_PRACOWNIKA"})
                       .key("PRA:PRACOWNIK_IDFIR_PESEL_IDPRAC", {"ID_FIRMY", "PESEL", "ID_PRACOWNIKA"}));

  tables.push_back(table("PRACOWNIK_ZALACZNIK", "PRAZAL")
                       .ref("ID_PRACOWNIKA").notNull()
                       .byte("PRGKOD").notNull()
                       .shortint("LICZBA_ZALACZNIKOW")
                       .key("PRAZAL:PK_PRACOWNIK_ZALACZNIK", {"ID_PRACOWNIKA", "PRGKOD"}, TableBuilder::Primary));

  // TYP_ADRESU "M" = residence.
  tables.push_back(table("ADRESY_PRACOWNIKA", "ADRPRA")
                       .id("ID_ADRESY_PRAC")
                       .ref("ID_PRACOWNIKA").notNull()
                       .text("TYP_ADRESU", 1)
                       .date("DATA_OD")
                       .text("SYM_KRAJU", 3)
                       .text("WOJEWODZTWO", 30)
                       .text("POWIAT", 40)
                       .text("GMINA", 40)
                       .text("ULICA", 40)
                       .text("NR_DOMU", 10)
                       .text("NR_LOKALU", 10)
                       .text("MIEJSCOWOSC", 40)
                       .text("KOD_POCZTOWY", 10)
                       .text("POCZTA", 40)
                       .text("SKRYTKA", 10)
                       .text("TELEFON", 50)
                       .text("E_MAIL", 50)
                       .key("ADRPRA:PK_ADRESY_PRACOWNIKA", {"ID_ADRESY_PRAC"}, TableBuilder::Primary)
                       .key("ADRPRA:AK_ADRESY_PRAC_IDPRAC_ADRESY_P", {"ID_PRACOWNIKA", "TYP_ADRESU", "DATA_OD"}));

  // STAN_MAGAZYNU "Praca" = normal work; anything else = stocktaking or balance running.
  tables.push_back(freeFields(table("MAGAZYN", "MAG")
                                  .ref("ID_FIRMY").notNull()
                                  .id("ID_MAGAZYNU")
                                  .text("NAZWA", 50)
                                  .text("SYMBOL", 10)
                                  .text("STAN_MAGAZYNU", 10)
                                  .text("LOKALIZACJA", 100)
                                  .text("KONTO_FK_MAGAZYNU", 70)
                                  .memo("OPIS")
                                  .text("NAGLOWEK", 500)
                                  .text("MIEJSCE_WYSTAWIENIA", 50)
                                  .text("WYROZNIK_SYNCHRONIZACJI", 20)
                                  .ref("ID_RACHUNKU")
                                  .byte("REMANENT_CZASTKOWY")
                                  .byte("WSPOLNA_NUM_INDEKSOW")
                                  .text("MASKA_I_KATALOG", 30)
                                  .text("MASKA_I_HANDL", 30))
                       .key("MAG:PK_MAGAZYN", {"ID_MAGAZYNU"}, TableBuilder::Primary)
                       .key("MAG:MAGAZYN_SYMBOL", {"ID_FIRMY", "SYMBOL"}, TableBuilder::NoCase)
                       .key("MAG:MAGAZYN_NAZWA", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase));

  // Online-store link of a warehouse.
  tables.push_back(table("VEX_A4B_SYSTEMY", "A4BM")
                       .id("ID_SYSTEMU")
                       .ref("ID_MAGAZYNU")
                       .text("IDENTYFIKATORA", 80)
                       .key("A4BM:PK_VEX_A4B_SYSTEMY", {"ID_SYSTEMU"}, TableBuilder::Primary)
                       .key("A4BM:A4B_IDMAG", {"ID_MAGAZYNU"}));

  // ID_KONTRAHENTA is a 10-digit decimal here; 0 = not tied to a contractor.
  tables.push_back(table("OSOBA_POWIAZANA", "OSOP")
                       .id("ID_OSOPOW")
                       .ref("ID_FIRMY")
                       .decimalId("ID_KONTRAHENTA")
                       .text("FUNKCJA", 50)
                       .byte("DOKUMENT")
                       .byte("CZY_DOMYSLNY")
                       .text("NAZWA", 50)
                       .key("OSOP:PK_OSOBA_POWIAZANA", {"ID_OSOPOW"}, TableBuilder::Primary)
                       .key("OSOP:PO_NAZWIE", {"ID_FIRMY", "NAZWA"}, TableBuilder::NoCase));
}

}  // namespace slownik::sql
