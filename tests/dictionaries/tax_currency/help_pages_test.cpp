// F1 in every window of the tax, geography and currency dictionaries opens the page
// that resources/help/README.md lists for it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dictionaries/tax_currency/country_list.h"
#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/province_list.h"
#include "dictionaries/tax_currency/rates_window.h"
#include "dictionaries/tax_currency/vat_rates.h"
#include "engine/window_fixture.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/keys.h"

namespace slownik {
namespace {

class HelpPagesTest : public test::WindowFixture {
 protected:
  // Presses F1 in `w` and gives the page the front-end was asked to show ("" = none).
  std::string pageOnF1(const std::shared_ptr<rt::Window>& w) {
    const std::size_t before = fe().helpPages().size();
    if (!fe().press(w, rt::key::F1) || fe().helpPages().size() != before + 1) return {};
    const std::string shown = fe().helpPages().back();
    return shown.substr(shown.rfind('#') + 1);
  }
};

TEST_P(HelpPagesTest, EveryWindowOpensItsOwnPage) {
  struct Form {
    const char* button;  // pressed in the list
    const char* title;
    const char* field;   // tells apart forms of one title
    const char* page;
  };
  struct Case {
    std::function<void()> entry;
    const char* title;
    const char* page;
    std::vector<Form> forms;
  };
  const std::int32_t day = rt::dayNumber(2024, 1, 3);
  const std::vector<Case> cases = {
      {[] { VAT_BRW(); }, "Stawki VAT", "kar_towpom_VAT.htm", {}},
      {[] { KRAJ_BRW(); }, "Kraje", "slownik_kraj_brw.htm",
       {{"?INSERT", "Dodawanie kraju", "?KRA:NAZWA", "slownik_kraj_upd.htm"}}},
      {[] { WOJEWODZTWO_BRW(); }, "Województwa", "slownik_wojewodztwo_brw.htm",
       {{"?INSERT", "Dodawanie województwa", "?WOJ:WOJEWODZTWO", "slownik_wojewodztwo_upd.htm"}}},
      {[] { WALUTY_BRW(); }, "Waluty", "kar_fin_walut.htm",
       {{"?INSERT", "Dodawanie waluty", "?WAL:SYM_WALUTY", "kar_fin_walut.htm"}}},
      {[day] { tax_currency::KursyWalutBrw(day, ""); }, "Kursy walut", "kar_fin_bank.htm",
       {{"?INSERT", "Dodawanie kursu", "?DATKUR:DATA_NOT", "slownik_daty_kursow_upd.htm"},
        {"?INSERT:2", "Dodawanie kursu", "?KUR:KURS_ZAKUPU", "slownik_kursy_walut_upd.htm"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    start(c.entry);
    auto list = window(c.title);
    ASSERT_TRUE(list);
    EXPECT_EQ(pageOnF1(list), c.page);
    for (const auto& f : c.forms) {
      SCOPED_TRACE(f.title);
      ASSERT_TRUE(fe().click(list, f.button));
      auto form = window(f.title);
      ASSERT_TRUE(form && form->has(f.field));
      EXPECT_EQ(pageOnF1(form), f.page);
      ASSERT_TRUE(fe().press(form, rt::key::Esc));
      ASSERT_TRUE(fe().waitForClose(form));
    }
    ASSERT_TRUE(fe().press(list, rt::key::Esc));
    join();
  }
}

SLOWNIK_ON_ALL_BACKENDS(HelpPagesTest);

}  // namespace
}  // namespace slownik
