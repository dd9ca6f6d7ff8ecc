#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "framework/runtime/error_state.h"
#include "framework/services/open_windows.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/thread_database.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

class ServicesThreadTest : public test::DatabaseTest {};

// Two procedure threads read their own statements' rows in lock step: neither sees
// the other's rows or the other's error.
TEST_P(ServicesThreadTest, EachThreadReadsItsOwnResultTable) {
  exec("CREATE TABLE T_LICZBY (N INTEGER)");
  exec("INSERT INTO T_LICZBY VALUES (1), (2), (3), (4), (5), (6)");
  constexpr int kThreads = 2;
  std::barrier step(kThreads);
  std::vector<std::string> seen(kThreads);
  std::vector<int> errors(kThreads);
  auto work = [&](int t) {
    // Thread 0 reads the odd numbers, thread 1 the even ones, and fails a statement.
    EXECSQL("select N from T_LICZBY where N % 2 = " + std::to_string(1 - t) + " order by N");
    step.arrive_and_wait();
    if (t == 1) EXECSQL("select * from nie_ma_takiej");
    step.arrive_and_wait();
    errors[t] = rt::errorCode();
    if (t == 1) EXECSQL("select N from T_LICZBY where N % 2 = 0 order by N");
    step.arrive_and_wait();
    for (int row = 0; row < 3; ++row) {  // a fixed count keeps the threads in step even when a read fails
      if (VAX().next()) seen[t] += VAX().field(1);
      step.arrive_and_wait();
    }
    if (VAX().next()) seen[t] += "+";  // a row too many
    CLOSESQL();
    sql::closeThreadDatabase();
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(work, t);
  for (auto& th : threads) th.join();
  EXPECT_EQ(seen[0], "135");
  EXPECT_EQ(seen[1], "246");
  EXPECT_EQ(errors[0], 0);
  EXPECT_NE(errors[1], 0);
  EXPECT_EQ(rt::errorCode(), 0);  // the test's own thread saw no error
}

SLOWNIK_ON_ALL_BACKENDS(ServicesThreadTest);

TEST(OpenWindowListThreads, AddAndRemoveFromManyThreads) {
  OpenWindowList list;
  constexpr int kThreads = 4;
  constexpr int kRounds = 500;
  std::atomic<int> firstOpens{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kRounds; ++i) {
        std::string key = "Okno" + std::to_string(t) + "_" + std::to_string(i);
        EXPECT_TRUE(list.add(key));
        EXPECT_TRUE(list.contains(key));
        EXPECT_TRUE(list.remove(key));
      }
      // Every thread tries to open the same window: only one may.
      if (list.add("StawkiVAT")) firstOpens.fetch_add(1);
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(firstOpens.load(), 1);
  EXPECT_EQ(list.keys(), std::vector<std::string>{"StawkiVAT"});
}

TEST(OpenWindowList, KeysMatchInAnyCase) {
  OpenWindowList& list = openWindowList();
  EXPECT_TRUE(list.add("TypDokMag"));
  EXPECT_FALSE(list.add("TYPDOKMAG"));
  EXPECT_TRUE(list.contains("typdokmag"));
  SKASUJOKNO("typDokMag");
  EXPECT_FALSE(list.contains("TypDokMag"));
  SKASUJOKNO("TypDokMag");  // dropping a window that is not open is harmless
  EXPECT_TRUE(list.keys().empty());
}

}  // namespace
}  // namespace slownik::svc
