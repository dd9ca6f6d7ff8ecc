// The cash desk list's row filter must let through exactly the desks for which the rights
// service grants both "OKasy" and "Kasy": checked here desk by desk against the service.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/banking/cash_desk_rights.h"
#include "framework/data/globals.h"
#include "framework/services/rights.h"
#include "support/backends.h"

namespace slownik::banking {
namespace {

constexpr double kCompany = 1;
constexpr double kOtherCompany = 2;
constexpr double kCashier = 7;    // group 10 of company 1; group 20 of company 2
constexpr double kTwoGroups = 8;  // "OKasy" through group 10, "Kasy" through group 30
constexpr double kOutsider = 9;   // in no group

class CashDeskRightsTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    saved_ = {data::glo().ID_UZYTKOWNIKA, data::glo().ID_FIRMY};
    exec("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES "
         "(1, 11, 'K11', 'A'), (1, 12, 'K12', 'B'), (1, 13, 'K13', 'C'), (1, 14, 'K14', 'D'), "
         "(1, 15, 'K15', 'E'), (1, 16, 'K16', 'F'), (2, 21, 'K21', 'A')");
    exec("INSERT INTO UZYTKOWNIKGRUPY (ID_GRUPY, ID_UZYTKOWNIKA) VALUES (10, 7), (20, 7), (10, 8), (30, 8)");
    exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES "
         "(10, 1, 'OKasy', 11, 1), (10, 1, 'Kasy', 11, 1), "  // both: listed
         "(10, 1, 'OKasy', 12, 1), "                          // no "Kasy" for it
         "(10, 1, 'Kasy', 13, 1), "                           // no "OKasy" for it
         "(10, 1, 'OKasy', 14, 1), (10, 1, 'Kasy', 14, 0), "  // "Kasy" of kind 0 grants nothing
         "(10, 1, 'OKasy', 0, 1), (10, 1, 'Kasy', 0, 1), "    // general rows name no desk
         "(10, 1, 'okasy', 16, 1), (10, 1, 'Kasy', 16, 1), "  // another right's name
         "(20, 2, 'OKasy', 21, 1), (20, 2, 'Kasy', 21, 1), "  // the other company's
         "(20, 2, 'OKasy', 15, 1), (20, 2, 'Kasy', 15, 1), "  // a desk of company 1, granted in company 2
         "(30, 1, 'Kasy', 12, 1)");                           // completes desk 12 for user 8
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
  // The desks the filter lets through, in id order.
  std::string filtered() {
    std::string filter = cashDeskRowFilter("A.ID_KASY");
    std::string sql = "select A.ID_KASY from KASY_FIRMY A" + (filter.empty() ? "" : " where " + filter) + " order by 1";
    sql::Result r;
    sql::Status s = db().run(sql, &r);
    EXPECT_TRUE(s.isOk()) << sql << "\n" << s.message();
    std::string ids;
    for (std::size_t i = 0; i < r.size(); ++i) ids += (i ? "," : "") + r.text(i, 0);
    return ids;
  }
  // The desks for which the rights service grants both rights, asked desk by desk.
  std::string grantedOneByOne() {
    std::string ids;
    for (int desk : {11, 12, 13, 14, 15, 16, 21}) {
      if (svc::POBIERZUPRAWNIENIE("OKasy", desk) == 1 && svc::POBIERZUPRAWNIENIE("Kasy", desk) == 1)
        ids += (ids.empty() ? "" : ",") + std::to_string(desk);
    }
    return ids;
  }

 private:
  std::pair<double, double> saved_;
};

TEST_P(CashDeskRightsTest, FilterAgreesWithTheRightsServiceDeskByDesk) {
  struct Case {
    double user;
    double company;
    const char* expected;
    const char* why;
  };
  const Case cases[] = {
      {kCashier, kCompany, "11", "only the desk with both rights for itself"},
      {kCashier, kOtherCompany, "15,21", "rights of the company worked in, whoever owns the desk"},
      {kTwoGroups, kCompany, "11,12", "the two rights may come through different groups"},
      {kOutsider, kCompany, "", "in no group"},
      {0, kCompany, "", "nobody logged in"},
      {svc::kAdminUserId, kCompany, "11,12,13,14,15,16,21", "the administrator: no filter at all"},
  };
  for (const auto& c : cases) {
    workAs(c.user, c.company);
    EXPECT_EQ(filtered(), c.expected) << c.why;
    EXPECT_EQ(filtered(), grantedOneByOne()) << c.why;
  }
}

TEST_P(CashDeskRightsTest, FilterFollowsRightsChangedAfterItWasMade) {
  workAs(kCashier, kCompany);
  std::string filter = cashDeskRowFilter("A.ID_KASY");
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (10, 1, 'Kasy', 12, 1)");
  EXPECT_EQ(filtered(), "11,12");
  EXPECT_EQ(cashDeskRowFilter("A.ID_KASY"), filter) << "the filter names no desk itself";
}

TEST_P(CashDeskRightsTest, ApostropheInTheRightStaysAValue) {
  workAs(kCashier, kCompany);
  std::string filter = svc::objectRightFilter("O'Kasy", "A.ID_KASY");
  sql::Result r;
  sql::Status s = db().run("select count(*) from KASY_FIRMY A where " + filter, &r);
  ASSERT_TRUE(s.isOk()) << s.message();
  EXPECT_EQ(r.scalar(), "0");
}

SLOWNIK_ON_ALL_BACKENDS(CashDeskRightsTest);

}  // namespace
}  // namespace slownik::banking
