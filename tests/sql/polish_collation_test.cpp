// Text sorts the Polish way on both backends, in the columns of a new database and of
// one made before its columns had the collation.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/collation.h"
#include "framework/sql/schema.h"
#include "support/backends.h"

namespace slownik {
namespace {

// Countries in the order a Polish reader expects them.
const std::vector<std::string> kCountries = {"Austria", "Czechy", "Litwa", "Łotwa", "Malta",
                                             "Słowacja", "Szwecja", "Węgry", "Zambia", "Żółta Wyspa"};

TEST(PolishCollation, OrdersPolishLettersAfterTheirBaseAndKeepsEqualityExact) {
  EXPECT_LT(sql::comparePolish("Litwa", "Łotwa"), 0);
  EXPECT_LT(sql::comparePolish("Łotwa", "Malta"), 0);
  EXPECT_LT(sql::comparePolish("Słowacja", "Szwecja"), 0);
  EXPECT_LT(sql::comparePolish("az", "ąa"), 0);
  EXPECT_LT(sql::comparePolish("ąz", "b"), 0);
  EXPECT_LT(sql::comparePolish("zz", "źa"), 0);
  EXPECT_LT(sql::comparePolish("źz", "ża"), 0);
  // Letter case only breaks ties, and never makes two texts equal.
  EXPECT_LT(sql::comparePolish("łotwa", "Łotwa"), 0);
  EXPECT_LT(sql::comparePolish("Łotwa", "łotwy"), 0);
  EXPECT_EQ(sql::comparePolish("Łotwa", "Łotwa"), 0);
  // A composed and a decomposed "ó" are the same letter to ICU; their bytes still differ.
  EXPECT_NE(sql::comparePolish("\xC3\xB3", "o\xCC\x81"), 0);
  EXPECT_EQ(sql::comparePolish("\xC3\xB3", "o\xCC\x81"), -sql::comparePolish("o\xCC\x81", "\xC3\xB3"));
}

TEST(PolishCollation, PrefixBoundClosesEveryTextThatStartsWithThePrefix) {
  for (const std::string prefix : {"Ł", "s", "S", "Sz", "a", "199"}) {
    const std::string high = sql::prefixUpperBound(prefix);
    for (const std::string tail : {"", "a", "z", "ż", "ZZZZ", "\xF0\x9F\x98\x80", "9"}) {
      EXPECT_LE(sql::comparePolish(prefix, prefix + tail), 0) << prefix << tail;
      EXPECT_LT(sql::comparePolish(prefix + tail, high), 0) << prefix << tail;
    }
  }
  // and nothing that starts otherwise.
  EXPECT_GT(sql::comparePolish("Ma", sql::prefixUpperBound("Ł")), 0);
  EXPECT_LT(sql::comparePolish("Lz", "Ł"), 0);
}

class PolishOrder : public test::DatabaseTest {
 protected:
  void insertCountries() {
    std::vector<std::string> shuffled = kCountries;
    std::reverse(shuffled.begin(), shuffled.end());
    std::swap(shuffled[1], shuffled[6]);
    int n = 0;
    for (const auto& name : shuffled) {
      std::vector<sql::Param> p = {"X" + std::to_string(n++), name};
      sql::Status s = db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES (?, ?)", p, nullptr);
      ASSERT_TRUE(s.isOk()) << s.message();
    }
  }
  std::vector<std::string> column(const std::string& sql) {
    sql::Result r;
    sql::Status s = db().execute(sql, &r);
    EXPECT_TRUE(s.isOk()) << sql << "\n" << s.message();
    std::vector<std::string> out;
    for (std::size_t i = 0; i < r.size(); ++i) out.push_back(r.text(i, 0));
    return out;
  }
  void expectPolishOrder(const std::string& when) {
    EXPECT_EQ(column("SELECT NAZWA FROM KRAJE ORDER BY NAZWA"), kCountries) << when;
    EXPECT_EQ(column("SELECT NAZWA FROM KRAJE ORDER BY UPPER(NAZWA)" + sql::collateClause()), kCountries) << when;
    std::vector<std::string> descending(kCountries.rbegin(), kCountries.rend());
    EXPECT_EQ(column("SELECT NAZWA FROM KRAJE ORDER BY NAZWA DESC"), descending) << when;
    // A range on the column: the names from "Ł" up to the bound.
    std::vector<sql::Param> p = {"Ł", sql::prefixUpperBound("Ł")};
    sql::Result r;
    ASSERT_TRUE(db().execute("SELECT NAZWA FROM KRAJE WHERE NAZWA >= ? AND NAZWA < ? ORDER BY NAZWA", p, &r));
    ASSERT_EQ(r.size(), 1u) << when;
    EXPECT_EQ(r.text(0, 0), "Łotwa") << when;
  }
};

TEST_P(PolishOrder, TextColumnsSortInTheCollationOnBothBackends) {
  insertCountries();
  expectPolishOrder("nowa baza");
  // The database and the program agree on every pair, names that differ by letter case
  // alone included (bank names may).
  std::vector<std::string> mixed = {"łódź", "Łódź", "LODZ", "lodz", "Łoś", "los", "Zażółć", "zazolc", "Ząb", "zab", "ŁÓDŹ"};
  for (std::size_t i = 0; i < mixed.size(); ++i) {
    std::vector<sql::Param> p = {static_cast<long long>(i + 1), mixed[i]};
    ASSERT_TRUE(db().execute("INSERT INTO BANKI (ID_BANKU, NAZWA) VALUES (?, ?)", p, nullptr));
  }
  std::vector<std::string> all = column("SELECT NAZWA FROM BANKI ORDER BY NAZWA");
  std::vector<std::string> expected = mixed;
  std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return sql::comparePolish(a, b) < 0; });
  EXPECT_EQ(all, expected);
  EXPECT_EQ(all.front(), "lodz");
  EXPECT_EQ(all.back(), "Ząb");
  // Equality is still exact: a search for a name finds that spelling alone.
  std::vector<sql::Param> p = {"Łódź"};
  sql::Result r;
  ASSERT_TRUE(db().execute("SELECT COUNT(*) FROM BANKI WHERE NAZWA = ?", p, &r));
  EXPECT_EQ(r.scalar(), "1");
}

// What the duplicate check calls the same name (letter case aside) the list shows side by
// side, and the database refuses it; a different letter is another name, sorted apart.
TEST_P(PolishOrder, DuplicateCheckAndListOrderAgree) {
  insertCountries();
  EXPECT_FALSE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D1', 'ŁOTWA')").isOk());
  EXPECT_FALSE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D2', 'słowacja')").isOk());
  ASSERT_TRUE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D3', 'lotwa')").isOk());
  ASSERT_TRUE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D4', 'LITWA Mała')").isOk());
  std::vector<std::string> byFolded =
      column("SELECT NAZWA FROM KRAJE ORDER BY UPPER(NAZWA)" + sql::collateClause() + ", SYM_KRAJU");
  std::vector<std::string> expected = {"Austria", "Czechy", "Litwa", "LITWA Mała", "lotwa", "Łotwa", "Malta",
                                       "Słowacja", "Szwecja", "Węgry", "Zambia", "Żółta Wyspa"};
  EXPECT_EQ(byFolded, expected);
}

// Builds the tables of a database made before the collation: the same tables, text
// columns and key indexes compared by bytes.
class OldDatabase : public PolishOrder {
 protected:
  bool wantsSchema() const override { return false; }

  static std::string withoutCollation(std::string sql) {
    const std::string clause = sql::collateClause();
    for (std::size_t at; (at = sql.find(clause)) != std::string::npos;) sql.erase(at, clause.size());
    return sql;
  }
  void makeOld(const std::vector<std::string>& tables) {
    ASSERT_TRUE(sql::migrate(db(), sql::kPolishOrderMigration - 1).isOk());
    for (const auto& name : tables) {
      const sql::TableDef* table = sql::Catalogue::instance().find(name);
      ASSERT_NE(table, nullptr);
      exec(std::string("DROP TABLE ") + name + (isPostgres() ? " CASCADE" : ""));
      for (const auto& statement : sql::createTableStatements(db().dialect(), *table))
        if (statement.rfind("CREATE COLLATION", 0) != 0) exec(withoutCollation(statement));
      for (const auto& index : sql::uniqueIndexes()) {
        if (index.table == name) {
          ASSERT_TRUE(sql::createUniqueIndex(db(), index).isOk());
        }
      }
    }
    if (isPostgres()) exec("CREATE VIEW BANKI1 AS SELECT * FROM BANKI");
  }
  // How many views, indexes or triggers the database holds.
  std::string count(const std::string& type) {
    if (!isPostgres()) return scalar("SELECT COUNT(*) FROM sqlite_schema WHERE type = '" + type + "'");
    // Of this case's schema only: other cases run beside it in schemas of their own.
    if (type == "trigger")
      return scalar("SELECT COUNT(*) FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_namespace n "
                    "ON n.oid = c.relnamespace WHERE NOT t.tgisinternal AND n.nspname = current_schema()");
    return scalar("SELECT COUNT(*) FROM pg_" + type + (type == "index" ? "es" : "s") + " WHERE schemaname = current_schema()");
  }
};

TEST_P(OldDatabase, MigrationMovesTextColumnsAndIndexesToTheCollation) {
  makeOld({"KRAJE", "BANKI"});
  insertCountries();
  // A name twice in two letter cases, from before the unique index: kept, left out of it
  // (the index is made anew with that exception).
  exec("DROP INDEX UQ_KRAJE_NAZWA");
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('P1', 'Peru'), ('P2', 'PERU')");
  for (const auto& index : sql::uniqueIndexes()) {
    if (index.name == "UQ_KRAJE_NAZWA") {
      ASSERT_TRUE(sql::createUniqueIndex(db(), index).isOk());
    }
  }
  exec("INSERT INTO BANKI (ID_BANKU, NAZWA, NUMER_BANKU) VALUES (1, 'Śląski', '1'), (2, 'Szybki', '2'), (3, 'Sowa', '3')");
  {  // by bytes, "Łotwa" comes after "Zambia"
    std::vector<std::string> before = column("SELECT NAZWA FROM KRAJE WHERE SYM_KRAJU LIKE 'X%' ORDER BY NAZWA");
    ASSERT_GE(before.size(), 2u);
    EXPECT_EQ(before[before.size() - 2], "Łotwa");
  }
  const std::string views = count("view"), indexes = count("index"), triggers = count("trigger");

  // Up to this migration only: later ones bring tables and indexes of their own.
  ASSERT_TRUE(sql::migrate(db(), sql::kPolishOrderMigration).isOk());
  EXPECT_EQ(sql::schemaVersion(db()), sql::kPolishOrderMigration);
  EXPECT_EQ(column("SELECT NAZWA FROM KRAJE WHERE SYM_KRAJU LIKE 'P%' ORDER BY SYM_KRAJU"),
            (std::vector<std::string>{"Peru", "PERU"}));
  exec("DELETE FROM KRAJE WHERE SYM_KRAJU LIKE 'P%'");
  expectPolishOrder("po migracji");
  EXPECT_EQ(column("SELECT NAZWA FROM BANKI1 ORDER BY NAZWA"), (std::vector<std::string>{"Sowa", "Szybki", "Śląski"}));
  EXPECT_EQ(column("SELECT NAZWA FROM BANKI ORDER BY UPPER(NAZWA)" + sql::collateClause()),
            (std::vector<std::string>{"Sowa", "Szybki", "Śląski"}));
  // Nothing around the tables was lost: views, indexes (the unique one still refusing and
  // still leaving out the old pair), triggers.
  EXPECT_EQ(count("view"), views);
  EXPECT_EQ(count("index"), indexes);
  EXPECT_EQ(count("trigger"), triggers);
  EXPECT_FALSE(db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('D1', 'ŁOTWA')").isOk());
  // A second run finds nothing left to move.
  ASSERT_TRUE(sql::convertToPolishOrder(db(), sql::kPolishOrderMigration).isOk());
  expectPolishOrder("po drugim przebiegu");
}

SLOWNIK_ON_ALL_BACKENDS(PolishOrder);
SLOWNIK_ON_ALL_BACKENDS(OldDatabase);

}  // namespace
}  // namespace slownik
