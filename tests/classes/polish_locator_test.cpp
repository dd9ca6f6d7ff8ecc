#include <gtest/gtest.h>

#include <thread>

#include "classes/country_procedures.h"
#include "framework/classes/locators.h"
#include "framework/runtime/keys.h"

namespace slownik::test {
namespace {

using rt::key::letter;

int polish(const char* character) { return *rt::keyOfCharacter(character); }

class PolishLocatorTest : public CountryWindowTest {
 protected:
  std::string locatorText(const std::shared_ptr<rt::Window>& w) { return w->value("?LOKATOR"); }
  std::string selectedName(const std::shared_ptr<rt::Window>& w) {
    auto c = w->control("?LIST");
    if (!c || c->selection < 1) return {};
    return c->rows[static_cast<std::size_t>(c->selection - 1)][1];
  }
};

// Polish letters typed in a list locate as any other letter does, in either locator.
TEST_P(PolishLocatorTest, PolishLettersTypedInTheListLocate) {
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('X1', 'Śląsk Cieszyński'), ('X2', 'Żuławy')");
  {
    SCOPED_TRACE("incremental");
    startList(data::kNoRequest, LocatorKind::Incremental);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
    ASSERT_TRUE(fe().press(w, polish("ł")));
    EXPECT_EQ(selectedName(w), "Łotwa");
    EXPECT_EQ(locatorText(w), "Ł");
    ASSERT_TRUE(fe().press(w, polish("Ó")));  // "ŁÓ": nothing starts so, the nearest after it
    EXPECT_EQ(locatorText(w), "ŁÓ");
    // Backspace takes the whole letter back, not a byte of it.
    ASSERT_TRUE(fe().press(w, rt::key::Backspace));
    EXPECT_EQ(locatorText(w), "Ł");
    ASSERT_TRUE(fe().press(w, letter('O')));
    EXPECT_EQ(selectedName(w), "Łotwa");
    ASSERT_TRUE(fe().close(w));
    join();
  }
  {
    SCOPED_TRACE("step");
    startList(data::kNoRequest, LocatorKind::Step);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
    // The step locator searches the symbol; none starts with Ż, so it goes to the nearest.
    ASSERT_TRUE(fe().press(w, polish("ż")));
    EXPECT_FALSE(selectedSymbol(w).empty());
    ASSERT_TRUE(fe().close(w));
    join();
  }
}

// The text of the search entry is not extended by typing in the list later ("PolWŁ"),
// and it goes when the list is read again.
TEST_P(PolishLocatorTest, TypingInTheListStartsAfreshAfterTheEntryOrAPause) {
  startList(data::kNoRequest, LocatorKind::Incremental);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "Pol"));
  EXPECT_EQ(selectedName(w), "Polska");
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, letter('W')));
  EXPECT_EQ(locatorText(w), "W");
  ASSERT_TRUE(fe().press(w, polish("ł")));
  EXPECT_EQ(locatorText(w), "WŁ");
  EXPECT_EQ(selectedName(w), "Włochy");
  // After a pause the next key begins a new search.
  std::this_thread::sleep_for(fw::IncrementalLocator::kTypingPause + std::chrono::milliseconds(100));
  ASSERT_TRUE(fe().press(w, letter('N')));
  EXPECT_EQ(locatorText(w), "N");
  EXPECT_EQ(selectedName(w), "Niemcy");
  // Reading the list again (F5) clears the text.
  w->alert(rt::key::F5);
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(locatorText(w), "");
  ASSERT_TRUE(fe().close(w));
  join();
}

SLOWNIK_ON_ALL_BACKENDS(PolishLocatorTest);

}  // namespace
}  // namespace slownik::test
