// The financial operations played through the headless front-end.
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/financial_operation_list.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kCode = 0;
constexpr const char* kDuplicate = "Operacja o wprowadzonym kodzie już istnieje!|Proszę zmienić kod.";

class FinancialOperationWindows : public test::WindowFixture {
 protected:
  std::shared_ptr<rt::Window> openList() {
    start([] { RODZAJ_OPERACJI_FIN_BRW(); });
    return window("Operacje finansowe");
  }
  std::shared_ptr<rt::Window> change(const std::shared_ptr<rt::Window>& w, const std::string& code) {
    int row = rowOf(w, kCode, code);
    EXPECT_GT(row, 0) << code;
    if (row <= 0 || !fe().clickRow(w, "?LIST", row) || !fe().press(w, rt::key::F2)) return nullptr;
    return window("Zapis zostanie zmieniony");
  }
  void refused(const std::shared_ptr<rt::Window>& f) {
    fe().expectMessage(rt::button::Ok, kDuplicate);
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().settle(f));
    EXPECT_FALSE(f->isClosed());
    EXPECT_EQ(f->focus(), "?ROF:KOD_OPERACJI");
  }
  void save(const std::shared_ptr<rt::Window>& f) {
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().waitForClose(f));
  }
  std::string name(const std::string& code) {
    return scalar("SELECT NAZWA FROM RODZAJ_OPERACJI_FIN WHERE KOD_OPERACJI = '" + code + "'");
  }
};

TEST_P(FinancialOperationWindows, ListsTheCodesInOrderAndLocatesByCode) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kCode), (std::vector<std::string>{"INNE", "KOMP", "ODS", "PROW", "WPL", "WYP", "ZAL"}));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "PR"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?LIST")->selection, 4);
  fe().press(w, rt::key::Esc);
}

TEST_P(FinancialOperationWindows, ACodeIsUniqueInAnyLetters) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Zapis zostanie dodany");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?ROF:KOD_OPERACJI", "wpl"));
  ASSERT_TRUE(fe().type(f, "?ROF:NAZWA", "Opłata 'skarbowa'"));
  refused(f);
  ASSERT_TRUE(fe().type(f, "?ROF:KOD_OPERACJI", "O'P"));
  save(f);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(name("O''P"), "Opłata 'skarbowa'");
  EXPECT_GT(rowOf(w, kCode, "O'P"), 0);

  // A change to another operation's code is refused; to a free one it moves the row.
  f = change(w, "ZAL");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?ROF:KOD_OPERACJI", "OdS"));
  refused(f);
  ASSERT_TRUE(fe().type(f, "?ROF:KOD_OPERACJI", "ZALI"));
  save(f);
  EXPECT_EQ(name("ZALI"), "Zaliczka");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RODZAJ_OPERACJI_FIN WHERE KOD_OPERACJI = 'ZAL'"), "0");
  fe().press(w, rt::key::Esc);
}

TEST_P(FinancialOperationWindows, KeepingTheCodeSkipsTheUniquenessCheck) {
  // Two codes that differ only in letters, as older data may hold: a change that keeps the
  // code, or changes only its letters, is not held up by the other one.
  exec("INSERT INTO RODZAJ_OPERACJI_FIN (KOD_OPERACJI, NAZWA) VALUES ('wpl', 'Stara wpłata')");
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = change(w, "wpl");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?ROF:NAZWA", "Wpłata archiwalna"));
  save(f);
  EXPECT_EQ(name("wpl"), "Wpłata archiwalna");
  fe().press(w, rt::key::Esc);
}

SLOWNIK_ON_ALL_BACKENDS(FinancialOperationWindows);

}  // namespace
}  // namespace slownik::documents
