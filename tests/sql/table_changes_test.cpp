// Which table a statement that ran changed, as the caches of rights and settings see it.
#include <gtest/gtest.h>

#include <string>

#include "framework/sql/table_changes.h"

namespace slownik::sql {
namespace {

TEST(TableChanges, WritesCountForTheirTableReadsForNone) {
  struct Case {
    const char* statement;
    const char* table;  // the table the write counts for; "" none, "*" every table
  };
  const Case cases[] = {
      {"SELECT * FROM DOSTEP", ""},
      {"  select count(*) from dostep", ""},
      {"BEGIN", ""},
      {"COMMIT", ""},
      {"SAVEPOINT sp1", ""},
      {"INSERT INTO DOSTEP (KOD) VALUES ('x')", "DOSTEP"},
      {"insert into \"public\".\"dostep\" (kod) values ('x')", "DOSTEP"},
      {"INSERT OR REPLACE INTO Dostep VALUES (1)", "DOSTEP"},
      {"UPDATE dbo.UZYTKOWNIKGRUPY SET ID_GRUPY = 1", "UZYTKOWNIKGRUPY"},
      {"DELETE FROM PARAMETR_OKNA WHERE 1 = 1", "PARAMETR_OKNA"},
      {"TRUNCATE TABLE DOSTEP", "DOSTEP"},
      {"DROP TABLE DOSTEP", "*"},
      {"CREATE TEMPORARY TABLE X (ID INTEGER)", "*"},
      {"WITH d AS (DELETE FROM DOSTEP RETURNING 1) SELECT 1", "DOSTEP"},
      // The record lock's one-statement take writes the dictionary row and BLOKADA only.
      {"WITH T_ AS (UPDATE BANKI SET SEMAFOR = $1 WHERE ID_BANKU = $2 RETURNING ID_BANKU) "
       "INSERT INTO BLOKADA (TABELA) SELECT $3 FROM T_",
       "BANKI"},
      {"WITH r AS (SELECT KOD FROM DOSTEP) SELECT * FROM r", ""},
  };
  for (const auto& c : cases) {
    const unsigned long long rights = changesOf("DOSTEP"), other = changesOf("WALUTY");
    noteStatement(c.statement);
    const std::string table = c.table;
    if (table.empty()) {
      EXPECT_EQ(changesOf("DOSTEP"), rights) << c.statement;
      EXPECT_EQ(changesOf("WALUTY"), other) << c.statement;
    } else if (table == "*") {
      EXPECT_GT(changesOf("DOSTEP"), rights) << c.statement;
      EXPECT_GT(changesOf("WALUTY"), other) << c.statement;
    } else {
      EXPECT_GT(changesOf(table), table == "DOSTEP" ? rights : 0ULL) << c.statement;
      EXPECT_EQ(changesOf("WALUTY"), other) << c.statement;
    }
  }
  // Any letter case names the same table.
  const unsigned long long before = changesOf("dostep");
  noteStatement("DELETE FROM dostep");
  EXPECT_EQ(changesOf("DOSTEP"), before + 1);
}

}  // namespace
}  // namespace slownik::sql
