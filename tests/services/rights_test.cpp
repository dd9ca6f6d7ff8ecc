#include <gtest/gtest.h>

#include <algorithm>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/services/rights.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

constexpr double kCompany = 1;
constexpr double kOtherCompany = 2;
constexpr double kClerk = 7;     // in groups of both companies
constexpr double kOutsider = 8;  // in no group

class RightsTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO GRUPAUZYTKOWNIKOW (ID_GRUPY, ID_FIRMY, NAZWA) VALUES (10, 1, 'Kasjerzy'), (20, 2, 'Księgowi')");
    exec("INSERT INTO UZYTKOWNIKGRUPY (ID_GRUPY, ID_UZYTKOWNIKA) VALUES (10, 7), (20, 7)");
    exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, RODZAJ_DOSTEPU, ID_OBIEKTU) VALUES "
         "(10, 1, 'Banki', 1, 0), (10, 1, 'UBanki', 0, 0), (10, 1, 'Kasy', 1, 501), "
         "(10, 1, 'OKontr', 1, 1001), (10, 1, 'OKontr', 1, 1002), (10, 1, 'TabOds', 2, 0), "
         "(20, 2, 'Waluty', 1, 0), (20, 2, 'OKontr', 1, 0)");
    saved_ = {data::glo().ID_UZYTKOWNIKA, data::glo().ID_FIRMY};
  }
  void TearDown() override {
    data::glo().ID_UZYTKOWNIKA = saved_.first;
    data::glo().ID_FIRMY = saved_.second;
    DatabaseTest::TearDown();
  }
  static void workAs(double user, double company) {
    data::glo().ID_UZYTKOWNIKA = user;
    data::glo().ID_FIRMY = company;
  }

 private:
  std::pair<double, double> saved_;
};

TEST_P(RightsTest, WhoHoldsWhichRight) {
  struct Case {
    double user;
    double company;
    const char* right;
    double object;
    int expected;
    const char* why;
  };
  const Case cases[] = {
      {kAdminUserId, kCompany, "Banki", 0, 1, "the administrator holds every right"},
      {kAdminUserId, kOtherCompany, "CokolwiekInnego", 0, 1, "even one that no group has"},
      {kAdminUserId, kCompany, "Kasy", 999, 1, "and for any object"},
      {kClerk, kCompany, "Banki", 0, 1, "through the group"},
      {kClerk, kCompany, "TabOds", 0, 1, "any kind of access above 0"},
      {kClerk, kCompany, "UBanki", 0, 0, "kind of access 0 grants nothing"},
      {kClerk, kCompany, "DBanki", 0, 0, "no such row"},
      {kClerk, kCompany, "Waluty", 0, 0, "the right is the other company's"},
      {kClerk, kOtherCompany, "Waluty", 0, 1, "there it holds"},
      {kClerk, kOtherCompany, "Banki", 0, 0, "and the first company's does not"},
      {kOutsider, kCompany, "Banki", 0, 0, "in no group"},
      {0, kCompany, "Banki", 0, 0, "nobody logged in"},
      {kClerk, kCompany, "Kasy", 501, 1, "the right for this cash desk"},
      {kClerk, kCompany, "Kasy", 502, 0, "not for another one"},
      {kClerk, kCompany, "Kasy", 0, 0, "nor generally"},
      {kClerk, kCompany, "Banki", 501, 0, "a general right names no object"},
      {kClerk, kCompany, "Ban'ki", 0, 0, "an apostrophe is just a character"},
      {kClerk, kCompany, "", 0, 0, "no right asked"},
  };
  for (const auto& c : cases) {
    workAs(c.user, c.company);
    EXPECT_EQ(POBIERZUPRAWNIENIE(c.right, c.object), c.expected) << c.right << ": " << c.why;
  }
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
}

TEST_P(RightsTest, RowFilterOfARightGrantedPerRow) {
  exec("CREATE TABLE T_KONTRAHENT (ID_KONTRAHENTA INTEGER)");
  exec("INSERT INTO T_KONTRAHENT VALUES (1000), (1001), (1002), (1003)");
  auto visible = [&](const std::string& filter) {
    sql::Result r;
    std::string sql = "SELECT A.ID_KONTRAHENTA FROM T_KONTRAHENT A" + (filter.empty() ? "" : " WHERE " + filter) +
                      " ORDER BY 1";
    sql::Status s = db().execute(sql, &r);
    EXPECT_TRUE(s.isOk()) << sql << "\n" << s.message();
    std::string ids;
    for (std::size_t i = 0; i < r.size(); ++i) ids += (i ? "," : "") + r.text(i, 0);
    return ids;
  };

  workAs(kClerk, kCompany);  // granted for two contractors only
  EXPECT_EQ(visible(FILTRUPRAWTYLKOWGLISTZAZN("OKontr")), "1001,1002");
  workAs(kClerk, kOtherCompany);  // granted generally
  EXPECT_EQ(FILTRUPRAWTYLKOWGLISTZAZN("OKontr"), "");
  workAs(kAdminUserId, kCompany);
  EXPECT_EQ(FILTRUPRAWTYLKOWGLISTZAZN("OKontr"), "");
  workAs(kOutsider, kCompany);  // not granted per row: nothing to limit here
  EXPECT_EQ(FILTRUPRAWTYLKOWGLISTZAZN("OKontr"), "");
  workAs(kClerk, kCompany);
  EXPECT_EQ(visible(FILTRUPRAWTYLKOWGLISTZAZN("OKontr", "A.ID_KONTRAHENTA")), "1001,1002");
}

TEST_P(RightsTest, ChangesMadeByThisProgramCountAtOnce) {
  workAs(kClerk, kCompany);
  EXPECT_EQ(POBIERZUPRAWNIENIE("Banki"), 1);
  EXPECT_EQ(POBIERZUPRAWNIENIE("EBanki"), 0);
  EXPECT_EQ(POBIERZUPRAWNIENIE("Kasy", 501), 1);
  // Granted, taken away and moved between groups through any connection of the program:
  // the next check knows, though the rights were read before.
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, RODZAJ_DOSTEPU, ID_OBIEKTU) VALUES (10, 1, 'EBanki', 1, 0)");
  EXPECT_EQ(POBIERZUPRAWNIENIE("EBanki"), 1);
  auto other = openAnother();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(other->execute("UPDATE DOSTEP SET RODZAJ_DOSTEPU = 0 WHERE KOD = 'Banki'").isOk());
  EXPECT_EQ(POBIERZUPRAWNIENIE("Banki"), 0);
  ASSERT_TRUE(other->execute("DELETE FROM UZYTKOWNIKGRUPY WHERE ID_GRUPY = 10").isOk());
  EXPECT_EQ(POBIERZUPRAWNIENIE("EBanki"), 0);
  EXPECT_EQ(POBIERZUPRAWNIENIE("Kasy", 501), 0);
  EXPECT_EQ(FILTRUPRAWTYLKOWGLISTZAZN("OKontr"), "");
  // The same user in another company keeps his own rights there.
  workAs(kClerk, kOtherCompany);
  EXPECT_EQ(POBIERZUPRAWNIENIE("Waluty"), 1);
  EXPECT_EQ(POBIERZUPRAWNIENIE("Banki"), 0);
  // Codes compare exactly, as the table holds them.
  EXPECT_EQ(POBIERZUPRAWNIENIE("waluty"), 0);
}

TEST_P(RightsTest, UnreadableRightsDeny) {
  exec("DROP TABLE DOSTEP");
  workAs(kClerk, kCompany);
  rt::clearError();
  EXPECT_EQ(POBIERZUPRAWNIENIE("Banki"), 0);
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_EQ(FILTRUPRAWTYLKOWGLISTZAZN("OKontr"), "1=0");
  workAs(kAdminUserId, kCompany);  // the administrator needs no table
  EXPECT_EQ(POBIERZUPRAWNIENIE("Banki"), 1);
  rt::clearError();
}

SLOWNIK_ON_ALL_BACKENDS(RightsTest);

}  // namespace
}  // namespace slownik::svc
