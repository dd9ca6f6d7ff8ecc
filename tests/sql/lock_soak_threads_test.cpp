// Eight programs, each a thread with its own connection and session, work on three
// records at random for a few thousand rounds. bench/lock_soak_bench runs it longer.
#include <gtest/gtest.h>

#include "support/backends.h"
#include "support/lock_soak.h"

namespace slownik {
namespace {

class LockSoak : public test::DatabaseTest {};

TEST_P(LockSoak, NoUpdateLostNoTwoHoldersNoLockLeft) {
  test::LockSoakOptions options;
  options.url = url();
  test::LockSoakFigures f = test::runLockSoak(options);
  EXPECT_EQ(f.errors, 0) << f.firstError;
  EXPECT_EQ(f.overlaps, 0) << "two programs held one record at once";
  EXPECT_EQ(f.lostUpdates, 0) << "a save the records do not show";
  EXPECT_EQ(f.locksLeft, 0) << "a lock outlived every program";
  EXPECT_EQ(f.rounds, 8L * options.rounds);
  // The run must have met every case it is about, or it proves little.
  EXPECT_GT(f.refusals, 0);
  EXPECT_GT(f.saves, 0);
  EXPECT_GT(f.deaths, 0);
  EXPECT_GT(f.stealsAfterDeath, 0) << "no lock of a dead program was taken over";
}

SLOWNIK_ON_ALL_BACKENDS(LockSoak);

}  // namespace
}  // namespace slownik
