// The cash desk list and form played through the headless front-end, checked against the
// database. The demo company 1 has the desks 1 "KG" "Kasa główna" and 2 "KW" "Kasa walutowa".
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/banking/cash_desk_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

// List-buffer fields of a row (0-based): the hidden company, column "D" (its text kept
// empty) with its icon, symbol, name, then the carried account, currency flag and desk id.
constexpr std::size_t kCompanyField = 0;
constexpr std::size_t kMarkField = 1;
constexpr std::size_t kIconField = 2;
constexpr std::size_t kSymbolField = 3;
constexpr std::size_t kNameField = 4;
constexpr std::size_t kAccountField = 5;
constexpr std::size_t kIdField = 7;

constexpr long long kJan = sql::demo::kUserId;
constexpr long long kSellers = sql::demo::kUserGroupId;

struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<double> chosen{0};
};

class CashDeskWindowTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    saved_ = data::glo().ID_KASY.get();
    data::glo().ID_KASY = 0;
    exec("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL, KONTO_FK, RAP_WALUTOWE) "
         "VALUES (2, 50, 'Kasa oddziału', 'KO', '100-9', 0)");
    // The sellers' cash desk rights are given here, desk by desk.
    exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(kSellers) + " AND KOD LIKE '%Kasy'");
  }
  void TearDown() override {
    data::glo().ID_KASY = saved_;
    WindowFixture::TearDown();
  }

  std::shared_ptr<Outcome> startList(double company = 1, int request = data::kNoRequest) {
    auto out = std::make_shared<Outcome>();
    start([out, company, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      KASA_BRW(company);
      out->response = data::GLOBALRESPONSE();
      out->chosen = data::field("KAS:ID_KASY").number();
    });
    return out;
  }
  std::shared_ptr<rt::Window> openList(double company = 1, int request = data::kNoRequest) {
    outcome_ = startList(company, request);
    return window("Lista kas");
  }
  std::string desk(const std::string& column, const std::string& where) {
    return scalar("SELECT " + column + " FROM KASY_FIRMY WHERE " + where);
  }
  int deskCount() { return std::stoi(scalar("SELECT COUNT(*) FROM KASY_FIRMY")); }
  // Types the fields of the open form and presses "Zapisz".
  void fill(const std::shared_ptr<rt::Window>& f, const std::string& symbol, const std::string& name) {
    fe().type(f, "?KAS:SYMBOL", symbol);
    fe().type(f, "?KAS:NAZWA", name);
    fe().click(f, "?OK");
  }

  std::shared_ptr<Outcome> outcome_;

 private:
  double saved_ = 0;
};

TEST_P(CashDeskWindowTest, ListsTheParameterCompanysDesksAndMarksTheCurrentOne) {
  data::glo().ID_KASY = 2;
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kNameField), (std::vector<std::string>{"Kasa główna", "Kasa walutowa"}));
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"KG", "KW"}));
  EXPECT_EQ(column(w, kCompanyField), (std::vector<std::string>{"1", "1"}));
  EXPECT_EQ(column(w, kAccountField), (std::vector<std::string>{"100-1", "100-2"}));
  EXPECT_EQ(column(w, kIconField), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(column(w, kMarkField), (std::vector<std::string>{"", ""})) << "the mark alone, no number";
  EXPECT_EQ(w->control("?LIST")->iconList, std::vector<std::string>{"~32redchk.ico"});
  // The step locator goes by the desk's number.
  fe().press(w, rt::key::letter('2'));
  EXPECT_EQ(w->control("?LIST")->selection, 2);
  fe().press(w, rt::key::letter('1'));
  EXPECT_EQ(w->control("?LIST")->selection, 1);
  fe().press(w, rt::key::Esc);
  join();

  data::glo().ID_KASY = 0;
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kIconField), (std::vector<std::string>{"0", "0"}));
  fe().press(w, rt::key::Esc);
  join();

  // The parameter, not the company worked in, chooses the desks.
  data::glo().ID_KASY = 50;
  w = openList(2);
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kIdField), std::vector<std::string>{"50"});
  EXPECT_EQ(column(w, kIconField), std::vector<std::string>{"1"});
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, StepLocatorMatchesTheDigitsTheDeskNumberStartsWith) {
  exec("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL) VALUES (1, 12, 'Kasa sklepowa', 'KS')");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  // From desk 1, "1" goes on to the next desk written with a leading 1 (12), not to the
  // first number at or above 1.
  auto selectedDesk = [&]() -> std::string {
    auto list = w->control("?LIST");
    auto at = static_cast<std::size_t>(list->selection - 1);
    return list->selection > 0 && at < list->rows.size() && kIdField < list->rows[at].size() ? list->rows[at][kIdField]
                                                                                              : "none";
  };
  ASSERT_EQ(selectedDesk(), "1");
  ASSERT_TRUE(fe().press(w, rt::key::letter('1')));
  EXPECT_EQ(selectedDesk(), "12");
  ASSERT_TRUE(fe().press(w, rt::key::letter('1')));
  EXPECT_EQ(selectedDesk(), "1");
  fe().press(w, rt::key::Esc);
}

TEST_P(CashDeskWindowTest, OnlyDesksWithBothRightsForThemAreListed) {
  asUser(kJan);
  grant("OKasy", 1);
  grant("Kasy", 1);
  grant("OKasy", 2);  // without "Kasy" for it
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kIdField), std::vector<std::string>{"1"});
  // Rights granted while the list is open show at the next reading.
  grant("Kasy", 2);
  fe().press(w, rt::key::F5);
  EXPECT_EQ(column(w, kIdField), (std::vector<std::string>{"1", "2"}));
  fe().press(w, rt::key::Esc);
  join();

  asUser(424242);  // in no group, no current desk: the list opens, empty
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, WorkingAtADeskWithoutTheRightKeepsTheListClosed) {
  asUser(kJan);
  data::glo().ID_KASY = 1;
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do kas!");
  outcome_ = startList();
  join();
  EXPECT_EQ(fe().messages().size(), 1u);
  EXPECT_TRUE(rt::openWindows().empty());

  // The right over the company opens it.
  grant("Kasy", 0);
  auto w = openList();
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, RefusedActionsAreCancelledAndEditingIsARightOfTheDesk) {
  asUser(kJan);
  grant("OKasy", 1);
  grant("Kasy", 1);
  grant("UKasy", 2);  // deleting another desk than this one
  grant("EKasy", 0);  // editing in general names no desk
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_EQ(rows(w).size(), 1u);
  fe().clickRow(w, "?LIST", 1);

  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie kas!");
  fe().press(w, rt::key::Ins);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie kas!");
  fe().press(w, rt::key::Del);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u) << "no form opened";
  EXPECT_EQ(deskCount(), 3);

  fe().press(w, rt::key::F2);
  auto f = window("Edycja kasy");
  ASSERT_TRUE(f);
  for (const char* control : {"?KAS:SYMBOL", "?KAS:NAZWA", "?KAS:KONTO_FK", "?KAS:RAP_WALUTOWE", "?OK"})
    EXPECT_FALSE(f->control(control)->enabled) << control;
  EXPECT_TRUE(f->control("?CANCEL")->enabled);
  fe().click(f, "?CANCEL");
  ASSERT_TRUE(fe().waitForClose(f));

  grant("EKasy", 1);
  fe().press(w, rt::key::F2);
  f = window("Edycja kasy");
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->control("?KAS:NAZWA")->enabled);
  EXPECT_TRUE(f->control("?OK")->enabled);
  fe().click(f, "?CANCEL");
  ASSERT_TRUE(fe().waitForClose(f));

  // The right to look at the desk taken away while the list shows it: the row is read
  // again through the rights, so the form never opens on it.
  exec("DELETE FROM DOSTEP WHERE KOD = 'OKasy' AND ID_GRUPY = " + std::to_string(kSellers));
  fe().expectMessage(rt::button::Ok, "Nie znaleziono rekordu");
  fe().press(w, rt::key::F2);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u) << "no form opened";
  EXPECT_TRUE(rows(w).empty());
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCompleted);
}

TEST_P(CashDeskWindowTest, SymbolAndNameAreUniqueWithinTheCompanyOnly) {
  auto w = openList();
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Ins);
  auto f = window("Dodawanie kasy");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?KAS:NAZWA"), "");

  fe().expectMessage(rt::button::Ok, "Kasa o takim symbolu już istnieje!");
  fill(f, "KG", "Kasa nowa");
  EXPECT_FALSE(f->isClosed());
  fe().expectMessage(rt::button::Ok, "Kasa o takiej nazwie już istnieje!");
  fill(f, "KN", "Kasa walutowa");
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(deskCount(), 3);

  fe().type(f, "?KAS:KONTO_FK", "100-'3'");
  fe().click(f, "?KAS:RAP_WALUTOWE");
  fill(f, "K'N", "Kasa d'Artagnan");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  const std::string added = "NAZWA = 'Kasa d''Artagnan'";
  EXPECT_EQ(desk("ID_FIRMY", added), "1");
  EXPECT_EQ(desk("SYMBOL", added), "K'N");
  EXPECT_EQ(desk("KONTO_FK", added), "100-'3'");
  EXPECT_EQ(desk("RAP_WALUTOWE", added), "1");
  EXPECT_GT(rowOf(w, kNameField, "Kasa d'Artagnan"), 0);

  // The apostrophes are compared as values, so the copy is found.
  fe().press(w, rt::key::Ins);
  f = window("Dodawanie kasy");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Kasa o takim symbolu już istnieje!");
  fill(f, "K'N", "Kasa d'Artagnan");
  fe().expectMessage(rt::button::Ok, "Kasa o takiej nazwie już istnieje!");
  fill(f, "K'X", "Kasa d'Artagnan");
  fe().click(f, "?CANCEL");
  ASSERT_TRUE(fe().waitForClose(f));

  // A desk keeps its own symbol and name when changed.
  fe().clickRow(w, "?LIST", rowOf(w, kSymbolField, "KG"));
  fe().press(w, rt::key::F2);
  f = window("Edycja kasy");
  ASSERT_TRUE(f);
  fe().type(f, "?KAS:KONTO_FK", "101");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(desk("KONTO_FK", "ID_KASY = 1"), "101");
  fe().press(w, rt::key::Esc);
  join();

  // Another company may use the same symbol and name; the new desk is the listed company's.
  w = openList(2);
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Ins);
  f = window("Dodawanie kasy");
  ASSERT_TRUE(f);
  fill(f, "KG", "Kasa główna");
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(desk("COUNT(*)", "SYMBOL = 'KG' AND NAZWA = 'Kasa główna' AND ID_FIRMY = 2"), "1");
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"KG", "KO"}));
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, DeleteGoesThroughTheForm) {
  auto w = openList();
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", rowOf(w, kSymbolField, "KW"));
  fe().press(w, rt::key::Del);
  auto f = window("Aktualizacja rekordu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(desk("COUNT(*)", "ID_KASY = 2"), "0");
  EXPECT_EQ(column(w, kSymbolField), std::vector<std::string>{"KG"});
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, ViewOnlyListCallsNoForm) {
  auto w = openList(1, data::kViewRecord);
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", 1);
  for (int key : {rt::key::Ins, rt::key::F2, rt::key::Del}) fe().press(w, key);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u);
  EXPECT_EQ(deskCount(), 3);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CashDeskWindowTest, PickerLeavesTheChosenDeskInTheRecordBuffer) {
  auto w = openList(1, data::kSelectRecord);
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  fe().clickRow(w, "?LIST", rowOf(w, kSymbolField, "KW"));
  fe().click(w, "?SELECT");
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCompleted);
  EXPECT_EQ(outcome_->chosen.load(), 2);

  w = openList(1, data::kSelectRecord);
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCancelled);
}

SLOWNIK_ON_ALL_BACKENDS(CashDeskWindowTest);

}  // namespace
}  // namespace slownik::banking
