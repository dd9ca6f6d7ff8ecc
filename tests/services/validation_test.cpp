#include <gtest/gtest.h>

#include "framework/runtime/window.h"
#include "framework/services/validation.h"
#include "runtime/headless_test.h"

namespace slownik::svc {
namespace {

class ValidationTest : public test::HeadlessTest {};

TEST_F(ValidationTest, WarnsAndSelectsTheField) {
  rt::WindowDef def;
  def.caption = "Aktualizacja rekordu";
  def.controls = {{.name = "?TYPDMAG:NAZWA"}, {.name = "?TYPDMAG:SYGNATURA"}};
  auto window = rt::Window::open(def);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(window->focus(), "?TYPDMAG:SYGNATURA");

  const char* text = "Sygnatura nie może być pusta. Proszę wprowadzić sygnaturę!";
  fe().expectMessage(rt::button::Ok, text);
  EXPECT_EQ(WALIDACJA(text, "?TYPDMAG:SYGNATURA"), 1);
  EXPECT_EQ(window->focus(), "?TYPDMAG:SYGNATURA");

  auto shown = fe().messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, text);
  EXPECT_EQ(shown[0].icon, rt::MessageIcon::Warning);
  window->close();
}

TEST_F(ValidationTest, WithoutAFieldOrAWindowOnlyWarns) {
  fe().expectMessage(rt::button::Ok, "Nazwa nie może być pusta");
  EXPECT_EQ(WALIDACJA("Nazwa nie może być pusta. Proszę wprowadzić nazwę!"), 1);
  fe().expectMessage(rt::button::Ok, "Sygnatura musi być unikalna!");
  EXPECT_EQ(WALIDACJA("Sygnatura musi być unikalna!", "?NIE_MA"), 1);  // no window: nothing to select
  EXPECT_EQ(fe().messages().size(), 2u);
}

}  // namespace
}  // namespace slownik::svc
