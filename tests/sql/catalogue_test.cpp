#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik {
namespace {

using sql::Catalogue;
using sql::ColumnType;
using sql::TableDef;

// Views that the schema creates as database objects (the other views of the catalogue
// are result tables or outside files, with no object in the database).
const std::set<std::string> kDatabaseViews = {"BANKI1", "KONTRAHENT1", "WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN"};

// Every file the module takes at initialisation, the tables of the module's list, and the
// tables its statements name. VAX and VAX2 belong to the SQL services and are left out.
const std::vector<std::string> kRequiredTables = {
    "AKCYZA_FIRMA_PODATNIK", "FORMA_DOSTAWY", "VEX_A4B_SYSTEMY", "ETYKIETA_DOKUMENTU", "KIR_ODDZIALY",
    "VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "RODZAJ_OPERACJI_FIN", "KOSZT_DOK_HANDL", "FORMA_PLATNOSCI",
    "FIRMA_ZALACZNIK", "OSOBA_POWIAZANA", "KOREKTA_DOK_HANDL_V", "ECR", "PRACOWNIK", "NUMERACJA",
    "TABELA_ODSETEK", "RACHUNEK_PRACOWNIKA", "RACHUNEK_KONTRAHENTA", "DATY_KURSOW",
    "WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN", "RACHUNEK_FIRMY", "KASY_FIRMY", "KLASYFIKACJA_KONTRAHENTA",
    "KURSY_WALUT", "TYP_DOKUMENTU_HANDLOWEGO", "NAGLOWEKKONFIG", "RAPORT_KAS_BANK", "ADRESY_FIRMY",
    "TYP_DOKUMENTU_MAGAZYNOWEGO", "INTERMAGAZYNGRUPA", "KONTAKT", "WOJEWODZTWO", "KLASYFIKATOR_SLOWNIK_WAR",
    "DOKUMENT_HANDLOWY", "FIRMA", "INTER_FIN_ROZRACH", "ARTYKUL", "CENA_ARTYKULU", "UZYTKOWNIK", "WALUTY",
    "MAGAZYN", "CENA_KATEGORII", "VAT", "CENA", "RACHUNEK_WIRTUALNY", "POZYCJAKONFIG", "JEDNOSTKA",
    "INTERFIRMAPOZYCJA", "GRUPA_KONTRAHENTA", "ADRESY_PRACOWNIKA", "SMS_TRACKING_URL", "KONTRAHENT",
    "SMS_TRACKING_URL_HISTORIA", "SMS_SZABLON", "ODSETKI", "BANKI", "DOKUMENT_FINANSOWY",
    "TYP_DOKUMENTU_FINANSOWEGO", "URZEDY", "UZYTKOWNIKGRUPY", "RACHUNEK_URZEDU", "GRUPAUZYTKOWNIKOW", "KRAJE",
    "PRACOWNIK_ZALACZNIK", "BANKI1", "KONTRAHENT1",
    // named only inside statements
    "STAWKA_VAT", "DOSTEP", "ZAZNACZONE", "STAN_UZYTKOWNIKA_W_MAG", "ZAMOWIENIE", "INT_UZYTKOWNIK",
    "CRM_INTER_KONTAKT"};

TEST(Catalogue, EveryTableTheModuleNamesIsThereWithItsPrefix) {
  const Catalogue& cat = Catalogue::instance();
  for (const auto& name : kRequiredTables) EXPECT_NE(cat.find(name), nullptr) << name;

  // Prefixes as the module qualifies columns with them.
  const std::vector<std::pair<std::string, std::string>> prefixes = {
      {"ADRESY_FIRMY", "ADRFIR"}, {"ARTYKUL", "ART"},       {"BANKI", "BAN"},
      {"BANKI1", "BAN1"},         {"CENA_ARTYKULU", "CENART"}, {"DATY_KURSOW", "DATKUR"},
      {"FIRMA", "FIR"},           {"KIR_ODDZIALY", "KIR_O"}, {"KONTRAHENT1", "KON1"},
      {"STAWKA_VAT", "VAT"},      {"TYP_DOKUMENTU_MAGAZYNOWEGO", "TYPDMAG"},
      {"WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN", "VRZS"}, {"SMS_TRACKING_URL_HISTORIA", "SMSTH"},
      {"RACHUNEK_PRACOWNIKA", "RACHPRAC"}, {"TABELA_ODSETEK", "TABODS"}, {"WOJEWODZTWO", "WOJ"}};
  for (const auto& [name, prefix] : prefixes) {
    const TableDef* t = cat.find(name);
    ASSERT_NE(t, nullptr) << name;
    EXPECT_EQ(t->prefix, prefix) << name;
    EXPECT_EQ(cat.find(prefix), t) << prefix;
  }
  // The VAT file is known by its prefix; its SQL name is the one the statements use.
  ASSERT_NE(cat.find("vat"), nullptr);
  EXPECT_EQ(cat.find("vat")->name, "STAWKA_VAT");
  EXPECT_EQ(cat.find("no_such_table"), nullptr);
}

TEST(Catalogue, NamesPrefixesColumnsAndKeysAreConsistent) {
  std::set<std::string> names, prefixes;
  for (const TableDef& t : Catalogue::instance().tables()) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(t.name, sql::toUpperAscii(t.name));
    EXPECT_TRUE(names.insert(sql::toUpperAscii(t.name)).second) << "table twice";
    EXPECT_TRUE(prefixes.insert(sql::toUpperAscii(t.prefix)).second) << "prefix twice: " << t.prefix;
    EXPECT_FALSE(t.columns.empty());

    std::set<std::string> columns;
    for (const auto& c : t.columns) {
      EXPECT_EQ(c.name, sql::toUpperAscii(c.name));
      EXPECT_TRUE(columns.insert(c.name).second) << "column twice: " << c.name;
      if (c.type == ColumnType::Text) {
        EXPECT_GT(c.size, 0) << c.name;
      }
      if (c.type == ColumnType::Decimal) {
        EXPECT_GT(c.size, c.scale) << c.name;
      }
    }

    std::set<std::string> keys;
    for (const auto& k : t.keys) {
      EXPECT_TRUE(keys.insert(sql::toUpperAscii(k.name)).second) << "key twice: " << k.name;
      EXPECT_EQ(k.name.rfind(t.prefix + ":", 0), 0u) << k.name << " lacks the prefix";
      EXPECT_FALSE(k.components.empty()) << k.name;
      for (const auto& part : k.components) EXPECT_NE(t.column(part.column), nullptr) << k.name << ": " << part.column;
    }

    if (!t.idColumn.empty()) {
      const auto* id = t.column(t.idColumn);
      ASSERT_NE(id, nullptr) << t.idColumn;
      EXPECT_FALSE(id->nullable) << "the primed id may not be NULL";
    }
    if (t.isView) continue;

    // Real tables: the primary key first, its columns never NULL (PostgreSQL would make
    // them so silently, SQLite would not; the two backends must agree).
    ASSERT_FALSE(t.keys.empty());
    EXPECT_TRUE(t.keys.front().primary) << "the primary key comes first";
    int primaries = 0;
    for (const auto& k : t.keys) primaries += k.primary ? 1 : 0;
    EXPECT_EQ(primaries, 1);
    for (const auto& part : t.keys.front().components) {
      EXPECT_FALSE(t.column(part.column)->nullable) << part.column;
    }
    // A table keyed by one id column primes that column on insert.
    const auto& pk = t.keys.front().components;
    if (pk.size() == 1 && t.column(pk[0].column)->type == ColumnType::Id) {
      EXPECT_EQ(t.idColumn, pk[0].column);
    }
  }
  // A table's name may not be another table's prefix, or find() would be ambiguous.
  for (const TableDef& t : Catalogue::instance().tables())
    for (const TableDef& other : Catalogue::instance().tables())
      if (&t != &other) {
        EXPECT_FALSE(sql::equalsIgnoreCase(t.name, other.prefix)) << t.name;
      }
}

TEST(Catalogue, RecordSemaphoreTablesCarryTheLockColumn) {
  for (const char* name : {"BANKI", "TABELA_ODSETEK", "URZEDY", "PRACOWNIK", "FIRMA", "KONTRAHENT"}) {
    const TableDef* t = Catalogue::instance().find(name);
    ASSERT_NE(t, nullptr) << name;
    const auto* semaphore = t->column("SEMAFOR");
    ASSERT_NE(semaphore, nullptr) << name;
    EXPECT_EQ(semaphore->type, ColumnType::Id) << name;
    EXPECT_TRUE(semaphore->nullable) << name;
  }
}

TEST(Catalogue, ColumnsAsTheWindowsBindThem) {
  struct Expect {
    const char* field;
    ColumnType type;
    int size;
    int scale;
  };
  const std::vector<Expect> fields = {
      {"VAT:KOD_VAT", ColumnType::Text, 3, 0},          {"VAT:STAWKA", ColumnType::Decimal, 9, 2},
      {"VAT:AKTYWNY", ColumnType::Long, 0, 0},          {"KRA:NAZWA", ColumnType::Text, 50, 0},
      {"WOJ:WOJEWODZTWO", ColumnType::Text, 30, 0},     {"WAL:SYM_WALUTY", ColumnType::Text, 3, 0},
      {"WAL:MNOZNIK_WALUTY", ColumnType::Long, 0, 0},   {"DATKUR:DATA_NOT", ColumnType::Date, 0, 0},
      {"DATKUR:GODZ_NOT", ColumnType::Time, 0, 0},      {"BAN:NAZWA", ColumnType::Text, 100, 0},
      {"BAN:NUMER_BANKU", ColumnType::Text, 8, 0},      {"BAN:SWIFT", ColumnType::Text, 20, 0},
      {"BAN1:NUMER_BANKU", ColumnType::Text, 8, 0},     {"ODS:STOPA", ColumnType::Decimal, 9, 4},
      {"ODS:ZA_OKRES", ColumnType::Long, 0, 0},         {"URZ:TYP_URZEDU", ColumnType::Text, 3, 0},
      {"KAS:KONTO_FK", ColumnType::Text, 70, 0},        {"FIR:UWAGI", ColumnType::Text, 500, 0},
      {"FIR:LOGO_BLOB", ColumnType::Blob, 0, 0},        {"PRA:POLE10", ColumnType::Text, 100, 0},
      {"MAG:OPIS", ColumnType::Memo, 0, 0},             {"MAG:POLE1", ColumnType::Text, 100, 0},
      {"OSOP:ID_KONTRAHENTA", ColumnType::Decimal, 10, 0}, {"TYPDMAG:SYGNATURA", ColumnType::Text, 3, 0},
      {"TYPDMAG:CZY_SYSTEMOWY", ColumnType::Short, 0, 0}, {"JED:PRZELICZNIK", ColumnType::Decimal, 16, 6},
      {"CENART:CENA_NETTO", ColumnType::Decimal, 16, 4}, {"FORP:ID_FORMY", ColumnType::Long, 0, 0},
      {"VRZS:KOMENTARZ", ColumnType::Text, 1000, 0},    {"KON1:OPERATOR_PLATNOSCI", ColumnType::Byte, 0, 0},
      {"SMSSZ:TRESC_WIADOMOSCI", ColumnType::Text, 2000, 0}, {"SMST:ID_TRACKING_URL", ColumnType::Long, 0, 0},
      {"DOS:ID_OBIEKTU", ColumnType::Id, 0, 0},         {"ZAZ:UZYCIE", ColumnType::Long, 0, 0},
  };
  for (const auto& f : fields) {
    std::string field = f.field;
    const TableDef* t = Catalogue::instance().find(field.substr(0, field.find(':')));
    ASSERT_NE(t, nullptr) << field;
    const auto* c = t->column(field);
    ASSERT_NE(c, nullptr) << field;
    EXPECT_EQ(c->type, f.type) << field;
    EXPECT_EQ(c->size, f.size) << field;
    EXPECT_EQ(c->scale, f.scale) << field;
  }
  // Keys in the order of their components, as the lists sort.
  const TableDef* employees = Catalogue::instance().find("PRA");
  const auto* bySurname = employees->key("PRA:PRACOWNIK_IDFIR_NAZWISKO_ID_PRAC");
  ASSERT_NE(bySurname, nullptr);
  ASSERT_EQ(bySurname->components.size(), 3u);
  EXPECT_EQ(bySurname->components[1].column, "NAZWISKO");
  const auto* byDate = Catalogue::instance().find("SMST")->key("SMST:PO_DACIE");
  ASSERT_NE(byDate, nullptr);
  EXPECT_TRUE(byDate->components[0].descending);
}

class MigratedSchema : public test::DatabaseTest {};

// Every column of every table and database view can be selected after migration.
TEST_P(MigratedSchema, EveryTableAndViewHasItsColumns) {
  for (const TableDef& t : Catalogue::instance().tables()) {
    if (t.isView && !kDatabaseViews.count(t.name)) continue;
    std::string columns;
    for (const auto& c : t.columns) columns += (columns.empty() ? "" : ", ") + c.name;
    sql::Status s = db().execute("SELECT " + columns + " FROM " + t.name + " WHERE 1 = 0");
    EXPECT_TRUE(s.isOk()) << t.name << ": " << s.message();
  }
}

TEST_P(MigratedSchema, PolishTextFillsItsWholeWidth) {
  // 50 characters, 64 bytes: a width counted in bytes would refuse or cut it.
  const std::string name = "Zażółć gęślą jaźń ŻÓŁW ĆMA Śląsk Łódź Gdańsk pełny";
  ASSERT_EQ(sql::utf8Length(name), 50u);
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('ZZ', " + sql::quote(name) + ")");
  EXPECT_EQ(scalar("SELECT NAZWA FROM KRAJE WHERE SYM_KRAJU = 'ZZ'"), name);
  exec("INSERT INTO UZYTKOWNIK (ID_UZYTKOWNIKA, IDENTYFIKATOR, NAZWA) VALUES (1, 'o''brien', " +
       sql::quote("Ewa O'Brien-Żółkiewska") + ")");
  EXPECT_EQ(scalar("SELECT NAZWA FROM UZYTKOWNIK WHERE IDENTYFIKATOR = " + sql::quote("o'brien")),
            "Ewa O'Brien-Żółkiewska");
  if (isPostgres()) {
    // The server enforces the width: one character more is refused, not cut silently.
    EXPECT_FALSE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('ZY', " + sql::quote(name + "x") + ")")
                     .isOk());
  }
}

TEST_P(MigratedSchema, KeysRefuseDuplicatesAndMissingIds) {
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (1, 1, 'Kasy', 0, 1)");
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (1, 1, 'Kasy', 7, 1)");
  EXPECT_FALSE(
      db().execute("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (1, 1, 'Kasy', 0, 2)")
          .isOk());
  EXPECT_FALSE(db().execute("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, RODZAJ_DOSTEPU) VALUES (2, 1, 'Kasy', 1)")
                   .isOk())
      << "a right without its object column must not be stored as NULL";
  exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (1, 0, 81000)");
  EXPECT_FALSE(db().execute("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (2, 0, 81000)").isOk())
      << "one NBP table per day";
  exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (2, -1, 81000)");
}

TEST_P(MigratedSchema, AliasViewsShowTheirTablesRows) {
  exec("INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU) VALUES (5, 'Bank ''Polski''', '10201026')");
  EXPECT_EQ(scalar("SELECT NAZWA FROM BANKI1 WHERE ID_BANKU = 5"), "Bank 'Polski'");
  exec("INSERT INTO KONTRAHENT (ID_KONTRAHENTA, ID_FIRMY, NAZWA, OPERATOR_PLATNOSCI) VALUES (9, 1, 'Operator', 1)");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KONTRAHENT1 A WHERE A.OPERATOR_PLATNOSCI = 1"), "1");
}

TEST_P(MigratedSchema, StatusHistoryViewJoinsNamesAndDeletesThroughToTheRegister) {
  exec("INSERT INTO UZYTKOWNIK (ID_UZYTKOWNIKA, IDENTYFIKATOR, NAZWA) VALUES (6100003, 'Admin', 'Administrator')");
  exec("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NAZWISKO, IMIE_1) VALUES (4, 1, 'Nowak', 'Anna')");
  exec("INSERT INTO VEX_SLOWNIK_STATUSOW_DOKUMENTOW (ID_STATUSU, OPIS_STATUSU, KOD_STATUSU, TYP_DOKUMENTU) "
       "VALUES (1, 'Nowe', 'N', 'Z')");
  exec("INSERT INTO VEX_SLOWNIK_STATUSOW_DOKUMENTOW (ID_STATUSU, OPIS_STATUSU, KOD_STATUSU, TYP_DOKUMENTU) "
       "VALUES (2, 'W realizacji', 'C', 'Z')");
  for (int id : {1, 2, 3}) {
    exec("INSERT INTO REJESTR_ZMIAN_STATUSOW_ZAMOWIEN (ID_REJESTRU_ZMIAN, ID_ZAMOWIENIA, STATUS_PRZED_ZMIANA, "
         "STATUS_PO_ZMIANIE, DATA_ZMIANY, ID_UZYTKOWNIKA, ID_PRACOWNIKA) VALUES (" +
         std::to_string(id) + ", " + (id == 3 ? "8" : "7") + ", 'N', 'C', 81000, 6100003, 4)");
  }
  sql::Result r;
  ASSERT_TRUE(db().execute("SELECT OPISSTATUSUPRZEDZMIANA, OPISSTATUSUPOZMIANIE, NAZWAUZYTKOWNIKA, NAZWAPRACOWNIKA "
                           "FROM WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN A WHERE A.IdRejestruZmian = 1",
                           &r)
                  .isOk());
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r.text(0, 0), "Nowe");
  EXPECT_EQ(r.text(0, 1), "W realizacji");
  EXPECT_EQ(r.text(0, 2), "Administrator");
  EXPECT_EQ(r.text(0, 3), "Nowak Anna");

  exec("DELETE FROM WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN WHERE IdRejestruZmian = 1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN"), "2");
  exec("DELETE FROM WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN WHERE IdZamowienia = 7 AND IdUzytkownika = 6100003");
  EXPECT_EQ(scalar("SELECT ID_REJESTRU_ZMIAN FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN"), "3")
      << "only the chosen order's history goes";
}

SLOWNIK_ON_ALL_BACKENDS(MigratedSchema);

}  // namespace
}  // namespace slownik
