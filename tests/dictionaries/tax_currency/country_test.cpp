#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "dictionaries/tax_currency/country_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/sql/text.h"

namespace slownik::tax_currency {
namespace {

constexpr std::size_t kSymbol = 0;
constexpr std::size_t kName = 1;

struct Outcome {
  std::atomic<int> response{-1};
  std::string chosen;  // KRA:SYM_KRAJU left in the buffer, read after join()
};

class CountryTest : public test::WindowFixture {
 protected:
  std::shared_ptr<Outcome> startList(int request) {
    auto out = std::make_shared<Outcome>();
    start([out, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      KRAJ_BRW();
      out->response = data::GLOBALRESPONSE();
      out->chosen = data::field("KRA:SYM_KRAJU").text();
    });
    return out;
  }
  std::string nameOf(const std::string& symbol) {
    return scalar("SELECT COALESCE(MAX(NAZWA), '-') FROM KRAJE WHERE SYM_KRAJU = " + sql::quote(symbol));
  }
  // Opens the form from the list with `key` on the row of `symbol` ("" = no row needed).
  std::shared_ptr<rt::Window> openForm(const std::shared_ptr<rt::Window>& list, int key, const std::string& symbol,
                                       const std::string& title) {
    if (!symbol.empty()) {
      fe().type(list, "?LOKATOR", nameOf(symbol));
      int row = rowOf(list, kSymbol, symbol);
      EXPECT_GT(row, 0) << symbol;
      fe().clickRow(list, "?LIST", row);
    }
    fe().press(list, key);
    return window(title);
  }
};

TEST_P(CountryTest, PickerLocatesByNameChoosesWithEnterAndCancelsWithEsc) {
  auto out = startList(data::kSelectRecord);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  EXPECT_EQ(column(w, kName).front(), "Australia");  // by name
  fe().type(w, "?LOKATOR", "Pol");
  int selected = w->control("?LIST")->selection;
  ASSERT_GT(selected, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(selected - 1)][kSymbol], "PL");
  fe().press(w, rt::key::Enter);
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(out->chosen, "PL");

  out = startList(data::kSelectRecord);
  w = window("Kraje");
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
}

TEST_P(CountryTest, InsertChecksAndMessages) {
  struct Case {
    const char* symbol;
    const char* name;
    const char* message;  // nullptr: saved
  };
  const Case cases[] = {
      {"", "Nowy kraj", "Symbol kraju i jego nazwa muszą być wypełnione!"},
      {"XX", "  ", "Symbol kraju i jego nazwa muszą być wypełnione!"},
      {"XX", "polska", "Uwaga!|Kraj Polska o symbolu PL już istnieje w kartotece!"},
      {"pl", "Nowy kraj", "Uwaga!|Kraj Polska o symbolu PL już istnieje w kartotece!"},
      {"CI", "Côte d'Ivoire", nullptr},
      {"O'", "Ziemia O'Briena", nullptr},
  };
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = openForm(w, rt::key::Ins, "", "Dodawanie kraju");
    ASSERT_TRUE(form);
    fe().type(form, "?KRA:SYM_KRAJU", c.symbol);
    fe().type(form, "?KRA:NAZWA", c.name);
    if (c.message) fe().expectMessage(rt::button::Ok, c.message);
    fe().click(form, "?OK");
    if (c.message) {
      EXPECT_FALSE(form->isClosed());
      EXPECT_EQ(form->focus(), "?KRA:SYM_KRAJU");
      fe().press(form, rt::key::Esc);
    }
    ASSERT_TRUE(fe().waitForClose(form));
    if (!c.message) {
      EXPECT_EQ(nameOf(c.symbol), c.name);
    }
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE WHERE SYM_KRAJU = 'XX'"), "0");
  for (const auto& m : fe().messages()) EXPECT_EQ(m.title, "TRAMEL: Ostrzeżenie");
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
}

TEST_P(CountryTest, ChangeKeepsItsOwnRowAndMayChangeTheSymbol) {
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  {  // only the letter case of the name: the row found is the edited one
    auto form = openForm(w, rt::key::F2, "PL", "Edycja kraju");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->value("?KRA:NAZWA"), "Polska");
    fe().type(form, "?KRA:NAZWA", "POLSKA");
    fe().click(form, "?OK");
    ASSERT_TRUE(fe().waitForClose(form));
    EXPECT_EQ(nameOf("PL"), "POLSKA");
  }
  {  // the symbol of another country is refused
    auto form = openForm(w, rt::key::F2, "PL", "Edycja kraju");
    ASSERT_TRUE(form);
    fe().type(form, "?KRA:SYM_KRAJU", "DE");
    fe().expectMessage(rt::button::Ok, "Uwaga!|Kraj Niemcy o symbolu DE już istnieje w kartotece!");
    fe().click(form, "?OK");
    EXPECT_FALSE(form->isClosed());
    fe().press(form, rt::key::Esc);
    ASSERT_TRUE(fe().waitForClose(form));
  }
  {  // the name of another country is refused although the edited row matches as well
    auto form = openForm(w, rt::key::F2, "AT", "Edycja kraju");
    ASSERT_TRUE(form);
    fe().type(form, "?KRA:NAZWA", "niemcy");
    fe().expectMessage(rt::button::Ok, "Uwaga!|Kraj Niemcy o symbolu DE już istnieje w kartotece!");
    fe().click(form, "?OK");
    EXPECT_FALSE(form->isClosed());
    fe().press(form, rt::key::Esc);
    ASSERT_TRUE(fe().waitForClose(form));
    EXPECT_EQ(nameOf("AT"), "Austria");
  }
  {  // a new symbol is saved over the same row
    auto form = openForm(w, rt::key::F2, "PL", "Edycja kraju");
    ASSERT_TRUE(form);
    fe().type(form, "?KRA:SYM_KRAJU", "POL");
    fe().click(form, "?OK");
    ASSERT_TRUE(fe().waitForClose(form));
    EXPECT_EQ(nameOf("POL"), "POLSKA");
    EXPECT_EQ(nameOf("PL"), "-");
    EXPECT_GT(rowOf(w, kSymbol, "POL"), 0);
  }
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CountryTest, DeleteAsksAndRemovesTheRow) {
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  auto form = openForm(w, rt::key::Del, "IS", "Aktualizacja rekordu");
  ASSERT_TRUE(form);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  fe().click(form, "?OK");
  ASSERT_TRUE(fe().waitForClose(form));
  EXPECT_EQ(nameOf("IS"), "-");
  EXPECT_EQ(rowOf(w, kSymbol, "IS"), 0);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CountryTest, ViewOnlyListCallsNoForm) {
  auto out = startList(data::kViewRecord);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", 1);
  for (int key : {rt::key::Ins, rt::key::F2, rt::key::Del}) fe().press(w, key);
  EXPECT_EQ(rt::openWindows().size(), 1u);  // no form opened
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(CountryTest, HeadersSortAndShiftClickReturnsToTheNameOrder) {
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  fe().clickHeader(w, "?LIST", 1);
  EXPECT_EQ(w->control("?LIST")->columnHeaders[1], "Symbol kraju[+]");
  EXPECT_EQ(column(w, kSymbol).front(), "AT");
  fe().clickHeader(w, "?LIST", 1);
  EXPECT_EQ(w->control("?LIST")->columnHeaders[1], "Symbol kraju[-]");
  EXPECT_EQ(column(w, kSymbol).front(), "US");
  fe().clickHeader(w, "?LIST", 2, rt::key::CtrlMouseLeft);
  EXPECT_EQ(w->control("?LIST")->columnHeaders[2], "Nazwa kraju[+2]");
  fe().clickHeader(w, "?LIST", 1, rt::key::ShiftMouseLeft);
  EXPECT_EQ(column(w, kName).front(), "Australia");
  EXPECT_EQ(w->control("?LIST")->columnHeaders[1], "Symbol kraju");
  // The locator searches names again.
  fe().type(w, "?LOKATOR", "Nie");
  int selected = w->control("?LIST")->selection;
  ASSERT_GT(selected, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(selected - 1)][kSymbol], "DE");
  fe().press(w, rt::key::Esc);
  join();
}

SLOWNIK_ON_ALL_BACKENDS(CountryTest);

}  // namespace
}  // namespace slownik::tax_currency
