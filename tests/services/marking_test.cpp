#include <gtest/gtest.h>

#include <string>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/services/marking.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

constexpr int kList = 3;       // the list's usage number
constexpr int kOtherList = 4;

class MarkingTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    savedUser_ = data::glo().ID_UZYTKOWNIKA;
    data::glo().ID_UZYTKOWNIKA = 7;
    exec("CREATE TABLE T_MAGAZYN (ID_MAGAZYNU INTEGER, GRUPA INTEGER)");
    exec("INSERT INTO T_MAGAZYN VALUES (1, 1), (2, 1), (3, 1), (4, 2), (5, 2), (6, 2)");
    rt::clearError();
  }
  void TearDown() override {
    data::glo().ID_UZYTKOWNIKA = savedUser_;
    DatabaseTest::TearDown();
  }
  //! The ids marked in the list by the user, in order: "1,4".
  std::string marked(int usage = kList, int user = 7) {
    sql::Result r;
    sql::Status s = db().execute("SELECT ID FROM ZAZNACZONE WHERE UZYCIE = " + std::to_string(usage) +
                                     " AND ID_SESJI = " + std::to_string(user) + " ORDER BY ID",
                                 &r);
    EXPECT_TRUE(s.isOk()) << s.message();
    std::string ids;
    for (std::size_t i = 0; i < r.size(); ++i) ids += (i ? "," : "") + r.text(i, 0);
    return ids;
  }

 private:
  double savedUser_ = 0;
};

TEST_P(MarkingTest, OneRowAtATime) {
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 0);
  EXPECT_EQ(ZAZNACZSQL(kList, 2), 0);
  EXPECT_EQ(ZAZNACZSQL(kList, 2), 0);  // marking a marked row changes nothing
  EXPECT_EQ(ZAZNACZSQL(kList, 5), 0);
  EXPECT_EQ(marked(), "2,5");
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 2);
  EXPECT_EQ(ODZNACZSQL(kList, 2), 0);
  EXPECT_EQ(ODZNACZSQL(kList, 6), 0);  // not marked: nothing happens
  EXPECT_EQ(marked(), "5");

  // Lists and users keep marks apart.
  EXPECT_EQ(ZAZNACZSQL(kOtherList, 1), 0);
  data::glo().ID_UZYTKOWNIKA = 8;
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 0);
  EXPECT_EQ(ZAZNACZSQL(kList, 3), 0);
  EXPECT_EQ(ODZNACZALLSQL(kList), 0);
  data::glo().ID_UZYTKOWNIKA = 7;
  EXPECT_EQ(marked(), "5");
  EXPECT_EQ(marked(kOtherList), "1");
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 1);
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
}

TEST_P(MarkingTest, AllInvertAndNone) {
  EXPECT_EQ(ZAZNACZSQL(kList, 5), 0);
  EXPECT_EQ(ZAZNACZALLSQL(kList, "select A.ID_MAGAZYNU from T_MAGAZYN A where A.GRUPA = 1"), 0);
  EXPECT_EQ(marked(), "1,2,3,5");
  EXPECT_EQ(ZAZNACZALLSQL(kList, "select A.ID_MAGAZYNU from T_MAGAZYN A where A.GRUPA = 1"), 0);  // again: no duplicates
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 4);

  // Inverting flips the rows of the statement and leaves the others.
  EXPECT_EQ(INWERSJASQL(kList, "select A.ID_MAGAZYNU from T_MAGAZYN A where A.ID_MAGAZYNU >= 3"), 0);
  EXPECT_EQ(marked(), "1,2,4,6");
  EXPECT_EQ(INWERSJASQL(kList, "select ID_MAGAZYNU from T_MAGAZYN"), 0);
  EXPECT_EQ(marked(), "3,5");
  EXPECT_EQ(INWERSJASQL(kList, "select ID_MAGAZYNU from T_MAGAZYN where GRUPA = 99"), 0);  // no rows
  EXPECT_EQ(marked(), "3,5");

  EXPECT_EQ(ZAZNACZSQL(kOtherList, 1), 0);
  EXPECT_EQ(ODZNACZALLSQL(kList), 0);
  EXPECT_EQ(marked(), "");
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 0);
  EXPECT_EQ(marked(kOtherList), "1");
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
}

TEST_P(MarkingTest, ManyRows) {
  exec("CREATE TABLE T_DUZO (ID INTEGER)");
  std::string values;
  for (int i = 1; i <= 1200; ++i) values += (i > 1 ? ",(" : "(") + std::to_string(i) + ")";
  exec("INSERT INTO T_DUZO VALUES " + values);
  EXPECT_EQ(ZAZNACZALLSQL(kList, "select ID from T_DUZO"), 0);
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 1200);
  EXPECT_EQ(INWERSJASQL(kList, "select ID from T_DUZO where ID > 600"), 0);
  EXPECT_EQ(ILEZAZNACZONYCH(kList), 600);
}

TEST_P(MarkingTest, ABadListStatementChangesNothing) {
  EXPECT_EQ(ZAZNACZSQL(kList, 1), 0);
  EXPECT_NE(ZAZNACZALLSQL(kList, "select nie_ma from T_MAGAZYN"), 0);
  EXPECT_NE(rt::errorText(), "");
  EXPECT_NE(INWERSJASQL(kList, "select from"), 0);
  EXPECT_EQ(marked(), "1");
}

SLOWNIK_ON_ALL_BACKENDS(MarkingTest);

}  // namespace
}  // namespace slownik::svc
