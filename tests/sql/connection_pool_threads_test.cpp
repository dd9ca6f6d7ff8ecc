// The process's pool of connections: a thread borrows one for its life and gives it back
// clean; two live threads never share one; a new address empties the pool. And the
// statements prepared on a connection, which the pool lets later threads reuse.
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"
#include "support/backends.h"

namespace slownik {
namespace {

using test::DatabaseTest;

class ConnectionPool : public DatabaseTest {
 protected:
  // Something only this connection knows: a temporary table holds for the session.
  static bool marks(sql::Database& db, const std::string& name) {
    return db.execute("CREATE TEMPORARY TABLE " + name + " (ID INTEGER)").isOk();
  }
  static bool sees(sql::Database& db, const std::string& name) { return db.execute("SELECT COUNT(*) FROM " + name).isOk(); }

  template <typename F>
  static void onThread(F&& body) {
    std::thread t([&] { body(); });
    t.join();
  }
};

TEST_P(ConnectionPool, ThreadsReuseAConnectionAndGetItBackClean) {
  onThread([&] {
    sql::Database* db = sql::threadDatabase();
    ASSERT_NE(db, nullptr);
    ASSERT_TRUE(marks(*db, "POOL_MARK"));
    // A thread that ends inside a transaction does not hand its writes to the next one.
    ASSERT_TRUE(db->begin().isOk());
    ASSERT_TRUE(db->execute("INSERT INTO POOL_MARK (ID) VALUES (1)").isOk());
  });
  EXPECT_EQ(sql::pooledConnections(), 1u);
  onThread([&] {
    sql::Database* db = sql::threadDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_TRUE(sees(*db, "POOL_MARK")) << "the thread got a new connection instead of the pooled one";
    EXPECT_EQ(db->transactionDepth(), 0);
    sql::Result r;
    ASSERT_TRUE(db->execute("SELECT COUNT(*) FROM POOL_MARK", &r).isOk());
    EXPECT_EQ(r.scalar(), "0");
    EXPECT_EQ(sql::pooledConnections(), 0u);
  });
  EXPECT_EQ(sql::pooledConnections(), 1u);

  // Closed rather than given back: the next thread connects afresh.
  onThread([&] {
    ASSERT_NE(sql::threadDatabase(), nullptr);
    sql::closeThreadDatabase();
  });
  EXPECT_EQ(sql::pooledConnections(), 0u);

  // A new address: what was pooled for the old one is not handed out.
  onThread([&] { ASSERT_NE(sql::threadDatabase(), nullptr); });
  EXPECT_EQ(sql::pooledConnections(), 1u);
  sql::setDatabaseUrl(url());
  EXPECT_EQ(sql::pooledConnections(), 0u);
}

TEST_P(ConnectionPool, LiveThreadsNeverShareAConnectionAndThePoolStaysSmall) {
  constexpr int kThreads = static_cast<int>(sql::kPoolSize) + 3;
  for (int round = 0; round < 2; ++round) {
    std::barrier allHaveOne(kThreads);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        sql::Database* db = sql::threadDatabase();
        std::string name = "T" + std::to_string(round) + "_" + std::to_string(i);
        if (!db || !marks(*db, name)) ++failures;
        allHaveOne.arrive_and_wait();  // every thread holds its connection now
        for (int j = 0; j < kThreads; ++j)
          if (j != i && db && sees(*db, "T" + std::to_string(round) + "_" + std::to_string(j))) ++failures;
        allHaveOne.arrive_and_wait();
      });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(sql::pooledConnections(), sql::kPoolSize);
  }
}

TEST_P(ConnectionPool, ReadsRunAgainAndAgainOnOneConnection) {
  exec("CREATE TABLE POOL_ROWS (ID INTEGER, NAZWA VARCHAR(20))");
  exec("INSERT INTO POOL_ROWS (ID, NAZWA) VALUES (1, 'jeden'), (2, 'dwa'), (3, 'trzy')");
  // More distinct reads than a connection keeps prepared, each read twice, so that some
  // are pushed out and prepared again.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 100; ++i) {
      sql::Result r;
      std::vector<sql::Param> p = {static_cast<long long>(i % 3 + 1)};
      std::string text = "SELECT NAZWA, " + std::to_string(i) + " FROM POOL_ROWS WHERE ID = ?";
      ASSERT_TRUE(db().execute(text, p, &r).isOk()) << text;
      ASSERT_EQ(r.rows.size(), 1u);
      EXPECT_EQ(r.text(0, 0), (std::vector<std::string>{"jeden", "dwa", "trzy"})[static_cast<std::size_t>(i % 3)]);
      EXPECT_EQ(r.text(0, 1), std::to_string(i));
    }
  }
  // A read the server refuses says why, and neither it nor the next read is stuck.
  for (int pass = 0; pass < 2; ++pass) {
    sql::Status bad = db().execute("SELECT NIE_MA FROM POOL_ROWS");
    EXPECT_FALSE(bad.isOk());
    EXPECT_NE(sql::toUpperAscii(bad.message()).find("NIE_MA"), std::string::npos) << bad.message();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM POOL_ROWS"), "3");
  }
  // Inside a transaction the refusal ends the transaction's usefulness, not the connection.
  ASSERT_TRUE(db().begin().isOk());
  EXPECT_FALSE(db().execute("SELECT NIE_MA_TEZ FROM POOL_ROWS").isOk());
  ASSERT_TRUE(db().rollback().isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM POOL_ROWS WHERE ID > 1"), "2");
  // A prepared read still fits after the table changed under it.
  exec("ALTER TABLE POOL_ROWS ADD COLUMN KOD VARCHAR(5)");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM POOL_ROWS WHERE ID > 1"), "2");
}

SLOWNIK_ON_ALL_BACKENDS(ConnectionPool);

}  // namespace
}  // namespace slownik
