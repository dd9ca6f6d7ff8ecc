// The interest table list, the table form with its period list and the period form,
// played through the headless front-end and checked against the database.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dictionaries/banking/interest_list.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window_resource.h"
#include "framework/services/messages.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::banking::test {
namespace {

constexpr long long kAdmin = sql::demo::kAdminUserId;
constexpr long long kJan = sql::demo::kUserId;
const std::int32_t kJan1 = rt::dayNumber(2024, 1, 1);
const std::int32_t kFeb1 = rt::dayNumber(2024, 2, 1);
const std::int32_t kMar1 = rt::dayNumber(2024, 3, 1);

class InterestWindowTest : public slownik::test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    data::glo().ID_FIRMY = static_cast<double>(sql::demo::kCompanyId);
    data::glo().ID_UZYTKOWNIKA = static_cast<double>(kAdmin);
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(slownik::test::sourceDir() + "/resources");
    // Tables of its own, not the demo's.
    exec("DELETE FROM ODSETKI");
    exec("DELETE FROM TABELA_ODSETEK");
    exec("INSERT INTO TABELA_ODSETEK (ID_TABELI_ODSETEK, ID_FIRMY, NAZWA, CZY_USTAWOWE, OPIS, SEMAFOR) "
         "VALUES (1, 1, 'Ustawowe d''Alembert', 1, '', 0), (2, 1, 'Kapitałowe', 0, '', 0), "
         "(3, 2, 'Obca firma', 0, '', 0)");
    exec("INSERT INTO ODSETKI (ID_TABELI_ODSETEK, OD_DNIA, DO_DNIA, STOPA, ZA_OKRES) VALUES (1, " +
         std::to_string(kJan1) + ", 0, 11.25, 365)");
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    join();
    DatabaseTest::TearDown();
  }

  void startList() { threads_.push_back(rt::startProcedure([] { TABELA_ODSETEK_BRW(); })); }
  std::shared_ptr<rt::Window> openList() {
    startList();
    auto w = fe_->waitForWindow("Tabele odsetek");
    EXPECT_TRUE(w) << "the list did not open";
    return w;
  }
  std::shared_ptr<rt::Window> waitFor(const std::string& title) {
    auto w = fe_->waitForWindow(title);
    EXPECT_TRUE(w) << title;
    return w;
  }
  void join() {
    for (auto& t : threads_) t.join();
    threads_.clear();
  }
  void grant(const std::vector<std::string>& rights) {
    for (const auto& r : rights)
      exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (" +
           std::to_string(sql::demo::kUserGroupId) + ", 1, '" + r + "', 0, 1)");
  }
  //! Names in the list, top to bottom.
  static std::vector<std::string> names(const std::shared_ptr<rt::Window>& w) {
    std::vector<std::string> out;
    const auto rows = w->control("?LIST")->rows;
    for (const auto& r : rows) out.push_back(r.empty() ? "" : r[0]);
    return out;
  }
  //! "start-end" of the table's periods by start day, as the database holds them.
  std::vector<std::string> periods(int table) {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT OD_DNIA, COALESCE(DO_DNIA, 0) FROM ODSETKI WHERE ID_TABELI_ODSETEK = " +
                                 std::to_string(table) + " ORDER BY OD_DNIA",
                             &r)
                    .isOk());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) out.push_back(r.text(i, 0) + "-" + r.text(i, 1));
    return out;
  }
  static std::string span(std::int32_t from, std::int32_t to) { return std::to_string(from) + "-" + std::to_string(to); }

  //! Adds a period through the form's period list; the form stays as it was left.
  void addPeriod(const std::shared_ptr<rt::Window>& form, std::int32_t start, const std::string& rate,
                 const std::string& days) {
    ASSERT_TRUE(fe_->click(form, "?INSERT"));
    auto p = waitFor("Dodawanie tabeli");
    ASSERT_TRUE(p);
    ASSERT_TRUE(fe_->type(p, "?ODS:OD_DNIA", rt::formatShortDate(start)));
    ASSERT_TRUE(fe_->type(p, "?ODS:STOPA", rate));
    ASSERT_TRUE(fe_->type(p, "?ODS:ZA_OKRES", days));
    ASSERT_TRUE(fe_->click(p, "?OK"));
    ASSERT_TRUE(fe_->waitForClose(p));
    ASSERT_TRUE(fe_->settle(form));
  }

  rt::HeadlessFrontEnd& fe() { return *fe_; }

 private:
  rt::HeadlessFrontEnd* fe_ = nullptr;
  std::vector<rt::ProcedureThread> threads_;
};

TEST_P(InterestWindowTest, ListShowsTheCompanysTablesByName) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(names(w), (std::vector<std::string>{"Kapitałowe", "Ustawowe d'Alembert"}));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "us"));
  EXPECT_EQ(w->control("?LIST")->selection, 2);
}

TEST_P(InterestWindowTest, NewTableWithPeriodsIsChainedAndSaved) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = waitFor("Dodawanie tabeli odsetek");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?TABODS:NAZWA"), "");
  ASSERT_TRUE(fe().type(f, "?TABODS:NAZWA", "Karne O'Brien"));

  // Out of order: March, January, February.
  addPeriod(f, kMar1, "12,5", "365");
  // The period is under the table's reserved id; no half-made table is in any list.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3");
  EXPECT_EQ(scalar("SELECT ID FROM REZERWACJA_ID WHERE TABELA = 'TABELA_ODSETEK'"), "4");
  addPeriod(f, kJan1, "10", "365");
  addPeriod(f, kFeb1, "0,05", "1");
  EXPECT_EQ(periods(4), (std::vector<std::string>{span(kJan1, kFeb1 - 1), span(kFeb1, kMar1 - 1), span(kMar1, 0)}));
  EXPECT_EQ(f->control("?LIST")->rows.size(), 3u);

  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NAZWA FROM TABELA_ODSETEK WHERE ID_TABELI_ODSETEK = 4"), "Karne O'Brien");
  EXPECT_EQ(scalar("SELECT ID_FIRMY FROM TABELA_ODSETEK WHERE ID_TABELI_ODSETEK = 4"), "1");
  EXPECT_EQ(scalar("SELECT COALESCE(SEMAFOR, 0) FROM TABELA_ODSETEK WHERE ID_TABELI_ODSETEK = 4"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");
  EXPECT_EQ(scalar("SELECT STOPA FROM ODSETKI WHERE ID_TABELI_ODSETEK = 4 AND OD_DNIA = " + std::to_string(kFeb1)),
            isPostgres() ? "0.0500" : "0.05");
  EXPECT_EQ(names(w), (std::vector<std::string>{"Kapitałowe", "Karne O'Brien", "Ustawowe d'Alembert"}));
}

TEST_P(InterestWindowTest, CancelledNewTableLeavesNothingBehind) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = waitFor("Dodawanie tabeli odsetek");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?TABODS:NAZWA", "Na próbę"));
  addPeriod(f, kJan1, "10", "365");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK <> 1"), "1");
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK <> 1"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");
  EXPECT_EQ(names(w).size(), 2u);
}

TEST_P(InterestWindowTest, PeriodFormRefusesZeroesAndATakenStartDay) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));  // Ustawowe d'Alembert, one period from 1 January
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = waitFor("Edycja tabeli odsetek");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?TABODS:NAZWA"), "Ustawowe d'Alembert");
  ASSERT_TRUE(fe().click(f, "?INSERT"));
  auto p = waitFor("Dodawanie tabeli");
  ASSERT_TRUE(p);

  struct Case {
    std::int32_t start;
    const char* rate;
    const char* days;
    const char* message;
  };
  const Case cases[] = {
      {kJan1, "5", "365", "Zapis o dacie rozpoczęcia okresu już istnieje!"},  // the open last period
      {kFeb1, "5", "0", "Okres musi być większy od 0!"},
      {kFeb1, "0", "365", "Stopa odsetek musi być większa od 0!"},
      {kFeb1, "-1", "365", "Stopa odsetek musi być większa od 0!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ASSERT_TRUE(fe().type(p, "?ODS:OD_DNIA", rt::formatShortDate(c.start)));
    ASSERT_TRUE(fe().type(p, "?ODS:STOPA", c.rate));
    ASSERT_TRUE(fe().type(p, "?ODS:ZA_OKRES", c.days));
    fe().expectMessage(rt::button::Ok, c.message);
    ASSERT_TRUE(fe().click(p, "?OK"));
    ASSERT_TRUE(fe().settle(p));
    EXPECT_FALSE(p->isClosed());
  }
  EXPECT_EQ(periods(1), (std::vector<std::string>{span(kJan1, 0)}));
  ASSERT_TRUE(fe().type(p, "?ODS:STOPA", "7,5"));
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(periods(1), (std::vector<std::string>{span(kJan1, kFeb1 - 1), span(kFeb1, 0)}));

  // Deleting the first period changes no other row; the table stays savable.
  ASSERT_TRUE(fe().clickRow(f, "?LIST", 1));
  ASSERT_TRUE(fe().click(f, "?DELETE"));
  auto d = waitFor("Odsetki");
  ASSERT_TRUE(d);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(d, "?OK"));
  ASSERT_TRUE(fe().waitForClose(d));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(periods(1), (std::vector<std::string>{span(kFeb1, 0)}));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
}

TEST_P(InterestWindowTest, NameIsUniqueWithinTheCompany) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = waitFor("Dodawanie tabeli odsetek");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwę tabeli odsetek!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().type(f, "?TABODS:NAZWA", "Ustawowe d'Alembert"));
  fe().expectMessage(rt::button::Ok, "jest już używana");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3");
  // Another company's name is free here.
  ASSERT_TRUE(fe().type(f, "?TABODS:NAZWA", "Obca firma"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK WHERE NAZWA = 'Obca firma'"), "2");
}

TEST_P(InterestWindowTest, InvertedPeriodKeepsTheTableFromSaving) {
  exec("UPDATE ODSETKI SET DO_DNIA = " + std::to_string(kJan1 - 10) + " WHERE ID_TABELI_ODSETEK = 1");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 2));
  auto f = waitFor("Edycja tabeli odsetek");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Nieprawidłowy zakres dat!|Data początku okresu nie może być większa niż końca!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
}

TEST_P(InterestWindowTest, AnotherUsersLockStopsChangeAndDelete) {
  exec("UPDATE TABELA_ODSETEK SET SEMAFOR = " + std::to_string(kJan) + " WHERE ID_TABELI_ODSETEK = 1");
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?LIST")->rows[1][1], "16711680");  // blue
  EXPECT_EQ(w->control("?LIST")->rows[0][1], "-1");
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  fe().expectMessage(rt::button::Ok, "Kartoteka odsetek jest aktualizowana przez innego użytkownika!");
  ASSERT_TRUE(fe().click(w, "?CHANGE"));
  fe().expectMessage(rt::button::Yes, "Czy usunąć tabelę odsetek?");
  fe().expectMessage(rt::button::Ok, "Tabela odsetek jest aktualizowana przez innego użytkownika!");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK = 1"), "1");
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM TABELA_ODSETEK WHERE ID_TABELI_ODSETEK = 1"), std::to_string(kJan));

  // The user's own table: the question first, No keeps it, Yes removes it with its periods.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  fe().expectMessage(rt::button::No, "Czy usunąć tabelę odsetek?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  EXPECT_EQ(names(w).size(), 2u);
  fe().expectMessage(rt::button::Yes, "Czy usunąć tabelę odsetek?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(names(w), (std::vector<std::string>{"Ustawowe d'Alembert"}));
  auto shown = fe().messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().title, "TRAMEL: Pytanie");
  EXPECT_EQ(shown.back().defaultButton, rt::button::No);
}

TEST_P(InterestWindowTest, RightsGuardTheListTheActionsAndThePeriods) {
  data::glo().ID_UZYTKOWNIKA = static_cast<double>(kJan);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do tabel odsetek!");
  startList();  // refused: no window
  join();
  EXPECT_EQ(fe().messages().size(), 1u);

  grant({"TabOds", "OTabOds"});
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie tabel odsetek!");
  ASSERT_TRUE(fe().click(w, "?INSERT"));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  fe().expectMessage(rt::button::Yes, "Czy usunąć tabelę odsetek?");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie tabel odsetek!");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3");

  // Without "ETabOds" the table only shows, and its title says so.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = waitFor("View Record");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control("?LIST")->rows.size(), 1u);
  for (const char* c : {"?TABODS:NAZWA", "?TABODS:CZY_USTAWOWE", "?TABODS:OPIS", "?LIST", "?INSERT", "?CHANGE", "?DELETE", "?OK"})
    EXPECT_FALSE(f->control(c)->enabled) << c;
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COALESCE(SEMAFOR, 0) FROM TABELA_ODSETEK WHERE ID_TABELI_ODSETEK = 1"), "0");
}

TEST_P(InterestWindowTest, PeriodsNeedTheEditRight) {
  data::glo().ID_UZYTKOWNIKA = static_cast<double>(kJan);
  grant({"TabOds", "DTabOds"});
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = waitFor("Dodawanie tabeli odsetek");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na modyfikacje tabeli odsetek!");
  ASSERT_TRUE(fe().click(f, "?INSERT"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK"), "3") << "nothing written ahead";
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
}

SLOWNIK_ON_ALL_BACKENDS(InterestWindowTest);

}  // namespace
}  // namespace slownik::banking::test
