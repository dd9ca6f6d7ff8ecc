// The bank's edit lock between programs: each program has a session, a lock belongs to
// a session and a window chain, and a program that dies does not keep its locks.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

#include "bank_windows.h"
#include "dictionaries/banking/tax_office_list.h"
#include "engine/record_semaphore.h"
#include "framework/services/messages.h"
#include "framework/sql/session.h"

namespace slownik::banking::test {
namespace {

using namespace std::chrono_literals;
using engine::LockOutcome;
using engine::LockResult;
using engine::RecordSemaphore;

constexpr const char* kNone = "-1";
constexpr const char* kBlue = "16711680";
const std::string kTaken = "Blokada rekordu została zdjęta albo przejęta";

class BankLockSessions : public BankWindowTest {
 protected:
  //! A running program of `user` (a session of its own), with a quick heartbeat.
  std::unique_ptr<sql::Session> program(double user, sql::SessionTiming timing = {40s, 300ms}) {
    sql::Status s;
    auto session = sql::Session::start(url(), static_cast<long long>(user), &s, timing);
    EXPECT_TRUE(session) << s.message();
    return session;
  }
  //! The windows of this process run in `session`.
  void windowsIn(const sql::Session& session) { sql::setProcessSessionId(session.id()); }
  void TearDown() override {
    sql::setProcessSessionId(0);
    BankWindowTest::TearDown();
  }

  const RecordSemaphore banks_{"banki", kLockedText};
};

// A program of Jan's in a process of its own: its own connection and session, which
// take bank 1 and then wait to be killed. The child is this test program started again
// (fork and exec, so that it begins clean of this process's threads), told by these
// two variables what to do before any test runs.
constexpr const char* kChildUrl = "SLOWNIK_TEST_LOCK_CHILD_URL";
constexpr const char* kChildPipe = "SLOWNIK_TEST_LOCK_CHILD_PIPE";

[[noreturn]] void runChild(const char* url, int pipe) {
  char taken = 0;
  sql::Status s;
  auto session = sql::Session::start(url, static_cast<long long>(kJan), &s, {2s, 500ms});
  auto db = session ? sql::openDatabase(url, &s) : nullptr;
  if (db) {
    sql::ThreadSession on(session->id());
    taken = db->run("call TKW_KartotekaSemaforUstaw('banki',1,6100004,2)").isOk() ? 1 : 0;
  }
  if (write(pipe, &taken, 1) != 1 || !taken) _exit(1);
  for (;;) pause();
}

[[maybe_unused]] const bool childDone = [] {
  const char* url = std::getenv(kChildUrl);
  const char* pipe = std::getenv(kChildPipe);
  if (url && pipe) runChild(url, std::atoi(pipe));
  return true;
}();

// Starts the child; its pid once it holds the lock, else 0.
pid_t childHoldingBankOne(const std::string& url) {
  int ready[2];
  if (pipe(ready) != 0) return 0;
  std::vector<std::string> variables;
  for (char** e = environ; *e; ++e) variables.emplace_back(*e);
  variables.push_back(std::string(kChildUrl) + "=" + url);
  variables.push_back(std::string(kChildPipe) + "=" + std::to_string(ready[1]));
  std::vector<char*> envp;
  for (auto& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);
  char name[] = "lock_child";
  char* argv[] = {name, nullptr};
  pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    execve("/proc/self/exe", argv, envp.data());
    _exit(127);
  }
  close(ready[1]);
  char taken = 0;
  pollfd wait{ready[0], POLLIN, 0};
  bool told = child > 0 && poll(&wait, 1, 60000) == 1 && read(ready[0], &taken, 1) == 1;
  close(ready[0]);
  if (told && taken == 1) return child;
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return 0;
}

TEST_P(BankLockSessions, AKilledProgramsLockIsFreeAgainAndItsColourClears) {
  pid_t child = childHoldingBankOne(url());
  ASSERT_GT(child, 0) << "the child could not take the lock";
  auto admin = program(kAdmin);
  ASSERT_TRUE(admin);
  windowsIn(*admin);
  EXPECT_EQ(bank(1, "SEMAFOR"), "6100004");

  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(columnOf(w, textColourField(1))[0], kBlue);
  LockResult refused = banks_.tryTake(1, kAdmin);
  EXPECT_EQ(refused.outcome, LockOutcome::Locked);
  EXPECT_EQ(refused.holder.rfind("Edytuje: Jan Kowalski, stanowisko ", 0), 0u) << refused.errorText;

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  // The heartbeat of the running program frees what the dead one held; a minute at most.
  auto deadline = std::chrono::steady_clock::now() + 60s;
  while (bank(1, "SEMAFOR") != "0" && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BLOKADA"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SESJA WHERE ID_UZYTKOWNIKA = 6100004"), "0") << "the dead session is gone";
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(columnOf(w, textColourField(1))[0], kNone);
  EXPECT_TRUE(banks_.tryTake(1, kAdmin).isDone());
  EXPECT_TRUE(banks_.tryRelease(1, kAdmin).isDone());
  ASSERT_TRUE(fe().close(w));
  join();
}

TEST_P(BankLockSessions, ADeadProgramsLockIsTakenOverAtOnce) {
  pid_t child = childHoldingBankOne(url());
  ASSERT_GT(child, 0);
  // No heartbeat runs here: the take itself sees the holder gone.
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  auto admin = program(kAdmin, {40s, 1h});
  ASSERT_TRUE(admin);
  sql::ThreadSession on(admin->id());
  LockResult taken = banks_.tryTake(1, kAdmin);
  for (auto deadline = std::chrono::steady_clock::now() + 60s;
       !taken.isDone() && std::chrono::steady_clock::now() < deadline; taken = banks_.tryTake(1, kAdmin))
    std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(taken.isDone()) << taken.errorText;
  EXPECT_EQ(bank(1, "SEMAFOR"), "6100003");
  EXPECT_EQ(scalar("SELECT ID_SESJI FROM BLOKADA WHERE TABELA = 'banki' AND ID_REKORDU = 1"),
            std::to_string(admin->id()));
  // A clean end frees every lock of the program at once.
  admin->end();
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BLOKADA"), "0");
}

TEST_P(BankLockSessions, TwoProgramsOrTwoWindowsOfOneUserCannotBothEdit) {
  auto first = program(kAdmin);
  auto second = program(kAdmin);
  ASSERT_TRUE(first && second);
  windowsIn(*first);
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  auto f = fe().waitForWindow("Edycja banku");
  ASSERT_TRUE(f);

  {
    SCOPED_TRACE("the same user's second program");
    sql::ThreadSession on(second->id());
    LockResult refused = banks_.tryTake(1, kAdmin);
    EXPECT_EQ(refused.outcome, LockOutcome::Locked);
    EXPECT_EQ(refused.holder.rfind("Edytuje: Administrator systemu, stanowisko ", 0), 0u) << refused.errorText;
    EXPECT_NE(refused.holder.find(", od "), std::string::npos) << refused.holder;
    EXPECT_EQ(banks_.tryRemove(1, kAdmin).outcome, LockOutcome::Locked);
    EXPECT_TRUE(banks_.tryRelease(1, kAdmin).isDone()) << "a release of somebody else's lock is no error";
  }
  {
    SCOPED_TRACE("a second window of the same program");
    EXPECT_EQ(banks_.tryTake(1, kAdmin).outcome, LockOutcome::Locked);
  }
  EXPECT_EQ(bank(1, "SEMAFOR"), "6100003");

  // The form that holds the lock still saves.
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bank po zmianie"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(1, "NAZWA"), "Bank po zmianie");
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
  {
    sql::ThreadSession on(second->id());
    EXPECT_TRUE(banks_.tryTake(1, kAdmin).isDone()) << "free again once the form closed";
    EXPECT_TRUE(banks_.tryRelease(1, kAdmin).isDone());
  }
  ASSERT_TRUE(fe().close(w));
  join();
}

TEST_P(BankLockSessions, AfterAnAdministratorClearedTheLockTheHoldersSaveWritesNothing) {
  auto jans = program(kJan);
  auto admins = program(kAdmin);
  ASSERT_TRUE(jans && admins);
  // Jan may edit banks.
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (2, 1, 'EBanki', 0, 1)");
  asUser(static_cast<long long>(kJan));
  windowsIn(*jans);
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  auto f = fe().waitForWindow("Edycja banku");
  ASSERT_TRUE(f);
  const std::string before = bank(1, "NAZWA");

  {
    sql::ThreadSession on(admins->id());
    sql::Result r;
    sql::Status notAdmin = db().run("select * from TKW_KartotekaSemaforZdejmij('banki',1,6100004)");
    EXPECT_FALSE(notAdmin.isOk()) << "only an administrator clears a lock, not any user with the right SYS";
    ASSERT_TRUE(db().run("select * from TKW_KartotekaSemaforZdejmij('banki',1,6100003)", &r).isOk());
    EXPECT_EQ(r.scalar().rfind("Edytuje: Jan Kowalski, stanowisko ", 0), 0u) << r.scalar();
  }
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");

  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Zmiana, która nie przejdzie"));
  fe().expectMessage(rt::button::Ok, kTaken);
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForMessages(1));
  EXPECT_EQ(bank(1, "NAZWA"), before) << "nothing was written";

  // Taken over by another program meanwhile: refused too, naming the new holder.
  {
    sql::ThreadSession on(admins->id());
    ASSERT_TRUE(banks_.tryTake(1, kAdmin).isDone());
  }
  fe().expectMessage(rt::button::Ok, "Edytuje: Administrator systemu");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForMessages(2));
  EXPECT_EQ(bank(1, "NAZWA"), before);

  // Jan's own second program holds it now: the row shows Jan again, yet the form's
  // lock is not the one that holds it.
  auto jansSecond = program(kJan);
  ASSERT_TRUE(jansSecond);
  {
    sql::ThreadSession on(admins->id());
    ASSERT_TRUE(banks_.tryRelease(1, kAdmin).isDone());
  }
  {
    sql::ThreadSession on(jansSecond->id());
    ASSERT_TRUE(banks_.tryTake(1, kJan).isDone());
  }
  fe().expectMessage(rt::button::Ok, "Edytuje: Jan Kowalski");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForMessages(3));
  EXPECT_EQ(bank(1, "NAZWA"), before);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT ID_SESJI FROM BLOKADA WHERE ID_REKORDU = 1"), std::to_string(jansSecond->id()))
      << "the list's release leaves the new holder's lock alone";
  ASSERT_TRUE(fe().close(w));
  join();
}

TEST_P(BankLockSessions, TheAdministratorsPopupClearsTheLockAndWritesTheLog) {
  auto jans = program(kJan);
  auto admins = program(kAdmin);
  ASSERT_TRUE(jans && admins);
  {
    sql::ThreadSession on(jans->id());
    ASSERT_TRUE(banks_.tryTake(1, kJan).isDone());
  }
  windowsIn(*admins);
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(columnOf(w, textColourField(1))[0], kBlue);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?LIST")->tip.rfind("Edytuje: Jan Kowalski, stanowisko ", 0), 0u) << w->control("?LIST")->tip;

  // A free row offers nothing to clear.
  fe().expectPopup("");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().settle(w));

  fe().expectPopup("Zdejmij blokadę");
  fe().expectMessage(svc::kYes, "Edytuje: Jan Kowalski");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  auto popups = fe().popupsShown();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(std::count(popups[0].begin(), popups[0].end(), "Zdejmij blokadę"), 0);
  EXPECT_EQ(std::count(popups[1].begin(), popups[1].end(), "Zdejmij blokadę"), 1);
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BLOKADA"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN WHERE TABELA = 'BANKI' AND ID_REKORDU = 1 AND "
                   "ID_UZYTKOWNIKA = 6100003 AND OPIS = 'Zdjęcie blokady'"),
            "1");
  EXPECT_NE(scalar("SELECT SZCZEGOLY FROM LOG_ZDARZEN WHERE OPIS = 'Zdjęcie blokady'").find("Jan Kowalski"),
            std::string::npos);
  EXPECT_EQ(columnOf(w, textColourField(1))[0], kNone);
  {
    sql::ThreadSession on(jans->id());
    EXPECT_EQ(banks_.tryTake(1, kJan).outcome, LockOutcome::Done) << "free for anybody now";
  }
  ASSERT_TRUE(fe().close(w));
  join();
}

// The database refuses a form's write whose lock is gone, whichever form it is: here
// the tax office form, which has no check of its own.
TEST_P(BankLockSessions, TheDatabaseRefusesTheWriteOfAFormWhoseLockWasCleared) {
  auto mine = program(kAdmin);
  auto other = program(kAdmin);
  ASSERT_TRUE(mine && other);
  windowsIn(*mine);
  outcome_ = startListOf(URZEDY_BRW, "URZ:ID_URZEDU");
  auto w = fe().waitForWindow("Lista urzędów");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  auto f = fe().waitForWindow("Edycja urzędu");
  ASSERT_TRUE(f);
  const std::string id = scalar("SELECT ID_URZEDU FROM URZEDY WHERE SEMAFOR = 6100003");
  ASSERT_FALSE(id.empty());
  const std::string before = scalar("SELECT NAZWA FROM URZEDY WHERE ID_URZEDU = " + id);
  {
    sql::ThreadSession on(other->id());
    ASSERT_TRUE(db().run("select * from TKW_KartotekaSemaforZdejmij('urzedy'," + id + ",6100003)").isOk());
    // Taken by another user meanwhile.
    ASSERT_TRUE(db().run("call TKW_KartotekaSemaforUstaw('urzedy'," + id + ",6100004,2)").isOk());
  }
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "Urząd, którego zmiana przepada"));
  fe().expectMessage(rt::button::Ok, "zmian nie zapisano");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForMessages(1));
  EXPECT_EQ(scalar("SELECT NAZWA FROM URZEDY WHERE ID_URZEDU = " + id), before);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM URZEDY WHERE ID_URZEDU = " + id), "6100004");
  ASSERT_TRUE(fe().close(w));
  join();
}

SLOWNIK_ON_ALL_BACKENDS(BankLockSessions);

}  // namespace
}  // namespace slownik::banking::test
