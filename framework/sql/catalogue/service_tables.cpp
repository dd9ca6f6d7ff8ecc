#include <string>

#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {
namespace {

// Columns of the result tables VAX and VAX2: a statement's result row lands in
// C1, C2, … in the order of its select list. Fifty is more than any statement
// of the module reads.
constexpr int kResultColumns = 50;

TableDef resultTable(const char* name) {
  TableBuilder t(name, name);
  for (int i = 1; i <= kResultColumns; ++i) t.memo("C" + std::to_string(i));
  return t.view().build();
}

}  // namespace

void addServiceTables(std::vector<TableDef>& tables) {
  // Window parameters of each user ("sortowanie", "porządek", "split", …).
  // OKNO holds the window name upper-cased, so that names match in any letter case.
  tables.push_back(table("PARAMETR_OKNA", "PAROK")
                       .ref("ID_UZYTKOWNIKA").notNull()
                       .text("OKNO", 100).notNull()
                       .text("NAZWA", 100).notNull()
                       .memo("WARTOSC")
                       .key("PAROK:KEY", {"ID_UZYTKOWNIKA", "OKNO", "NAZWA"}, TableBuilder::Primary));

  // Program parameters: scope "S" keyed by the company, scope "U" by the user.
  tables.push_back(table("PARAMETR_KONF", "PARKONF")
                       .text("ZAKRES", 1).notNull()
                       .ref("ID_WLASCICIELA").notNull()
                       .text("NAZWA", 100).notNull()
                       .memo("WARTOSC")
                       .key("PARKONF:KEY", {"ZAKRES", "ID_WLASCICIELA", "NAZWA"}, TableBuilder::Primary));

  // Column layout of the lists, per user and window (window upper-cased as above).
  tables.push_back(table("KOLUMNA_BROWSERA", "KOLBR")
                       .ref("ID_UZYTKOWNIKA").notNull()
                       .text("OKNO", 100).notNull()
                       .text("KOLUMNA", 50).notNull()
                       .memo("FORMAT")
                       .longint("ROZMIAR")
                       .key("KOLBR:KEY", {"ID_UZYTKOWNIKA", "OKNO", "KOLUMNA"}, TableBuilder::Primary));

  // Classifiers: up to ten named values that records of a kind ("Pracownik", "Magazyn")
  // carry, defined per company. TYLKO_Z_LISTY 1 = only the values listed for the
  // classifier in KLASYFIKATOR_SLOWNIK_WAR; 0 = free text (the list only suggests).
  tables.push_back(table("KLASYFIKATOR_DEFINICJA", "KLDEF")
                       .id("ID_DEFINICJI")
                       .ref("ID_FIRMY").notNull()
                       .text("RODZAJ", 30).notNull()
                       .shortint("NUMER").notNull()
                       .text("NAZWA", 50)
                       .byte("WYMAGANY")
                       .byte("TYLKO_Z_LISTY")
                       .key("KLDEF:PK_KLASYFIKATOR_DEFINICJA", {"ID_DEFINICJI"}, TableBuilder::Primary)
                       .key("KLDEF:KLASYFIKATOR_DEF_RODZAJ", {"ID_FIRMY", "RODZAJ", "NUMER"}, TableBuilder::Unique)
                       .tableSince(7));
  // The classifier values of one record of a kind; an empty value has no row.
  tables.push_back(table("KLASYFIKATOR_WARTOSC", "KLWAR")
                       .text("RODZAJ", 30).notNull()
                       .ref("ID_REKORDU").notNull()
                       .shortint("NUMER").notNull()
                       .text("WARTOSC", 100)
                       .key("KLWAR:PK_KLASYFIKATOR_WARTOSC", {"RODZAJ", "ID_REKORDU", "NUMER"}, TableBuilder::Primary)
                       .key("KLWAR:KLASYFIKATOR_WAR_WARTOSC", {"RODZAJ", "NUMER", "WARTOSC"})
                       .tableSince(7));

  // Files attached to a record of a kind (the e-documents), kept in the database so that
  // every user of the company sees them.
  tables.push_back(table("EDOKUMENT", "EDOK")
                       .id("ID_EDOKUMENTU")
                       .text("RODZAJ", 30).notNull()
                       .ref("ID_REKORDU").notNull()
                       .text("NAZWA_PLIKU", 255)
                       .longint("ROZMIAR")
                       .date("DATA_DODANIA")
                       .ref("ID_UZYTKOWNIKA")
                       .blob("TRESC")
                       .key("EDOK:PK_EDOKUMENT", {"ID_EDOKUMENTU"}, TableBuilder::Primary)
                       .key("EDOK:EDOKUMENT_RODZAJ_REKORD", {"RODZAJ", "ID_REKORDU", "NAZWA_PLIKU"})
                       .tableSince(7));

  // Additional tables: user-defined tables of rows attached to the records of a kind.
  // KOLUMNA1..5 name the table's columns; an empty name leaves the column out.
  TableBuilder extra = table("TABELA_DODATKOWA", "TABDOD");
  extra.id("ID_TABELI").ref("ID_FIRMY").notNull().text("RODZAJ", 30).notNull().text("NAZWA", 50);
  for (int i = 1; i <= 5; ++i) extra.text("KOLUMNA" + std::to_string(i), 50);
  tables.push_back(extra.key("TABDOD:PK_TABELA_DODATKOWA", {"ID_TABELI"}, TableBuilder::Primary)
                       .key("TABDOD:TABELA_DODATKOWA_RODZAJ", {"ID_FIRMY", "RODZAJ", "NAZWA"})
                       .tableSince(7));
  TableBuilder rows = table("TABELA_DODATKOWA_WIERSZ", "TABDODW");
  rows.id("ID_WIERSZA").ref("ID_TABELI").notNull().ref("ID_REKORDU").notNull();
  for (int i = 1; i <= 5; ++i) rows.text("WARTOSC" + std::to_string(i), 100);
  tables.push_back(rows.key("TABDODW:PK_TABELA_DODATKOWA_WIERSZ", {"ID_WIERSZA"}, TableBuilder::Primary)
                       .key("TABDODW:TABELA_DOD_WIERSZ_REKORD", {"ID_TABELI", "ID_REKORDU", "ID_WIERSZA"})
                       .tableSince(7));

  tables.push_back(resultTable("VAX"));
  tables.push_back(resultTable("VAX2"));
}

}  // namespace slownik::sql
