#include "dictionaries/tax_currency/vat_rates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionaries/tax_currency/load_vat.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/vat_queue.h"
#include "framework/runtime/keys.h"

namespace slownik::tax_currency {
namespace {

// List-buffer fields of a row: name, its icon number, code, rate.
constexpr std::size_t kName = 0;
constexpr std::size_t kIcon = 1;
constexpr std::size_t kCode = 2;

class VatRatesTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // A sentinel the list must leave alone unless a rate was switched.
    data::VATQ().replace({{"X", rt::Decimal()}});
  }
  void TearDown() override {
    data::VATQ().clear();
    WindowFixture::TearDown();
  }
  void startList() {
    start([] {
      data::GLOBALREQUEST() = data::kNoRequest;
      VAT_BRW();
    });
  }
  std::string iconOf(const std::shared_ptr<rt::Window>& w, const std::string& code) {
    int row = rowOf(w, kCode, code);
    return row ? rows(w)[static_cast<std::size_t>(row - 1)][kIcon] : "?";
  }
  static std::vector<std::string> queueCodes() {
    std::vector<std::string> codes;
    for (const auto& e : data::VATQ().entries()) codes.push_back(e.kod);
    return codes;
  }
};

TEST_P(VatRatesTest, WithoutTheRightNoWindowOpensAndNothingIsStored) {
  asUser(sql::demo::kUserId);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do stawek vat!");
  startList();
  join();
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "TRAMEL: Ostrzeżenie");
  EXPECT_EQ(settings("VAT_Brw", "X"), "");
  EXPECT_EQ(queueCodes(), std::vector<std::string>{"X"});
}

TEST_P(VatRatesTest, ActiveRatesCarryTheIconAndClosingUntouchedLeavesTheSharedList) {
  exec("UPDATE STAWKA_VAT SET AKTYWNY = 2 WHERE KOD_VAT = '5'");
  startList();
  auto w = window("Stawki VAT");
  ASSERT_TRUE(w);
  struct Case {
    const char* code;
    const char* icon;
  };
  for (const Case& c : {Case{"23", "1"}, Case{"zw", "1"}, Case{"22", "0"}, Case{"5", "0"}})
    EXPECT_EQ(iconOf(w, c.code), c.icon) << c.code;
  EXPECT_TRUE(w->control("?INSERT") == std::nullopt || w->control("?INSERT")->hidden);
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(queueCodes(), std::vector<std::string>{"X"});
}

TEST_P(VatRatesTest, SwitchingARateWritesItAndRebuildsTheSharedListAtClosing) {
  exec("UPDATE STAWKA_VAT SET AKTYWNY = 2 WHERE KOD_VAT = '22'");
  startList();
  auto w = window("Stawki VAT");
  ASSERT_TRUE(w);
  int row = rowOf(w, kCode, "22");
  ASSERT_GT(row, 0);
  fe().clickRow(w, "?LIST", row);
  fe().press(w, rt::key::F4);
  EXPECT_EQ(scalar("SELECT AKTYWNY FROM STAWKA_VAT WHERE KOD_VAT = '22'"), "1");
  EXPECT_EQ(iconOf(w, "22"), "1");
  EXPECT_EQ(queueCodes(), std::vector<std::string>{"X"});  // only at closing
  fe().click(w, "?CLOSE");
  join();
  // Highest rate first, codes in order within a rate.
  EXPECT_EQ(queueCodes(), (std::vector<std::string>{"23", "22", "8", "5", "0", "np", "zw"}));

  startList();
  w = window("Stawki VAT");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", rowOf(w, kCode, "22"));
  fe().click(w, "?AKTYWNA");
  EXPECT_EQ(scalar("SELECT AKTYWNY FROM STAWKA_VAT WHERE KOD_VAT = '22'"), "0");
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(queueCodes(), (std::vector<std::string>{"23", "8", "5", "0", "np", "zw"}));
}

// After a failed rebuild the shared list is not left as it is for good: opening the
// rates reads it again.
TEST_P(VatRatesTest, OpeningAfterAFailedRebuildReadsTheSharedListAgain) {
  exec("ALTER TABLE STAWKA_VAT RENAME TO STAWKA_VAT_NIEDOSTEPNA");
  fe().expectMessage(rt::button::Ok, "Nie można wczytać stawek VAT");
  LOADVAT();
  exec("ALTER TABLE STAWKA_VAT_NIEDOSTEPNA RENAME TO STAWKA_VAT");
  EXPECT_EQ(queueCodes(), std::vector<std::string>{"X"});
  startList();
  auto w = window("Stawki VAT");
  ASSERT_TRUE(w);
  EXPECT_EQ(queueCodes(), (std::vector<std::string>{"23", "8", "5", "0", "np", "zw"}));
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(fe().messages().size(), 1u);
}

TEST_P(VatRatesTest, SwitchNeedsItsOwnRight) {
  // The sellers may see the rates but not switch them.
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (" +
       std::to_string(sql::demo::kUserGroupId) + ", " + std::to_string(sql::demo::kCompanyId) + ", 'StawkiVAT', 0, 1)");
  asUser(sql::demo::kUserId);
  startList();
  auto w = window("Stawki VAT");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", rowOf(w, kCode, "23"));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do funkcji Aktywność stawki vat!");
  fe().press(w, rt::key::F4);
  EXPECT_EQ(scalar("SELECT AKTYWNY FROM STAWKA_VAT WHERE KOD_VAT = '23'"), "1");
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(queueCodes(), std::vector<std::string>{"X"});
}

TEST_P(VatRatesTest, StepLocatorAndHeaderSorting) {
  startList();
  auto w = window("Stawki VAT");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", 1);
  auto selectedCode = [&] {
    int selected = w->control("?LIST")->selection;
    return selected > 0 ? rows(w)[static_cast<std::size_t>(selected - 1)][kCode] : std::string("-");
  };
  // A typed character jumps to the next code starting with it, again and again.
  for (const auto& [key, code] : std::vector<std::pair<int, std::string>>{
           {rt::key::letter('5'), "5"}, {rt::key::letter('2'), "22"}, {rt::key::letter('2'), "23"}}) {
    fe().press(w, key);
    EXPECT_EQ(selectedCode(), code);
  }

  fe().clickHeader(w, "?LIST", 1);  // by name
  EXPECT_EQ(w->control("?LIST")->columnHeaders[1], "A   Nazwa[+]");
  std::vector<std::string> names = column(w, kName);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "0%");
  fe().clickHeader(w, "?LIST", 1);
  EXPECT_EQ(w->control("?LIST")->columnHeaders[1], "A   Nazwa[-]");
  EXPECT_EQ(column(w, kName).front(), "zwolniona");
  fe().clickHeader(w, "?LIST", 1, rt::key::ShiftMouseLeft);
  EXPECT_EQ(column(w, kCode).front(), "0");  // back to the code order
  fe().press(w, rt::key::Esc);
  join();
}

SLOWNIK_ON_ALL_BACKENDS(VatRatesTest);

}  // namespace
}  // namespace slownik::tax_currency
