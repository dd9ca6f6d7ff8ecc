// The database keeps what the forms check for uniqueness, so that two users saving
// at the same moment cannot both get a duplicate in; and the upgrade that brings these
// indexes goes through on a database that already holds duplicates.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/log.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/schema.h"
#include "support/backends.h"

namespace slownik {
namespace {

using testing::HasSubstr;

class UniqueIndexes : public test::DatabaseTest {
 protected:
  bool accepted(const std::string& sql) { return db().execute(sql).isOk(); }
};

TEST_P(UniqueIndexes, MigrationTwoIsAppliedOnTopOfTheTables) {
  EXPECT_GE(sql::Catalogue::instance().latestMigration(), 2);
  EXPECT_EQ(sql::schemaVersion(db()), sql::Catalogue::instance().latestMigration());
}

// Per dictionary: the row already there, rows the form refuses as duplicates, and rows
// it lets through beside it.
TEST_P(UniqueIndexes, RefuseWhatTheFormsRefuseAndKeepTheRest) {
  struct Case {
    const char* what;
    std::vector<std::string> existing;
    std::vector<std::string> refused;
    std::vector<std::string> allowed;
  };
  const std::vector<Case> cases = {
      {"country name and symbol, any letter case",
       {"INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('AT', 'Austria')"},
       {"INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('XX', 'AUSTRIA')",
        "INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('at', 'Inny kraj')"},
       {"INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('XY', 'Austria Dolna')"}},
      {"province name with Polish capitals",
       {"INSERT INTO WOJEWODZTWO (ID_WOJEWODZTWA, WOJEWODZTWO) VALUES (901, 'łódzkie-test')"},
       {"INSERT INTO WOJEWODZTWO (ID_WOJEWODZTWA, WOJEWODZTWO) VALUES (902, 'ŁÓDZKIE-TEST')"},
       {"INSERT INTO WOJEWODZTWO (ID_WOJEWODZTWA, WOJEWODZTWO) VALUES (903, 'lodzkie-test')"}},
      {"currency symbol, any letter case",
       {"INSERT INTO WALUTY (SYM_WALUTY, NAZWA) VALUES ('XEU', 'Testowa')"},
       {"INSERT INTO WALUTY (SYM_WALUTY, NAZWA) VALUES ('xeu', 'Testowa mała')"},
       {"INSERT INTO WALUTY (SYM_WALUTY, NAZWA) VALUES ('XEV', 'Testowa')"}},
      {"bank number",
       {"INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU) VALUES (901, 'A', '10201026')"},
       {"INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU) VALUES (902, 'B', '10201026')"},
       {"INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU) VALUES (903, 'A', '10201039')",
        "INSERT INTO BANKI (ID_BANKU, NAZWA) VALUES (904, 'bez numeru')",
        "INSERT INTO BANKI (ID_BANKU, NAZWA) VALUES (905, 'bez numeru')"}},
      {"cash desk symbol and name within a company",
       {"INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 1, 'Kasa A', 'KA')"},
       {"INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 2, 'Kasa B', 'KA')",
        "INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 3, 'Kasa A', 'KC')"},
       {"INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (902, 4, 'Kasa A', 'KA')"}},
      {"office name, any letter case; new offices without a name",
       {"INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (901, 'Urząd Skarbowy Łódź-Test')"},
       {"INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (902, 'URZĄD SKARBOWY ŁÓDŹ-TEST')"},
       {"INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (903, '')",
        "INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (904, '')"}},
      {"interest table name within a company, any letter case and trailing blanks",
       {"INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA) VALUES (901, 901, 'Odsetki ustawowe')"},
       {"INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA) VALUES (902, 901, 'ODSETKI USTAWOWE')",
        "INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA) VALUES (903, 901, 'Odsetki ustawowe  ')"},
       {"INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA) VALUES (904, 902, 'Odsetki ustawowe')",
        "INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA) VALUES (905, 901, 'Odsetki umowne')"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& sql : c.existing) exec(sql);
    for (const auto& sql : c.refused) EXPECT_FALSE(accepted(sql)) << sql;
    for (const auto& sql : c.allowed) EXPECT_TRUE(accepted(sql)) << sql;
  }
}

SLOWNIK_ON_ALL_BACKENDS(UniqueIndexes);

class UniqueIndexesUpgrade : public UniqueIndexes {
 protected:
  bool wantsSchema() const override { return false; }
};

// An older database that already holds duplicates: the upgrade keeps them and says so,
// and the index still refuses every new duplicate.
TEST_P(UniqueIndexesUpgrade, KeepsAndReportsDuplicatesAlreadyThere) {
  sql::Status first = sql::migrate(db(), 1);
  ASSERT_TRUE(first.isOk()) << first.message();
  ASSERT_EQ(sql::schemaVersion(db()), 1);
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D1', 'Niemcy')");
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D2', 'NIEMCY')");
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('AT', 'Austria')");
  exec("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 1, 'Kasa', 'K''1')");
  exec("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 2, 'Kasa walutowa', 'K''1')");

  std::vector<std::string> log;
  rt::setLogSink([&log](std::string_view line) { log.emplace_back(line); });
  sql::Status upgraded = sql::migrate(db());
  rt::setLogSink({});
  ASSERT_TRUE(upgraded.isOk()) << upgraded.message();
  EXPECT_EQ(sql::schemaVersion(db()), sql::Catalogue::instance().latestMigration());

  ASSERT_EQ(log.size(), 2u) << testing::PrintToString(log);
  EXPECT_THAT(log[0], HasSubstr("KRAJE"));
  EXPECT_THAT(log[0], HasSubstr("'NIEMCY'"));
  EXPECT_THAT(log[1], HasSubstr("KASY_FIRMY"));
  EXPECT_THAT(log[1], HasSubstr("'K''1'"));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE WHERE SYM_KRAJU IN ('D1', 'D2')"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KASY_FIRMY WHERE ID_FIRMY = 901"), "2");

  EXPECT_FALSE(accepted("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('A2', 'austria')"));
  EXPECT_TRUE(accepted("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('CZ', 'Czechy')"));
  EXPECT_FALSE(accepted("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('C2', 'CZECHY')"));
  EXPECT_FALSE(accepted("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (901, 3, 'Kasa', 'K3')"));
  EXPECT_TRUE(accepted("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (902, 4, 'Kasa', 'K1')"));
}

SLOWNIK_ON_ALL_BACKENDS(UniqueIndexesUpgrade);

}  // namespace
}  // namespace slownik
