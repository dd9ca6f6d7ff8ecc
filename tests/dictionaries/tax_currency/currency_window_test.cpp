#include <gtest/gtest.h>

#include <atomic>

#include "dictionaries/tax_currency/currency_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/keys.h"

namespace slownik {
namespace {

using rt::button::Ok;

class CurrencyWindow : public test::WindowFixture {
 protected:
  struct Outcome {
    std::atomic<int> response{-1};
    std::atomic<int> value{-9};
    std::string chosen;
  };
  std::shared_ptr<Outcome> startList(int request) {
    auto out = std::make_shared<Outcome>();
    start([out, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      out->value = WALUTY_BRW();
      out->response = data::GLOBALRESPONSE();
      out->chosen = data::field("WAL:SYM_WALUTY").text();
    });
    return out;
  }
  // The list's fields: the base mark and its icon, symbol, name, multiplier, country,
  // then NBP date and rate, ECB date and rate.
  int rowOfSymbol(const std::shared_ptr<rt::Window>& w, const std::string& symbol) { return rowOf(w, 2, symbol); }
  std::shared_ptr<rt::Window> openedList(int request = data::kNoRequest) {
    outcome_ = startList(request);
    return window("Waluty");
  }
  std::shared_ptr<Outcome> outcome_;
};

TEST_P(CurrencyWindow, RightsGuardTheWindowAndEachAction) {
  asUser(4242);  // no group, no rights
  fe().expectMessage(Ok, "Brak uprawnień na dostęp do walut!");
  auto out = startList(data::kNoRequest);
  join();
  EXPECT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(out->value, 1);

  asUser(sql::demo::kUserId);  // may look at the list, nothing more
  auto w = openedList();
  ASSERT_TRUE(w);
  int eur = rowOfSymbol(w, "EUR");
  ASSERT_GT(eur, 0);
  struct Case {
    int key;
    const char* message;
  };
  for (const Case& c : {Case{rt::key::Ins, "Brak uprawnień na dodawanie walut!"},
                        Case{rt::key::F2, "Brak uprawnień na oglądanie walut!"},
                        Case{rt::key::Del, "Brak uprawnień na usuwanie walut!"}}) {
    ASSERT_TRUE(fe().clickRow(w, "?LIST", eur));
    fe().expectMessage(Ok, c.message);
    ASSERT_TRUE(fe().press(w, c.key));
  }
  fe().expectMessage(Ok, "Brak uprawnień na dostęp do kursów bazowych!");
  ASSERT_TRUE(fe().click(w, "?KURSYBAZOWE"));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY"), "12");
  EXPECT_FALSE(w->control("?WYBIERZNBP")->enabled);
  EXPECT_FALSE(w->control("?WYBIERZECB")->enabled);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(outcome_->value, 1);
  EXPECT_EQ(outcome_->response, data::kRequestCompleted);
}

TEST_P(CurrencyWindow, RateColumnsShowTheRatesInForceOnTheChosenDay) {
  auto w = openedList();
  ASSERT_TRUE(w);
  // The demo tables are of 2, 3 and 4 January 2024; the 6th falls back to the 4th.
  ASSERT_TRUE(fe().type(w, "?DATA_KURSU", "06.01.2024"));
  int eur = rowOfSymbol(w, "EUR");
  ASSERT_GT(eur, 0);
  auto row = rows(w)[static_cast<std::size_t>(eur - 1)];
  ASSERT_GE(row.size(), 10u);
  EXPECT_EQ(row[6], "04.01.2024");
  EXPECT_EQ(row[7], "4,333800");  // the demo's rate of that day, stored to 4 places
  EXPECT_EQ(row[8], "");          // no ECB quotation: no date
  EXPECT_EQ(row[9], "0,000000");
  auto pln = rows(w)[static_cast<std::size_t>(rowOfSymbol(w, "PLN") - 1)];
  EXPECT_EQ(pln[0], "");          // the mark column shows its icon, never the number behind it
  EXPECT_EQ(pln[1], "1");         // the base currency's icon
  EXPECT_EQ(pln[6], "06.01.2024");
  EXPECT_EQ(pln[7], "1,000000");  // the base currency is worth 1 on any day

  // Before the first table there is nothing in force.
  ASSERT_TRUE(fe().type(w, "?DATA_KURSU", "01.01.2024"));
  row = rows(w)[static_cast<std::size_t>(rowOfSymbol(w, "EUR") - 1)];
  EXPECT_EQ(row[6], "");
  EXPECT_EQ(row[7], "0,000000");
}

TEST_P(CurrencyWindow, InsertChecksTheSymbolAndTheMultiplier) {
  auto w = openedList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto form = window("Dodawanie waluty");
  ASSERT_TRUE(form);
  EXPECT_EQ(form->value("?WAL:MNOZNIK_WALUTY"), "1");

  fe().expectMessage(Ok, "Symbol waluty musi być wypełniony!");
  ASSERT_TRUE(fe().click(form, "?OK"));
  EXPECT_EQ(form->focus(), "?WAL:SYM_WALUTY");

  ASSERT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "EUR"));
  fe().expectMessage(Ok, "Uwaga!|Waluta EUR już istnieje w kartotece! Proszę zmienić symbol.");
  ASSERT_TRUE(fe().click(form, "?OK"));
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "eur"));  // letter case makes no other currency
  fe().expectMessage(Ok, "Uwaga!|Waluta eur już istnieje w kartotece! Proszę zmienić symbol.");
  ASSERT_TRUE(fe().click(form, "?OK"));
  EXPECT_FALSE(form->isClosed());

  fe().expectMessage(Ok, "Mnożnik waluty musi być większy niż 0!");
  ASSERT_TRUE(fe().type(form, "?WAL:MNOZNIK_WALUTY", "0"));
  EXPECT_EQ(form->focus(), "?WAL:MNOZNIK_WALUTY");

  // An apostrophe is a character like any other.
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "X'Y"));
  ASSERT_TRUE(fe().type(form, "?WAL:NAZWA", "Waluta z apostrofem"));
  ASSERT_TRUE(fe().type(form, "?WAL:MNOZNIK_WALUTY", "100"));
  ASSERT_TRUE(fe().click(form, "?OK"));
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(scalar("SELECT MNOZNIK_WALUTY FROM WALUTY WHERE SYM_WALUTY = 'X''Y'"), "100");
  EXPECT_EQ(scalar("SELECT NUMER FROM WALUTY WHERE SYM_WALUTY = 'X''Y'"), "0");
  fe().settle(w);
  EXPECT_EQ(w->focus(), "?LIST");
  EXPECT_GT(rowOfSymbol(w, "X'Y"), 0);
}

TEST_P(CurrencyWindow, ChangeKeepsItsOwnSymbolAndTheBaseCurrencyIsRefused) {
  auto w = openedList();
  ASSERT_TRUE(w);
  int pln = rowOfSymbol(w, "PLN");
  ASSERT_GT(pln, 0);
  for (int key : {rt::key::F2, rt::key::Del}) {
    ASSERT_TRUE(fe().clickRow(w, "?LIST", pln));
    fe().expectMessage(Ok, "Nie można modyfikować ani usuwać waluty bazowej!");
    ASSERT_TRUE(fe().press(w, key));
  }

  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOfSymbol(w, "USD")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto form = window("Edycja waluty");
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?WAL:NAZWA", "Dolar USA"));
  ASSERT_TRUE(fe().click(form, "?OK"));  // the symbol is its own: no duplicate
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(scalar("SELECT NAZWA FROM WALUTY WHERE SYM_WALUTY = 'USD'"), "Dolar USA");

  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOfSymbol(w, "USD")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  form = window("Edycja waluty");
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "GBP"));
  fe().expectMessage(Ok, "Waluta GBP już istnieje");
  ASSERT_TRUE(fe().click(form, "?OK"));
  ASSERT_TRUE(fe().click(form, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE SYM_WALUTY = 'USD'"), "1");

  // Only the letter case of its own symbol: no duplicate of itself.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOfSymbol(w, "USD")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  form = window("Edycja waluty");
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "Usd"));
  ASSERT_TRUE(fe().click(form, "?OK"));
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE UPPER(SYM_WALUTY) = 'USD'"), "1");
}

TEST_P(CurrencyWindow, BaseCurrencyMovesThroughThePopupMenu) {
  auto w = openedList();
  ASSERT_TRUE(w);
  fe().expectPopup("Ustaw walutę bazową");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", rowOfSymbol(w, "EUR")));
  EXPECT_EQ(scalar("SELECT SYM_WALUTY FROM WALUTY WHERE NUMER = 1"), "EUR");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE NUMER = 1"), "1");
  EXPECT_EQ(data::glo().WAL_BAZOWA.get(), "EUR");
  auto popups = fe().popupsShown();
  ASSERT_FALSE(popups.empty());
  bool offersDownloads = false;
  for (const auto& item : popups.back()) offersDownloads = offersDownloads || item.find("Pobierz z ECB") != std::string::npos;
  EXPECT_TRUE(offersDownloads);
}

TEST_P(CurrencyWindow, PickerAnswersTheChosenCurrencyAndHowItWasChosen) {
  auto w = openedList(data::kSelectRecord);
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->control("?WYBIERZNBP")->enabled);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOfSymbol(w, "CHF")));
  ASSERT_TRUE(fe().click(w, "?WYBIERZECB"));
  join();
  EXPECT_EQ(outcome_->value, -1);
  EXPECT_EQ(outcome_->response, data::kRequestCompleted);
  EXPECT_EQ(outcome_->chosen, "CHF");

  w = openedList(data::kSelectRecord);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(outcome_->response, data::kRequestCancelled);
  EXPECT_EQ(outcome_->value, 1);
}

TEST_P(CurrencyWindow, HeaderClickSortsByName) {
  auto w = openedList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 3, rt::key::MouseLeft));
  auto names = column(w, 3);
  ASSERT_FALSE(names.empty());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(names.front(), "Dolar amerykański");
}

TEST_P(CurrencyWindow, CountryIsLookedUpOrPicked) {
  auto w = openedList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOfSymbol(w, "USD")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto form = window("Edycja waluty");
  ASSERT_TRUE(form);

  // A known country is taken as typed; an unknown one opens the picker, and cancelling
  // it leaves the focus in the field.
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_KRAJU", "PL"));
  EXPECT_TRUE(fe().settle(form));
  ASSERT_TRUE(fe().type(form, "?WAL:SYM_KRAJU", "QQ"));
  auto picker = window("Kraje");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().press(picker, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(picker));
  fe().settle(form);
  EXPECT_EQ(form->focus(), "?WAL:SYM_KRAJU");

  // The lookup button picks a country into the field.
  ASSERT_TRUE(fe().click(form, "?CALLLOOKUP"));
  picker = window("Kraje");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().clickRow(picker, "?LIST", 1));
  std::string chosen = picker->control("?LIST")->rows.at(0).at(0);
  ASSERT_TRUE(fe().click(picker, "?SELECT"));
  ASSERT_TRUE(fe().waitForClose(picker));
  fe().settle(form);
  EXPECT_EQ(form->value("?WAL:SYM_KRAJU"), chosen);
  ASSERT_TRUE(fe().click(form, "?OK"));
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(scalar("SELECT SYM_KRAJU FROM WALUTY WHERE SYM_WALUTY = 'USD'"), chosen);
}

SLOWNIK_ON_ALL_BACKENDS(CurrencyWindow);

}  // namespace
}  // namespace slownik
