#include "engine/record_semaphore.h"

#include <gtest/gtest.h>

#include "framework/data/globals.h"
#include "framework/runtime/control.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::engine {
namespace {

constexpr double kAdmin = 6100003;
constexpr double kJan = 6100004;
const std::string kLocked = "Bank jest aktualizowany przez innego użytkownika!";
const std::string kBankFormat =
    "140L(2)|M*~Nazwa banku~@s100@Z(2)50L(2)|M*~Nr banku~@s50@Z(1)50L(2)|M*~SWIFT~@s20@Z(3)100L(2)|M*~Adres~@s50@"
    "30L(2)|M*~Kod~@s10@Z(4)200L(2)|M*~Miejscowość~@s50@Z(5)";

TEST(RecordSemaphoreText, StatementsQuoteTheTableAndWriteIdsAsIntegers) {
  RecordSemaphore banks("banki", kLocked);
  EXPECT_EQ(banks.takeStatement(17, kAdmin), "call TKW_KartotekaSemaforUstaw('banki',17,6100003,2)");
  EXPECT_EQ(banks.releaseStatement(17, kAdmin), "call TKW_KartotekaSemaforPoloz('banki',17,6100003)");
  EXPECT_EQ(banks.removeStatement(17, kAdmin), "call TKW_KartotekaZapisSkasuj('banki',17,6100003)");
  RecordSemaphore odd("o'brien", kLocked);
  EXPECT_EQ(odd.takeStatement(1e9, 2), "call TKW_KartotekaSemaforUstaw('o''brien',1000000000,2,2)");
}

TEST(RecordSemaphoreColours, HolderAndColoursByTable) {
  const long none = rt::kNoColor;
  struct Case {
    double semafor, user;
    LockHolder holder;
    CellColours colours;
  } cases[] = {
      {0, kAdmin, LockHolder::Nobody, {none, none, none, none}},
      {-1, kAdmin, LockHolder::Nobody, {none, none, none, none}},
      {kAdmin, kAdmin, LockHolder::CurrentUser, {0x0000FF, none, 0x0000FF, none}},
      {kJan, kAdmin, LockHolder::OtherUser, {0xFF0000, none, 0xFF8000, none}},
      {kAdmin, kJan, LockHolder::OtherUser, {0xFF0000, none, 0xFF8000, none}},
      // Nobody logged in (user 0) still sees a held row as somebody else's.
      {kJan, 0, LockHolder::OtherUser, {0xFF0000, none, 0xFF8000, none}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.semafor) + " seen by " + std::to_string(c.user));
    EXPECT_EQ(lockHolder(c.semafor, c.user), c.holder);
    EXPECT_EQ(semaphoreColours(c.holder), c.colours);
  }
}

TEST(RecordSemaphoreColours, OnlyTheChosenColumnsTakeTheLockColours) {
  SemaphoreRowColours colours;
  ASSERT_TRUE(colours.init(kBankFormat, {1, 2, 6}));
  // Every column of the bank list has a value field followed by its four colours.
  auto textColour = [](const fw::ListRow& row, int column) { return row.field((column - 1) * 5 + 2); };
  auto selectedColour = [](const fw::ListRow& row, int column) { return row.field((column - 1) * 5 + 4); };
  fw::ListRow row;
  colours.apply(row, kJan, kAdmin);
  for (int column : {1, 2, 6}) {
    EXPECT_EQ(textColour(row, column), "16711680") << column;
    EXPECT_EQ(selectedColour(row, column), "16744448") << column;
  }
  for (int column : {3, 4, 5}) EXPECT_EQ(textColour(row, column), "-1") << column;
  colours.apply(row, kAdmin, kAdmin);
  EXPECT_EQ(textColour(row, 1), "255");
  EXPECT_EQ(selectedColour(row, 6), "255");
  colours.apply(row, 0, kAdmin);  // released: the colours of before go
  EXPECT_EQ(textColour(row, 2), "-1");
  EXPECT_FALSE(colours.init("140L(2)|M*~Nazwa", {1}));
}

class RecordSemaphoreTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    data::glo().ID_UZYTKOWNIKA = kAdmin;
  }
  void TearDown() override {
    if (fe_) {
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    DatabaseTest::TearDown();
  }
  std::string holder(int bank) { return scalar("SELECT COALESCE(SEMAFOR, 0) FROM BANKI WHERE ID_BANKU = " + std::to_string(bank)); }

  RecordSemaphore banks_{"banki", kLocked};
  rt::HeadlessFrontEnd* fe_ = nullptr;
};

TEST_P(RecordSemaphoreTest, TakeReleaseAndDeleteBetweenTwoUsers) {
  EXPECT_TRUE(banks_.tryTake(1, kAdmin).isDone());
  EXPECT_EQ(holder(1), "6100003");
  EXPECT_TRUE(banks_.tryTake(1, kAdmin).isDone()) << "the holder may take it again";

  LockResult refused = banks_.tryTake(1, kJan);
  EXPECT_EQ(refused.outcome, LockOutcome::Locked);
  EXPECT_NE(refused.errorText.find("Lock"), std::string::npos);

  EXPECT_TRUE(banks_.tryRelease(1, kJan).isDone()) << "a release by another user is no error";
  EXPECT_EQ(holder(1), "6100003") << "and changes nothing";

  EXPECT_EQ(banks_.tryRemove(1, kJan).outcome, LockOutcome::Locked);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI WHERE ID_BANKU = 1"), "1");

  EXPECT_TRUE(banks_.tryRelease(1, kAdmin).isDone());
  EXPECT_EQ(holder(1), "6100003") << "taken twice, held until the second release";
  EXPECT_TRUE(banks_.tryRelease(1, kAdmin).isDone());
  EXPECT_EQ(holder(1), "0");
  EXPECT_TRUE(banks_.tryTake(1, kJan).isDone());
  EXPECT_EQ(holder(1), "6100004");
  EXPECT_TRUE(banks_.tryRemove(1, kJan).isDone()) << "the holder deletes its own row";
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI WHERE ID_BANKU = 1"), "0");
}

TEST_P(RecordSemaphoreTest, FailuresOtherThanALockAreToldAsTheDatabaseSaysThem) {
  LockResult missing = banks_.tryTake(999, kAdmin);
  EXPECT_EQ(missing.outcome, LockOutcome::Failed);
  EXPECT_NE(missing.errorText.find("nie istnieje"), std::string::npos) << missing.errorText;

  RecordSemaphore unknown("nie_ma_takiej", kLocked);
  EXPECT_EQ(unknown.tryTake(1, kAdmin).outcome, LockOutcome::Failed);
  RecordSemaphore quoted("ban'ki", kLocked);  // an apostrophe reaches the routine as text
  LockResult odd = quoted.tryTake(1, kAdmin);
  EXPECT_EQ(odd.outcome, LockOutcome::Failed);
  EXPECT_NE(odd.errorText.find("ban'ki"), std::string::npos) << odd.errorText;
}

TEST_P(RecordSemaphoreTest, WindowsOperationsWarnAsTheListDoes) {
  ASSERT_TRUE(banks_.tryTake(2, kJan).isDone());
  fe_->expectMessage(rt::button::Ok, kLocked);
  EXPECT_FALSE(banks_.take(2));
  fe_->expectMessage(rt::button::Ok, kLocked);
  EXPECT_FALSE(banks_.remove(2));
  EXPECT_TRUE(banks_.release(2)) << "the other user's lock is left alone";
  EXPECT_EQ(holder(2), "6100004");

  fe_->expectMessage(rt::button::Ok, "nie istnieje");
  EXPECT_FALSE(banks_.take(404));

  EXPECT_TRUE(banks_.take(3));
  EXPECT_EQ(holder(3), "6100003");
  EXPECT_TRUE(banks_.release(3));
  EXPECT_EQ(holder(3), "0");
  EXPECT_TRUE(banks_.remove(3));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI WHERE ID_BANKU = 3"), "0");
  auto shown = fe_->messages();
  ASSERT_EQ(shown.size(), 3u);
  // The second line names the holder; a lock taken without a session has no workstation.
  EXPECT_EQ(shown[0].text.rfind(kLocked + "|Edytuje: Jan Kowalski, od ", 0), 0u) << shown[0].text;
  EXPECT_EQ(shown[1].text, shown[0].text);
}

SLOWNIK_ON_ALL_BACKENDS(RecordSemaphoreTest);

}  // namespace
}  // namespace slownik::engine
