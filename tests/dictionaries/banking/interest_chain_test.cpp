// The chain of period end days, run on the database the way the period list runs it.
#include "dictionaries/banking/interest_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "support/backends.h"

namespace slownik::banking {
namespace {

const std::int32_t kJan1 = rt::dayNumber(2024, 1, 1);
const std::int32_t kJan15 = rt::dayNumber(2024, 1, 15);
const std::int32_t kFeb1 = rt::dayNumber(2024, 2, 1);
const std::int32_t kFeb29 = rt::dayNumber(2024, 2, 29);
const std::int32_t kMar1 = rt::dayNumber(2024, 3, 1);
const std::int32_t kMar10 = rt::dayNumber(2024, 3, 10);
constexpr double kTable = 7;
constexpr double kOtherTable = 8;

std::string span(std::int32_t from, std::int32_t to) { return std::to_string(from) + "-" + std::to_string(to); }

class InterestChainTest : public slownik::test::DatabaseTest {
 protected:
  //! Writes a period as the form does (no end) and chains it.
  void insert(double table, std::int32_t start) {
    exec("INSERT INTO ODSETKI (ID_TABELI_ODSETEK, OD_DNIA, DO_DNIA, STOPA, ZA_OKRES) VALUES (" +
         std::to_string(static_cast<long long>(table)) + ", " + std::to_string(start) + ", 0, 5, 365)");
    chainAfterInsert(table, start);
  }
  void remove(double table, std::int32_t start) {
    std::string end = scalar("SELECT DO_DNIA FROM ODSETKI WHERE ID_TABELI_ODSETEK = " +
                             std::to_string(static_cast<long long>(table)) + " AND OD_DNIA = " + std::to_string(start));
    exec("DELETE FROM ODSETKI WHERE ID_TABELI_ODSETEK = " + std::to_string(static_cast<long long>(table)) +
         " AND OD_DNIA = " + std::to_string(start));
    chainAfterDelete(table, start, std::stoi(end));
  }
  void move(double table, std::int32_t from, std::int32_t to) {
    std::string t = std::to_string(static_cast<long long>(table));
    std::string end = scalar("SELECT DO_DNIA FROM ODSETKI WHERE ID_TABELI_ODSETEK = " + t + " AND OD_DNIA = " + std::to_string(from));
    exec("UPDATE ODSETKI SET OD_DNIA = " + std::to_string(to) + " WHERE ID_TABELI_ODSETEK = " + t +
         " AND OD_DNIA = " + std::to_string(from));
    chainAfterMove(table, from, std::stoi(end), to);
  }
  std::vector<std::string> periods(double table) {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT OD_DNIA, COALESCE(DO_DNIA, 0) FROM ODSETKI WHERE ID_TABELI_ODSETEK = " +
                                 std::to_string(static_cast<long long>(table)) + " ORDER BY OD_DNIA",
                             &r)
                    .isOk());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) out.push_back(r.text(i, 0) + "-" + r.text(i, 1));
    return out;
  }
  void januaryToMarch() {
    insert(kTable, kJan1);
    insert(kTable, kFeb1);
    insert(kTable, kMar1);
  }
};

TEST_P(InterestChainTest, InsertsInAnyOrderEndEachPeriodBeforeTheNext) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> order;
  };
  const Case cases[] = {
      {"in order", {kJan1, kFeb1, kMar1}},
      {"March, January, February", {kMar1, kJan1, kFeb1}},
      {"backwards", {kMar1, kFeb1, kJan1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    exec("DELETE FROM ODSETKI");
    insert(kOtherTable, kJan15);  // another table's period never joins the chain
    for (std::int32_t day : c.order) insert(kTable, day);
    EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kJan1, kFeb1 - 1), span(kFeb1, kFeb29), span(kMar1, 0)}));
    EXPECT_EQ(periods(kOtherTable), (std::vector<std::string>{span(kJan15, 0)}));
  }
}

TEST_P(InterestChainTest, DeletesHandTheEndToThePeriodBefore) {
  januaryToMarch();
  remove(kTable, kFeb1);  // the middle one
  EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kJan1, kFeb29), span(kMar1, 0)}));
  remove(kTable, kMar1);  // the last one: the period before becomes open
  EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kJan1, 0)}));

  exec("DELETE FROM ODSETKI");
  januaryToMarch();
  remove(kTable, kJan1);  // the first one changes nothing else
  EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kFeb1, kFeb29), span(kMar1, 0)}));
}

TEST_P(InterestChainTest, AMovedStartDayIsChainedAtItsNewPlace) {
  januaryToMarch();
  move(kTable, kFeb1, kJan15);  // earlier, still in the middle
  EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kJan1, kJan15 - 1), span(kJan15, kFeb29), span(kMar1, 0)}));
  move(kTable, kJan15, kMar10);  // past the last one: it becomes the open period
  EXPECT_EQ(periods(kTable), (std::vector<std::string>{span(kJan1, kFeb29), span(kMar1, kMar10 - 1), span(kMar10, 0)}));
  move(kTable, kJan1, kJan1);  // a change that keeps the day touches nothing
  EXPECT_EQ(periods(kTable).front(), span(kJan1, kFeb29));
}

TEST_P(InterestChainTest, ChecksSeeTheOpenLastPeriod) {
  januaryToMarch();
  EXPECT_TRUE(periodStartsOn(kTable, kMar1).found) << "the open period counts as taken";
  EXPECT_TRUE(periodStartsOn(kTable, kJan1).found);
  EXPECT_FALSE(periodStartsOn(kTable, kJan15).found);
  EXPECT_FALSE(periodStartsOn(kOtherTable, kJan1).found);

  PeriodCheck inverted = hasInvertedPeriod(kTable);
  EXPECT_FALSE(inverted.failed()) << inverted.error;
  EXPECT_FALSE(inverted.found) << "an open end is no end";
  exec("UPDATE ODSETKI SET DO_DNIA = NULL WHERE OD_DNIA = " + std::to_string(kMar1));
  EXPECT_FALSE(hasInvertedPeriod(kTable).found);
  exec("UPDATE ODSETKI SET DO_DNIA = " + std::to_string(kJan15) + " WHERE OD_DNIA = " + std::to_string(kFeb1));
  EXPECT_TRUE(hasInvertedPeriod(kTable).found);
}

SLOWNIK_ON_ALL_BACKENDS(InterestChainTest);

}  // namespace
}  // namespace slownik::banking
