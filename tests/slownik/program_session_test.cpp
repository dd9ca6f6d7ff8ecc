// The program's session: started for the logged-in user, every thread's session while it
// runs, and at its clean end every lock of the program is released at once.
#include <gtest/gtest.h>

#include <thread>

#include "engine/record_semaphore.h"
#include "framework/data/globals.h"
#include "framework/sql/seed.h"
#include "framework/sql/session.h"
#include "framework/sql/thread_database.h"
#include "slownik/program_session.h"
#include "support/backends.h"

namespace slownik {
namespace {

class ProgramSession : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    data::glo().ID_UZYTKOWNIKA = static_cast<double>(sql::demo::kUserId);
  }
  void TearDown() override {
    endProgramSession();
    DatabaseTest::TearDown();
  }
};

TEST_P(ProgramSession, LocksOfEveryWindowGoAtTheCleanEnd) {
  startProgramSession();
  const long long id = programSessionId();
  ASSERT_NE(id, 0);
  startProgramSession();
  EXPECT_EQ(programSessionId(), id) << "a running session is kept";
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SESJA"), "1");
  EXPECT_EQ(scalar("SELECT ID_UZYTKOWNIKA FROM SESJA"), "6100004");

  // Two windows on two threads, one lock each, both in the program's session.
  const engine::RecordSemaphore banks("banki", "Bank jest aktualizowany przez innego użytkownika!");
  ASSERT_TRUE(banks.tryTake(1, sql::demo::kUserId).isDone());
  std::thread other([&] {
    EXPECT_EQ(sql::currentSessionId(), id);
    EXPECT_TRUE(banks.tryTake(2, sql::demo::kUserId).isDone());
    EXPECT_EQ(banks.tryTake(1, sql::demo::kUserId).outcome, engine::LockOutcome::Locked) << "another window's lock";
    sql::closeThreadDatabase();
  });
  other.join();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BLOKADA WHERE ID_SESJI = " + std::to_string(id)), "2");

  endProgramSession();
  EXPECT_EQ(programSessionId(), 0);
  EXPECT_EQ(sql::currentSessionId(), 0);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BLOKADA"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SESJA"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI WHERE SEMAFOR <> 0"), "0");
}

TEST_P(ProgramSession, WithoutADatabaseTheProgramRunsWithoutOne) {
  sql::setDatabaseUrl("");
  startProgramSession();
  EXPECT_EQ(programSessionId(), 0);
  sql::setDatabaseUrl(url());
}

SLOWNIK_ON_ALL_BACKENDS(ProgramSession);

}  // namespace
}  // namespace slownik
