#include <gtest/gtest.h>

#include <thread>

#include "framework/sql/database.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"
#include "support/backends.h"

namespace slownik {
namespace {

using sql::Param;
using test::DatabaseTest;

class DatabaseBasics : public DatabaseTest {};

TEST_P(DatabaseBasics, TextSurvivesQuotingAndParameters) {
  exec("CREATE TABLE T (ID BIGINT, NAZWA VARCHAR(60))");
  const std::vector<std::string> samples = {"O'Brien & Syn", "\"cudzysłów\"", "back\\slash", "100% pewne",
                                            "Zażółć gęślą jaźń", "emoji 😀 tu", "''", "?"};
  int id = 0;
  for (const auto& s : samples) {
    ++id;
    exec("INSERT INTO T (ID, NAZWA) VALUES (" + std::to_string(id) + ", " + sql::quote(s) + ")");
    EXPECT_EQ(scalar("SELECT NAZWA FROM T WHERE ID = " + std::to_string(id)), s);
    EXPECT_EQ(scalar("SELECT ID FROM T WHERE NAZWA = " + sql::quote(s)), std::to_string(id));
  }
  std::vector<Param> params = {Param{1000LL}, Param{std::string("O'Hara ?")}};
  ASSERT_TRUE(db().execute("INSERT INTO T (ID, NAZWA) VALUES (?, ?)", params, nullptr).isOk());
  EXPECT_EQ(scalar("SELECT NAZWA FROM T WHERE ID = 1000"), "O'Hara ?");
}

TEST_P(DatabaseBasics, NumbersComeBackAsPlainDecimals) {
  exec("CREATE TABLE N (ID BIGINT, R DOUBLE PRECISION, D NUMERIC(12,2))");
  exec("INSERT INTO N VALUES (6100003, 1.0, 12.50)");
  sql::Result r;
  ASSERT_TRUE(db().execute("SELECT ID, R FROM N", &r).isOk());
  EXPECT_EQ(r.text(0, 0), "6100003");
  EXPECT_EQ(r.text(0, 1), "1");
  EXPECT_EQ(std::stod(scalar("SELECT D FROM N")), 12.5);
  EXPECT_EQ(sql::sqlId(6100003.0), "6100003");
}

TEST_P(DatabaseBasics, RejectedStatementGivesTextAndConnectionGoesOn) {
  sql::Status s = db().execute("SELECT * FROM NO_SUCH_TABLE");
  EXPECT_FALSE(s.isOk());
  EXPECT_FALSE(s.message().empty());
  EXPECT_EQ(scalar("SELECT 1"), "1");
}

TEST_P(DatabaseBasics, TransactionGuardRollsBackUnlessCommitted) {
  exec("CREATE TABLE G (ID BIGINT)");
  {
    sql::Transaction tx(db(), sql::TransactionMode::Immediate);
    ASSERT_TRUE(tx.status().isOk());
    exec("INSERT INTO G VALUES (1)");
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM G"), "0");
  {
    sql::Transaction outer(db());
    exec("INSERT INTO G VALUES (2)");
    {
      sql::Transaction inner(db());
      exec("INSERT INTO G VALUES (3)");
    }  // the inner level rolls back alone
    ASSERT_TRUE(outer.commit().isOk());
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM G"), "1");
  EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(DatabaseBasics, TwoConnectionsSeeCommittedRows) {
  exec("CREATE TABLE C (ID BIGINT)");
  auto other = openAnother();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(other->execute("INSERT INTO C VALUES (7)").isOk());
  EXPECT_EQ(scalar("SELECT ID FROM C"), "7");
}

TEST_P(DatabaseBasics, EachThreadHasItsOwnConnection) {
  sql::Database* mine = sql::threadDatabase();
  sql::Database* theirs = nullptr;
  std::thread t([&] {
    theirs = sql::threadDatabase();
    ASSERT_NE(theirs, nullptr);
    EXPECT_TRUE(theirs->execute("SELECT 1").isOk());
    sql::closeThreadDatabase();
  });
  t.join();
  EXPECT_NE(mine, theirs);
}

TEST_P(DatabaseBasics, LostServerConnectionIsAnErrorTextAndTheNextStatementReconnects) {
  if (!isPostgres()) GTEST_SKIP() << "only a server connection can be lost";
  std::string pid = scalar("SELECT pg_backend_pid()");
  auto other = openAnother();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(other->execute("SELECT pg_terminate_backend(" + pid + ")").isOk());

  sql::Status lost = db().execute("SELECT 1");
  EXPECT_FALSE(lost.isOk());
  EXPECT_FALSE(lost.message().empty());
  EXPECT_EQ(db().transactionDepth(), 0);

  EXPECT_EQ(scalar("SELECT 2"), "2");  // reconnected, in the same schema
  EXPECT_NE(scalar("SELECT pg_backend_pid()"), pid);
  exec("CREATE TABLE PO_ZERWANIU (ID BIGINT)");
}

SLOWNIK_ON_ALL_BACKENDS(DatabaseBasics);

TEST(Text, TruncatesByCharactersNeverInsideASequence) {
  EXPECT_EQ(sql::truncateUtf8("Łódź", 3), "Łód");
  EXPECT_EQ(sql::truncateUtf8("ab😀cd", 3), "ab😀");
  EXPECT_EQ(sql::truncateUtf8("abc", 10), "abc");
  EXPECT_EQ(sql::utf8Length("Zażółć"), 6u);
  EXPECT_EQ(sql::quote("O'Brien"), "'O''Brien'");
}

TEST(OpenDatabase, UnknownAddressIsAnErrorNotACrash) {
  sql::Status s;
  EXPECT_EQ(sql::openDatabase("mysql://x", &s), nullptr);
  EXPECT_FALSE(s.isOk());
  EXPECT_EQ(sql::openDatabase("postgresql://nobody@127.0.0.1:1/none", &s), nullptr);
  EXPECT_FALSE(s.isOk());
}

}  // namespace
}  // namespace slownik
