// Two users race for the same bank's edit lock, each on a connection of its own.
#include <atomic>
#include <thread>

#include "bank_windows.h"
#include "engine/record_semaphore.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"

namespace slownik::banking::test {
namespace {

using engine::LockOutcome;
using engine::LockResult;
using engine::RecordSemaphore;

constexpr int kRounds = 1000;
constexpr int kBank = 1;

using BankSemaphoreRace = BankWindowTest;

TEST_P(BankSemaphoreRace, OneHolderAtATimeAndTheOtherCanNeitherReleaseNorDelete) {
  const RecordSemaphore banks("banki", kLockedText);
  std::atomic<int> holders{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> wrongRefusals{0};
  std::atomic<int> foreignReleases{0};  // a release by the other user that freed the row
  std::atomic<int> foreignDeletes{0};   // a delete by the other user that was not refused "Lock"
  std::atomic<int> taken[2] = {0, 0};

  auto user = [&](int me) {
    const double self = me == 0 ? kAdmin : kJan;
    const double other = me == 0 ? kJan : kAdmin;
    for (int round = 0; round < kRounds; ++round) {
      LockResult r = banks.tryTake(kBank, self);
      if (!r.isDone()) {
        if (r.outcome != LockOutcome::Locked) ++wrongRefusals;
        continue;
      }
      ++taken[me];
      if (++holders != 1) ++overlaps;
      // While this user holds the bank, the other's release and delete change nothing.
      if (!banks.tryRelease(kBank, other).isDone()) ++wrongRefusals;
      if (banks.tryRemove(kBank, other).outcome != LockOutcome::Locked) ++foreignDeletes;
      sql::Result held;
      sql::Database* db = sql::threadDatabase();
      if (!db || !db->execute("SELECT SEMAFOR FROM BANKI WHERE ID_BANKU = 1", {}, &held).isOk() ||
          held.scalar() != sql::sqlId(self))
        ++foreignReleases;
      --holders;
      if (!banks.tryRelease(kBank, self).isDone()) ++wrongRefusals;
    }
  };
  std::thread first(user, 0);
  std::thread second(user, 1);
  first.join();
  second.join();

  EXPECT_EQ(overlaps.load(), 0) << "both users held the lock at once";
  EXPECT_EQ(wrongRefusals.load(), 0) << "a refusal without \"Lock\", or a failed release";
  EXPECT_EQ(foreignReleases.load(), 0);
  EXPECT_EQ(foreignDeletes.load(), 0);
  EXPECT_GT(taken[0] + taken[1], 0);
  EXPECT_EQ(bank(kBank, "SEMAFOR"), "0") << "each holder released at the end of its round";
  EXPECT_EQ(bankCount(), 3);
}

TEST_P(BankSemaphoreRace, TheListShowsTheHolderRedAndTheOtherUserBlue) {
  const RecordSemaphore banks("banki", kLockedText);
  const std::string red = "255", blue = "16711680", none = "-1";
  ASSERT_TRUE(banks.tryTake(kBank, kJan).isDone());

  auto w = openList();  // seen by the administrator: somebody else holds bank 1
  ASSERT_TRUE(w);
  EXPECT_EQ(columnOf(w, kIdField), (std::vector<std::string>{"1", "2", "3"}));
  for (int column : {1, 2, 6}) {
    EXPECT_EQ(columnOf(w, textColourField(column)), (std::vector<std::string>{blue, none, none})) << column;
  }
  EXPECT_EQ(columnOf(w, textColourField(3)), (std::vector<std::string>{none, none, none}));

  // The lock changes hands while the list is open; F5 shows it.
  ASSERT_TRUE(banks.tryRelease(kBank, kJan).isDone());
  ASSERT_TRUE(banks.tryTake(kBank, kAdmin).isDone());
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(columnOf(w, textColourField(1)), (std::vector<std::string>{red, none, none}));
  EXPECT_EQ(columnOf(w, kSemaforField)[0], "6100003");

  ASSERT_TRUE(banks.tryRelease(kBank, kAdmin).isDone());
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(columnOf(w, textColourField(1)), (std::vector<std::string>{none, none, none}));
  ASSERT_TRUE(fe().close(w));
  join();
}

SLOWNIK_ON_ALL_BACKENDS(BankSemaphoreRace);

}  // namespace
}  // namespace slownik::banking::test
