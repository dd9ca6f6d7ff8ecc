#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/sql/database.h"
#include "support/backends.h"

namespace slownik {
namespace {

using test::DatabaseTest;

class SemaphoreRace : public DatabaseTest {};

// Two users, each on a connection of their own, race for the same bank's lock. The
// winner checks that the database names it as the holder, holds the lock briefly and
// releases it. At no moment may both believe they hold it.
TEST_P(SemaphoreRace, OnlyOneUserHoldsTheLockAtAnyMoment) {
  exec("INSERT INTO BANKI (ID_BANKU, NAZWA, SEMAFOR) VALUES (1, 'Bank', 0)");
  const int rounds = 1000;
  std::vector<std::unique_ptr<sql::Database>> connections;
  for (int user = 1; user <= 2; ++user) {
    connections.push_back(openAnother());
    ASSERT_NE(connections.back(), nullptr);
  }

  std::atomic<int> holders{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> wrongHolder{0};
  std::atomic<int> badRefusals{0};
  std::atomic<int> failedReleases{0};
  std::atomic<int> wins[2] = {0, 0};
  auto race = [&](int index) {
    sql::Database& db = *connections[static_cast<std::size_t>(index)];
    const std::string user = std::to_string(index + 1);
    for (int i = 0; i < rounds; ++i) {
      sql::Status taken = db.run("call TKW_KartotekaSemaforUstaw('banki',1," + user + ",2)");
      if (!taken.isOk()) {
        if (taken.message().find("Lock") == std::string::npos) ++badRefusals;
        std::this_thread::yield();
        continue;
      }
      ++wins[index];
      if (holders.fetch_add(1) != 0) ++overlaps;
      sql::Result r;
      if (!db.execute("SELECT SEMAFOR FROM BANKI WHERE ID_BANKU = 1", &r).isOk() || r.scalar() != user) ++wrongHolder;
      holders.fetch_sub(1);
      if (!db.run("call TKW_KartotekaSemaforPoloz('banki',1," + user + ")").isOk()) ++failedReleases;
    }
  };
  auto started = std::chrono::steady_clock::now();
  std::thread first(race, 0);
  std::thread second(race, 1);
  first.join();
  second.join();
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_EQ(wrongHolder.load(), 0);
  EXPECT_EQ(badRefusals.load(), 0);
  EXPECT_EQ(failedReleases.load(), 0);
  EXPECT_GT(wins[0].load() + wins[1].load(), 0);
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM BANKI WHERE ID_BANKU = 1"), "0");
  RecordProperty("seconds", std::to_string(seconds));
}

SLOWNIK_ON_ALL_BACKENDS(SemaphoreRace);

}  // namespace
}  // namespace slownik
