#include <gtest/gtest.h>

#include "classes/country_procedures.h"
#include "framework/runtime/keys.h"

namespace slownik::test {
namespace {

class BrowseThreadsTest : public CountryWindowTest {};

// Two pickers of the same table on two threads: each scrolls, filters and chooses on
// its own; neither sees the other's list buffer, view or record buffer.
TEST_P(BrowseThreadsTest, twoListsOfOneTableShareNothing) {
  std::vector<std::string> all = column("SELECT SYM_KRAJU FROM KRAJE ORDER BY SYM_KRAJU");
  auto first = startList(data::kSelectRecord, LocatorKind::Step);
  auto a = fe().waitForWindow("Kraje");
  ASSERT_TRUE(a);
  auto second = startList(data::kSelectRecord, LocatorKind::Step);
  std::shared_ptr<rt::Window> b;
  for (int i = 0; i < 100 && !b; ++i) {
    for (const auto& w : rt::openWindows()) {
      if (w->title() == "Kraje" && w->id() != a->id()) b = w;
    }
    if (!b) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(b);
  ASSERT_TRUE(fe().settle(b));
  ASSERT_TRUE(fe().clickRow(a, "?LIST", 1));
  ASSERT_TRUE(fe().clickRow(b, "?LIST", 1));
  ASSERT_TRUE(fe().press(a, rt::key::End));
  ASSERT_TRUE(fe().press(b, rt::key::letter('P')));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(fe().press(a, rt::key::Up));
    ASSERT_TRUE(fe().press(b, rt::key::Down));
  }
  std::string chosenA = selectedSymbol(a);
  std::string chosenB = selectedSymbol(b);
  EXPECT_EQ(chosenA, all[all.size() - 4]);
  EXPECT_NE(chosenA, chosenB);
  ASSERT_TRUE(fe().press(b, rt::key::Enter));
  ASSERT_TRUE(fe().press(a, rt::key::Enter));
  join();
  EXPECT_EQ(first->chosenSymbol, chosenA);
  EXPECT_EQ(second->chosenSymbol, chosenB);
  EXPECT_EQ(first->response, data::kRequestCompleted);
  EXPECT_EQ(second->response, data::kRequestCompleted);
}

SLOWNIK_ON_ALL_BACKENDS(BrowseThreadsTest);

}  // namespace
}  // namespace slownik::test
