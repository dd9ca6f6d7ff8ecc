#include <gtest/gtest.h>

#include "data/test_tables.h"
#include "framework/sql/catalogue/table_builder.h"
#include "framework/sql/schema.h"

namespace slownik::test {

const sql::TableDef& personTable() {
  static const sql::TableDef def = sql::table("DT_OSOBA", "DTO")
                                       .id("ID")
                                       .text("NUMER", 8)
                                       .text("NAZWA", 20)
                                       .text("KOD", 5)
                                       .decimal("KWOTA", 12, 2)
                                       .longint("ILOSC")
                                       .byte("FLAGA")
                                       .real("KURS")
                                       .date("DATA")
                                       .blob("FOTO")
                                       .memo("UWAGI")
                                       .key("DTO:PK_OSOBA", {"ID"}, sql::TableBuilder::Primary)
                                       .key("DTO:AK_NUMER", {"NUMER"}, sql::TableBuilder::Unique)
                                       .key("DTO:PO_NAZWIE", {"NAZWA"}, sql::TableBuilder::NoCase)
                                       .key("DTO:PO_KODZIE", {"KOD", "-ILOSC"});
  return def;
}

const sql::TableDef& parentTable() {
  static const sql::TableDef def = sql::table("DT_RODZIC", "DTR")
                                       .id("ID_RODZICA")
                                       .text("NAZWA", 20)
                                       .key("DTR:PK", {"ID_RODZICA"}, sql::TableBuilder::Primary);
  return def;
}

const sql::TableDef& childTable() {
  static const sql::TableDef def = sql::table("DT_DZIECKO", "DTD")
                                       .id("ID_DZIECKA")
                                       .ref("ID_RODZICA")
                                       .text("NAZWA", 20)
                                       .key("DTD:PK", {"ID_DZIECKA"}, sql::TableBuilder::Primary);
  return def;
}

const sql::TableDef& grandchildTable() {
  static const sql::TableDef def = sql::table("DT_WNUK", "DTW")
                                       .id("ID_WNUKA")
                                       .ref("ID_DZIECKA")
                                       .key("DTW:PK", {"ID_WNUKA"}, sql::TableBuilder::Primary);
  return def;
}

const sql::TableDef& noteTable() {
  static const sql::TableDef def = sql::table("DT_NOTATKA", "DTN")
                                       .id("ID_NOTATKI")
                                       .ref("ID_RODZICA")
                                       .key("DTN:PK", {"ID_NOTATKI"}, sql::TableBuilder::Primary);
  return def;
}

bool createTestTables(sql::Database& db) {
  for (const sql::TableDef* t : {&personTable(), &parentTable(), &childTable(), &grandchildTable(), &noteTable()}) {
    for (const auto& statement : sql::createTableStatements(db.dialect(), *t)) {
      sql::Status s = db.execute(statement);
      EXPECT_TRUE(s.isOk()) << statement << "\n" << s.message();
      if (!s) return false;
    }
  }
  return true;
}

}  // namespace slownik::test
