#include <gtest/gtest.h>

#include <atomic>

#include "framework/classes/split_manager.h"
#include "framework/data/globals.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/browser_columns.h"
#include "framework/services/column_dialog.h"
#include "framework/services/window_parameters.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

// The dialog runs on a procedure thread as a window would; the test plays the person.
class ColumnDialogTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    savedUser_ = data::glo().ID_UZYTKOWNIKA;
    data::glo().ID_UZYTKOWNIKA = 7;
    ASSERT_EQ(USTAWKOLUMNE("Kontakt", 1, "80L(2)|M~Nazwisko~@s40@", 80), 0);
    ASSERT_EQ(USTAWKOLUMNE("Kontakt", 2, "60L(2)|M~Imię~@s20@", 60), 0);
    ASSERT_EQ(USTAWKOLUMNE("Kontakt", 3, "90L(2)|M~E-mail O'Briena~@s60@", 90), 0);
  }
  void TearDown() override {
    fe_->closeAll();
    for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    data::glo().ID_UZYTKOWNIKA = savedUser_;
    DatabaseTest::TearDown();
  }

  // Starts the dialog; the returned thread's result lands in result_.
  rt::ProcedureThread start(std::string window) {
    result_ = -1;
    return rt::startProcedure([this, window] { result_ = KONFIGURACJA_KOLUMN(window); });
  }

  rt::HeadlessFrontEnd* fe_ = nullptr;
  std::atomic<int> result_{-1};
  double savedUser_ = 0;
};

TEST_P(ColumnDialogTest, ChangedWidthsAreStored) {
  auto thread = start("Kontakt");
  auto w = fe_->waitForWindow("Konfiguracja kolumn");
  ASSERT_NE(w, nullptr);
  auto rows = w->control("?LIST")->rows;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "Nazwisko", "80", "Tak"}));
  EXPECT_EQ(rows[2][1], "E-mail O'Briena");
  EXPECT_EQ(w->value("?SZEROKOSC"), "80");  // the first column is chosen at start

  ASSERT_TRUE(fe_->clickRow(w, "?LIST", 2));
  EXPECT_EQ(w->value("?SZEROKOSC"), "60");
  ASSERT_TRUE(fe_->type(w, "?SZEROKOSC", "75"));
  ASSERT_TRUE(fe_->clickRow(w, "?LIST", 3));
  ASSERT_TRUE(fe_->click(w, "?WIDOCZNA"));  // hidden: width 0
  EXPECT_EQ(w->control("?LIST")->rows[2][3], "Nie");
  ASSERT_TRUE(fe_->click(w, "?OK"));
  thread.join();

  EXPECT_EQ(result_, 1);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Kontakt", 1), 80);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Kontakt", 2), 75);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Kontakt", 3), 0);
  EXPECT_EQ(POBIERZKOLUMNEFORMAT("Kontakt", 3), "90L(2)|M~E-mail O'Briena~@s60@");
}

TEST_P(ColumnDialogTest, HiddenColumnShownAgainGetsItsWidthBack) {
  auto thread = start("Kontakt");
  auto w = fe_->waitForWindow("Konfiguracja kolumn");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(fe_->click(w, "?WIDOCZNA"));
  EXPECT_EQ(w->value("?SZEROKOSC"), "0");
  ASSERT_TRUE(fe_->click(w, "?WIDOCZNA"));
  EXPECT_EQ(w->value("?SZEROKOSC"), "80");
  ASSERT_TRUE(fe_->click(w, "?OK"));
  thread.join();
  EXPECT_EQ(result_, 0);  // back where it was: nothing to store
}

TEST_P(ColumnDialogTest, CancelAndWrongWidthsChangeNothing) {
  auto thread = start("Kontakt");
  auto w = fe_->waitForWindow("Konfiguracja kolumn");
  ASSERT_NE(w, nullptr);
  for (const char* wrong : {"-3", "abc", "99999"}) {
    fe_->expectMessage(rt::button::Ok, "Szerokość kolumny");
    ASSERT_TRUE(fe_->type(w, "?SZEROKOSC", wrong));
    EXPECT_EQ(w->value("?SZEROKOSC"), "80") << wrong;
  }
  ASSERT_TRUE(fe_->type(w, "?SZEROKOSC", "10"));
  ASSERT_TRUE(fe_->click(w, "?CANCEL"));
  thread.join();
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Kontakt", 1), 80);
}

TEST_P(ColumnDialogTest, WindowWithoutStoredColumnsSaysSo) {
  fe_->expectMessage(rt::button::Ok, "nie został jeszcze zapisany");
  auto thread = start("Pracownik_Brw");
  thread.join();
  EXPECT_EQ(result_, 0);
}

TEST_P(ColumnDialogTest, SplitterOffsetIsStoredAsWindowParameter) {
  rt::WindowDef def;
  def.type = "P1$BROWSEWINDOW";
  def.caption = "Historia zmian statusów zamówienia";
  for (const char* name : {"?LIST2", "?VSPLIT", "?LIST"}) {
    rt::ControlDef c;
    c.name = name;
    c.kind = rt::ControlKind::List;
    def.controls.push_back(c);
  }
  auto w = rt::Window::open(def);
  fw::SplitManager split;
  ASSERT_TRUE(split.init(w, "?VSPLIT", "?LIST2", "?LIST"));
  split.restore("HistoriaStatusowZamowien_Brw");
  EXPECT_EQ(split.offset(), 0);  // nothing stored yet
  split.setOffset(-42);
  EXPECT_EQ(split.save("HistoriaStatusowZamowien_Brw"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("HistoriaStatusowZamowien_Brw", "split"), "-42");
  split.setOffset(0);
  split.restore("HistoriaStatusowZamowien_Brw");
  EXPECT_EQ(split.offset(), -42);
  w->close();
}

SLOWNIK_ON_ALL_BACKENDS(ColumnDialogTest);

}  // namespace
}  // namespace slownik::svc
