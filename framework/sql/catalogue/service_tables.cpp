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

  tables.push_back(resultTable("VAX"));
  tables.push_back(resultTable("VAX2"));
}

}  // namespace slownik::sql
