#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

// VAT rates, countries, provinces, currencies and exchange rates.
void addTaxCurrencyTables(std::vector<TableDef>& tables) {
  // The VAT file is named STAWKA_VAT in SQL (statements read "from stawka_vat") and
  // keeps the prefix VAT, so Catalogue::find("VAT") finds it through its prefix. A real
  // table rather than a view: the VAT window inserts, changes and deletes its rows.
  tables.push_back(table("STAWKA_VAT", "VAT")
                       .text("KOD_VAT", 3).notNull()
                       .text("NAZWA", 20)
                       .decimal("STAWKA", 9, 2)
                       .longint("AKTYWNY")
                       .key("VAT:PK_VAT", {"KOD_VAT"}, TableBuilder::Primary)
                       .key("VAT:VAT_STAWKA", {"-STAWKA", "KOD_VAT"}));

  tables.push_back(table("KRAJE", "KRA")
                       .text("SYM_KRAJU", 3).notNull()
                       .text("NAZWA", 50)
                       .key("KRA:PK_KRAJE", {"SYM_KRAJU"}, TableBuilder::Primary)
                       .key("KRA:AK_KRAJE_NAZWA_KRAJE", {"NAZWA"}, TableBuilder::NoCase));

  tables.push_back(table("WOJEWODZTWO", "WOJ")
                       .id("ID_WOJEWODZTWA")
                       .text("WOJEWODZTWO", 30)
                       .key("WOJ:PK_WOJEWODZTWO", {"ID_WOJEWODZTWA"}, TableBuilder::Primary)
                       .key("WOJ:AK_WOJEWODZTWO_WOJEWODZ", {"WOJEWODZTWO"}, TableBuilder::NoCase));

  // Shared by all companies. NUMER 1 marks the base currency.
  tables.push_back(table("WALUTY", "WAL")
                       .text("SYM_WALUTY", 3).notNull()
                       .text("SYM_KRAJU", 3)
                       .text("NAZWA", 30)
                       .longint("NUMER")
                       .longint("MNOZNIK_WALUTY")
                       .key("WAL:PK_WALUTY", {"SYM_WALUTY"}, TableBuilder::Primary)
                       .key("WAL:WALUTY_NAZWA", {"NAZWA"}, TableBuilder::NoCase));

  // One row per published rate table: ID_BANKU 0 = NBP, -1 = ECB.
  tables.push_back(table("DATY_KURSOW", "DATKUR")
                       .id("ID_DATY")
                       .ref("ID_BANKU").notNull()
                       .date("DATA_NOT").notNull()
                       .time("GODZ_NOT")
                       .text("NR_TABELI", 30)
                       .key("DATKUR:PK_DATY_KURSOW", {"ID_DATY"}, TableBuilder::Primary)
                       .key("DATKUR:AK_DATYKURSOW_IDBANK__DATY_KUR", {"ID_BANKU", "DATA_NOT"}, TableBuilder::Unique));

  // Rates are exact decimals with six places (the lists show up to six after the comma).
  tables.push_back(table("KURSY_WALUT", "KUR")
                       .ref("ID_DATY").notNull()
                       .text("SYM_WALUTY", 3).notNull()
                       .decimal("KURS_ZAKUPU", 16, 6)
                       .decimal("KURS_SPRZEDAZY", 16, 6)
                       .decimal("KURS_SREDNI", 16, 6)
                       .key("KUR:AK_KURSYWALUT_DATA_WA_KURSY_WA", {"ID_DATY", "SYM_WALUTY"}, TableBuilder::Primary)
                       .key("KUR:KURSY_WALUT_SYM_WALUTY", {"SYM_WALUTY", "ID_DATY"}));
}

}  // namespace slownik::sql
