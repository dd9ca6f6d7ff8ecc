#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/keyboard_navigator.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "runtime/headless_test.h"

namespace slownik::engine {
namespace {

namespace key = rt::key;
using testing::UnorderedElementsAreArray;

// A form whose procedure gives every event to the navigator first, as the record form
// does. ?KOD reserves Enter for itself before the navigator starts.
void formProcedure() {
  auto window = rt::Window::open("slownik$eng001", "P1$FORMWINDOW");
  if (!window) return;
  window->alertOn("?KOD", key::Enter);
  KeyboardNavigator navigator;
  navigator.start(window);
  for (;;) {
    rt::Event e = window->nextEvent();
    if (window->isClosed() || e.code == rt::event::CloseWindow) break;
    if (navigator.takeEvent(e)) continue;
    if (e.code == rt::event::Accepted && e.control == "?OK") window->setText("?INFO", "zapisano");
    if (e.code == rt::event::AlertKey) window->setText("?INFO", "klawisz " + std::to_string(e.keyCode));
    if (e.code == rt::event::Accepted && e.control == "?CANCEL") break;
  }
  navigator.stop();
  window->close();
}

class KeyboardNavigatorTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    thread_ = rt::startProcedure(formProcedure);
    form_ = fe().waitForWindow("Formularz próbny");
    ASSERT_NE(form_, nullptr);
  }
  void TearDown() override {
    fe().closeAll();
    thread_.join();
    HeadlessTest::TearDown();
  }
  void focus(const std::string& control) {
    form_->select(control);
    ASSERT_TRUE(fe().settle(form_));
    ASSERT_EQ(form_->focus(), control);
  }

  rt::ProcedureThread thread_;
  std::shared_ptr<rt::Window> form_;
};

TEST_F(KeyboardNavigatorTest, ReservesTheKeysOfEachControlKind) {
  struct Row {
    const char* control;
    std::vector<int> keys;
  };
  const Row rows[] = {
      {"?NAZWA", {key::Enter, key::Up, key::Down}},
      {"?KOD", {key::Enter, key::Up, key::Down}},  // Enter was the form's already
      {"?OK", {key::Up, key::Down, key::Left, key::Right}},
      {"?AKTYWNY", {key::Enter, key::Up, key::Down, key::Left, key::Right}},
      {"?POZYCJE", {key::Enter, key::Left, key::Right}},
      {"?JEDNOSTKA", {key::Enter}},
      {"?RODZAJ", {key::Enter}},
      {"?PROCENT", {key::Enter}},
      {"?UWAGI", {key::Enter}},
      {"?NAZWA:PROMPT", {}},
      {"?INFO", {}},
  };
  for (const auto& row : rows) {
    EXPECT_THAT(form_->control(row.control)->alerts, UnorderedElementsAreArray(row.keys)) << row.control;
  }
}

TEST_F(KeyboardNavigatorTest, KeysMoveAlongTheTabOrder) {
  struct Row {
    const char* from;
    int key;
    const char* to;
  };
  // Tab order: ?NAZWA ?KOD ?ILOSC ?DATA ?AKTYWNY ?RODZAJ ?JEDNOSTKA ?PROCENT ?UWAGI
  // ?POZYCJE ?OK ?CANCEL.
  const Row rows[] = {
      {"?NAZWA", key::Enter, "?KOD"},  // not the default button ?OK
      {"?ILOSC", key::Down, "?DATA"},
      {"?ILOSC", key::Up, "?KOD"},
      {"?NAZWA", key::Up, "?CANCEL"},  // the tab order wraps round
      {"?AKTYWNY", key::Enter, "?RODZAJ"},
      {"?AKTYWNY", key::Right, "?RODZAJ"},
      {"?AKTYWNY", key::Down, "?RODZAJ"},
      {"?AKTYWNY", key::Left, "?DATA"},
      {"?AKTYWNY", key::Up, "?DATA"},
      {"?POZYCJE", key::Enter, "?OK"},
      {"?POZYCJE", key::Right, "?OK"},
      {"?POZYCJE", key::Left, "?UWAGI"},
      {"?OK", key::Down, "?CANCEL"},
      {"?OK", key::Right, "?CANCEL"},
      {"?OK", key::Up, "?POZYCJE"},
      {"?OK", key::Left, "?POZYCJE"},
      {"?JEDNOSTKA", key::Enter, "?PROCENT"},
      {"?RODZAJ", key::Enter, "?JEDNOSTKA"},
      {"?PROCENT", key::Enter, "?UWAGI"},
      {"?NAZWA", key::Left, "?NAZWA"},  // not reserved for an entry: nothing moves
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.from) + " " + rt::keyName(row.key));
    focus(row.from);
    ASSERT_TRUE(fe().press(form_, row.key));
    EXPECT_EQ(form_->focus(), row.to);
  }
  EXPECT_EQ(form_->text("?INFO"), "Dane pozycji");  // no key reached the form itself
}

TEST_F(KeyboardNavigatorTest, EnterInMultiLineTextStartsANewLine) {
  ASSERT_TRUE(fe().type(form_, "?UWAGI", "pierwsza"));
  ASSERT_TRUE(fe().press(form_, key::Enter));
  EXPECT_EQ(form_->focus(), "?UWAGI");
  EXPECT_EQ(form_->value("?UWAGI"), "pierwsza\n");
}

TEST_F(KeyboardNavigatorTest, AKeyTheFormReservedStaysTheForms) {
  focus("?KOD");
  ASSERT_TRUE(fe().press(form_, key::Enter));
  EXPECT_EQ(form_->focus(), "?KOD");
  EXPECT_EQ(form_->text("?INFO"), "klawisz 13");
  ASSERT_TRUE(fe().press(form_, key::Down));  // the navigator's key on the same control
  EXPECT_EQ(form_->focus(), "?ILOSC");
}

TEST(KeyboardNavigatorStop, GivesTheReservedKeysBack) {
  rt::setResourceRoot(test::sourceDir() + "/tests/fixtures");
  auto window = rt::Window::open("slownik$eng001", "P1$FORMWINDOW");
  ASSERT_NE(window, nullptr);
  window->alertOn("?NAZWA", key::F3);
  {
    KeyboardNavigator navigator;
    navigator.start(window);
    EXPECT_EQ(window->control("?NAZWA")->alerts.size(), 4u);
  }  // the destructor stops it
  EXPECT_EQ(window->control("?NAZWA")->alerts, std::vector<int>{key::F3});
  EXPECT_TRUE(window->control("?OK")->alerts.empty());
  window->close();
}

}  // namespace
}  // namespace slownik::engine
