#include <gtest/gtest.h>

#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

class SqlServicesTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("CREATE TABLE T_PROBA (ID INTEGER, NAZWA VARCHAR(30), KWOTA NUMERIC(10,2))");
    exec("INSERT INTO T_PROBA VALUES (1, 'Zażółć', 10.50), (2, 'gęślą', NULL), (3, 'jaźń', 0)");
    rt::clearError();
    CLOSESQL();
  }
  void TearDown() override {
    CLOSESQL();
    DatabaseTest::TearDown();
  }
};

TEST_P(SqlServicesTest, ErrorAfterABadStatementClearedAfterAGoodOne) {
  EXECSQL("select * from nie_ma_takiej_tabeli");
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_NE(rt::errorText().find("nie_ma_takiej_tabeli"), std::string::npos) << rt::errorText();
  EXPECT_FALSE(VAX().next());

  EXECSQL("update T_PROBA set NAZWA = NAZWA where ID = 1");
  EXPECT_EQ(rt::errorCode(), 0);
  EXPECT_EQ(rt::errorText(), "");

  // FUNCSQL reports and clears the same way.
  EXPECT_EQ(FUNCSQL("select nonsens from T_PROBA"), "");
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_EQ(FUNCSQL("select count(*) from T_PROBA"), "3");
  EXPECT_EQ(rt::errorCode(), 0);

  // A failed statement after a good one leaves no rows of the good one behind.
  EXECSQL("select ID from T_PROBA");
  EXECSQL("select ID from T_PROBA where");
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_FALSE(VAX().next());
}

TEST_P(SqlServicesTest, FuncsqlValues) {
  EXPECT_EQ(FUNCSQL("select NAZWA from T_PROBA where ID = 99"), "");  // no row
  EXPECT_EQ(rt::errorCode(), 0);
  EXPECT_EQ(FUNCSQL("select KWOTA from T_PROBA where ID = 2"), "");   // NULL
  EXPECT_EQ(FUNCSQL("select NAZWA from T_PROBA where ID = 1"), "Zażółć");
  EXPECT_EQ(FUNCSQL("select max(ID) from T_PROBA"), "3");
  EXPECT_EQ(FUNCSQL("select max(ID) from T_PROBA where ID > 10"), "");  // no maximum
  exec("INSERT INTO T_PROBA VALUES (4, 'ABC   ', 1)");
  EXPECT_EQ(FUNCSQL("select NAZWA from T_PROBA where ID = 4"), "ABC");
  EXPECT_EQ(FUNCSQL("select NAZWA from T_PROBA where ID = 4", 1), "ABC   ");
}

TEST_P(SqlServicesTest, ApostropheInAValueThroughTheQuotingHelper) {
  const std::string name = "Bank O'Neill";
  EXECSQL("insert into T_PROBA (ID, NAZWA) values (5, " + sql::quote(name) + ")");
  ASSERT_EQ(rt::errorCode(), 0) << rt::errorText();
  EXPECT_EQ(FUNCSQL("select NAZWA from T_PROBA where NAZWA = " + sql::quote(name)), name);
  EXPECT_EQ(FUNCSQL("select count(*) from T_PROBA where NAZWA = '" + sql::escape(name) + "'"), "1");
}

TEST_P(SqlServicesTest, VaxIsReadRowByRow) {
  EXECSQL("select ID, NAZWA, KWOTA from T_PROBA order by ID");
  ASSERT_EQ(rt::errorCode(), 0) << rt::errorText();
  ResultTable& vax = VAX();
  EXPECT_TRUE(vax.isOpen());
  EXPECT_EQ(vax.field(1), "");  // nothing read yet
  struct Row {
    const char* id;
    const char* name;
  };
  for (const Row& expected : {Row{"1", "Zażółć"}, Row{"2", "gęślą"}, Row{"3", "jaźń"}}) {
    ASSERT_TRUE(vax.next());
    EXPECT_EQ(vax.field(1), expected.id);
    EXPECT_EQ(vax.field(2), expected.name);
    EXPECT_EQ(vax.field("nazwa"), expected.name);
    if (std::string(expected.id) == "2") {
      EXPECT_EQ(vax.field(3), "");  // NULL reads as empty
    }
  }
  EXPECT_EQ(vax.field(4), "");   // beyond the statement's columns
  EXPECT_EQ(vax.field(0), "");
  EXPECT_FALSE(vax.next());
  EXPECT_EQ(vax.field(1), "");   // the buffer is empty at the end
  EXPECT_FALSE(vax.next());

  CLOSESQL();
  EXPECT_FALSE(VAX().isOpen());
  EXPECT_FALSE(VAX().next());
}

TEST_P(SqlServicesTest, Esql2ReadsBesideVax) {
  EXECSQL("select ID from T_PROBA order by ID");
  ASSERT_TRUE(VAX().next());
  ESQL2("select NAZWA from T_PROBA where ID = 3");
  ASSERT_TRUE(VAX2().next());
  EXPECT_EQ(VAX2().field(1), "jaźń");
  // FUNCSQL leaves both result tables as they are.
  EXPECT_EQ(FUNCSQL("select count(*) from T_PROBA"), "3");
  ASSERT_TRUE(VAX().next());
  EXPECT_EQ(VAX().field(1), "2");

  EXECSQLWIN("update T_PROBA set KWOTA = 1 where ID = 3", "Trwa aktualizacja ...");
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
  EXPECT_EQ(FUNCSQL("select KWOTA from T_PROBA where ID = 3").substr(0, 1), "1");

  CLOSESQL();
  EXPECT_FALSE(VAX().isOpen());
  EXPECT_FALSE(VAX2().isOpen());
}

SLOWNIK_ON_ALL_BACKENDS(SqlServicesTest);

}  // namespace
}  // namespace slownik::svc
