#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

void addBankingTables(std::vector<TableDef>& tables) {
  tables.push_back(table("BANKI", "BAN")
                       .id("ID_BANKU")
                       .text("NUMER", 8)
                       .text("NAZWA", 50)
                       .text("ULICA", 50)
                       .text("MIEJSCOWOSC", 30)
                       .text("KOD_POCZTOWY", 6)
                       .ref("SEMAFOR")
                       .key("BAN:KEY_ID", {"ID_BANKU"}, TableBuilder::Primary)
                       .key("BAN:KEY_NUMER", {"NUMER"})
                       .key("BAN:KEY_NAZWA", {"NAZWA"}, TableBuilder::NoCase));
}

}  // namespace slownik::sql
