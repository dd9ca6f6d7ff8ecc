#include <gtest/gtest.h>

#include "classes/country_procedures.h"
#include "framework/runtime/keys.h"

namespace slownik::test {
namespace {

class ToolbarTest : public CountryWindowTest {
 protected:
  void button(const std::shared_ptr<rt::Window>& w, fw::ToolbarAction action) {
    w->post(rt::Event{fw::kToolbarEvent, {}, static_cast<int>(action)});
    ASSERT_TRUE(fe().settle(w));
  }
};

TEST_P(ToolbarTest, frameButtonsMoveThroughTheList) {
  std::vector<std::string> all = column("SELECT SYM_KRAJU FROM KRAJE ORDER BY SYM_KRAJU");
  startList(data::kNoRequest);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  struct Case {
    fw::ToolbarAction action;
    std::string expected;
  };
  const Case cases[] = {
      {fw::ToolbarAction::Next, all[1]},          {fw::ToolbarAction::Next, all[2]},
      {fw::ToolbarAction::Previous, all[1]},      {fw::ToolbarAction::Last, all.back()},
      {fw::ToolbarAction::Next, all.back()},      {fw::ToolbarAction::Previous, all[all.size() - 2]},
      {fw::ToolbarAction::First, all.front()},    {fw::ToolbarAction::Previous, all.front()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    button(w, c.action);
    EXPECT_EQ(selectedSymbol(w), c.expected);
  }
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

TEST_P(ToolbarTest, recordNavigationSavesAndOpensTheNextRow) {
  std::vector<std::string> all = column("SELECT SYM_KRAJU FROM KRAJE ORDER BY SYM_KRAJU");
  auto out = startList(data::kNoRequest);
  auto list = fe().waitForWindow("Kraje");
  ASSERT_TRUE(list);
  button(list, fw::ToolbarAction::Change);
  auto form = fe().waitForWindow("Edycja kraju");
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Pierwszy kraj"));
  button(form, fw::ToolbarAction::Next);
  ASSERT_TRUE(fe().waitForClose(form));
  // The change was saved, and the form opened again on the next row.
  auto second = fe().waitForWindow("Edycja kraju");
  ASSERT_TRUE(second);
  ASSERT_NE(second->id(), form->id());
  EXPECT_EQ(second->value("?KRA:SYM_KRAJU"), all[1]);
  EXPECT_EQ(scalar("SELECT NAZWA FROM KRAJE WHERE SYM_KRAJU = '" + all[0] + "'"), "Pierwszy kraj");
  // A failed save check holds the form and cancels the move.
  ASSERT_TRUE(fe().type(second, "?KRA:SYM_KRAJU", ""));
  fe().expectMessage(rt::button::Ok, "Symbol kraju musi być wypełniony!");
  button(second, fw::ToolbarAction::Next);
  EXPECT_FALSE(second->isClosed());
  ASSERT_TRUE(fe().press(second, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(second));
  ASSERT_TRUE(fe().settle(list));
  EXPECT_EQ(rt::openWindows().size(), 1u);  // the form did not open again
  EXPECT_EQ(selectedSymbol(list), all[1]);
  ASSERT_TRUE(fe().press(list, rt::key::Esc));
  join();
  EXPECT_EQ(out->formCalls, 2);
}

TEST_P(ToolbarTest, viewOnlyListRefusesEditButtons) {
  auto out = startList(data::kViewRecord);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  for (auto a : {fw::ToolbarAction::Insert, fw::ToolbarAction::Change, fw::ToolbarAction::Delete, fw::ToolbarAction::Select})
    button(w, a);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->formCalls, 0);
}

SLOWNIK_ON_ALL_BACKENDS(ToolbarTest);

}  // namespace
}  // namespace slownik::test
