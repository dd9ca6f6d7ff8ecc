// A reserved id keeps its child rows apart until the row is made, and a program that
// ended without making it leaves nothing behind for long.
#include "framework/data/id_reservation.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "framework/data/file_manager.h"
#include "framework/data/table_buffers.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

const sql::TableDef& offices() { return *sql::Catalogue::instance().find("URZEDY"); }

class IdReservationTest : public test::DatabaseTest {
 protected:
  void addAccount(sql::Database& on, double office, int account) {
    ASSERT_TRUE(on.execute("INSERT INTO RACHUNEK_URZEDU (ID_RACHUNKU, ID_URZEDU, NUMER_RACHUNKU) VALUES (" +
                           std::to_string(account) + ", " + sql::sqlId(office) + ", 'PL61109010140000071219812874')")
                    .isOk());
  }
  std::string accountsOf(double office) {
    return scalar("SELECT COUNT(*) FROM RACHUNEK_URZEDU WHERE ID_URZEDU = " + sql::sqlId(office));
  }
  // Inserts an office the way any form does, with a primed id.
  double insertOffice(const std::string& name) {
    FileManager& file = fileManager(offices());
    EXPECT_EQ(file.primeRecord(), 0);
    file.record().field("NAZWA").set(name);
    EXPECT_EQ(file.insert(), 0) << file.errorText();
    return file.record().field("ID_URZEDU").number();
  }
};

TEST_P(IdReservationTest, ReservedIdIsNobodyElsesAndGivingUpTakesTheChildRows) {
  exec("INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (4, 'Urząd Skarbowy Wola')");
  IdReservation first(offices());
  ASSERT_EQ(first.reserve(db()), 0) << first.errorText();
  EXPECT_EQ(first.id(), 5);
  addAccount(db(), first.id(), 1);

  // Another user adds an office meanwhile: it gets the next id past the reservation.
  double other = insertOffice("Urząd Skarbowy Mokotów");
  EXPECT_EQ(other, 6);
  EXPECT_EQ(accountsOf(other), "0");
  IdReservation second(offices());
  ASSERT_EQ(second.reserve(db()), 0);
  EXPECT_EQ(second.id(), 7);

  // The first is saved with its own id and keeps its account.
  FileManager& file = fileManager(offices());
  file.primeRecord();
  file.record().field("ID_URZEDU").set(first.id());
  file.record().field("NAZWA").set("Urząd Skarbowy Bemowo");
  file.keepIdAsSet();
  ASSERT_EQ(file.insert(), 0) << file.errorText();
  ASSERT_EQ(first.release(db()), 0);
  EXPECT_EQ(scalar("SELECT NAZWA FROM URZEDY WHERE ID_URZEDU = 5"), "Urząd Skarbowy Bemowo");
  EXPECT_EQ(accountsOf(5), "1");

  // The second is given up: its account goes, in one step with the reservation.
  addAccount(db(), second.id(), 2);
  ASSERT_EQ(second.abandon(db()), 0) << second.errorText();
  EXPECT_EQ(accountsOf(7), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");
  EXPECT_EQ(accountsOf(5), "1");
}

TEST_P(IdReservationTest, KilledProgramLeavesNothingThatOutlivesTheNextReservation) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Another program: its own connection, a reservation and an account under it, then
    // it is killed before the office is saved.
    close(ready[0]);
    auto own = sql::openDatabase(url(), nullptr);
    IdReservation r(offices());
    char answer = 'n';
    if (own && r.reserve(*own) == 0 &&
        own->execute("INSERT INTO RACHUNEK_URZEDU (ID_RACHUNKU, ID_URZEDU, NUMER_RACHUNKU) VALUES (1, " +
                     sql::sqlId(r.id()) + ", 'x')")
            .isOk())
      answer = 'y';
    if (write(ready[1], &answer, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(ready[1]);
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  close(ready[0]);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ASSERT_EQ(answer, 'y');
  EXPECT_EQ(accountsOf(1), "1");

  // Our own reservation, alive, is left alone by the clean-up.
  IdReservation mine(offices());
  ASSERT_EQ(mine.reserve(db()), 0) << mine.errorText();
  EXPECT_EQ(accountsOf(1), "0");  // the ended program's account is gone
  EXPECT_EQ(mine.id(), 1);        // and its id is free again
  addAccount(db(), mine.id(), 2);
  ASSERT_EQ(cleanUpReservations(db(), offices()), 0);
  EXPECT_EQ(accountsOf(mine.id()), "1");
  EXPECT_FALSE(hasOwnerEnded(reservationOwner()));
}

SLOWNIK_ON_ALL_BACKENDS(IdReservationTest);

}  // namespace
}  // namespace slownik::data
