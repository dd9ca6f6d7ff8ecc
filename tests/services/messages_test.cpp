#include <gtest/gtest.h>

#include "framework/services/messages.h"
#include "runtime/headless_test.h"

namespace slownik {
namespace {

using rt::MessageIcon;

class Messages : public test::HeadlessTest {};

TEST_F(Messages, BoxesCarryTheirTitleIconButtonsAndAnswer) {
  fe().expectMessage(rt::button::Ok, "Brak uprawnień");
  svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do walut!");
  fe().expectMessage(rt::button::Ok);
  svc::MSG_INFORMACJA("Pobrano kursy walut z banku NBP.");
  fe().expectMessage(rt::button::Yes);
  EXPECT_EQ(svc::MSG_PYTANIE("Chcesz je zobaczyć?"), svc::kYes);
  fe().expectMessage(rt::button::No);
  EXPECT_EQ(svc::MSG_PYTANIE("Czy przeliczyć ceny?", "Przeliczanie"), svc::kNo);
  fe().expectMessage(rt::button::Ok);
  svc::warningBox("Symbol waluty musi być wypełniony!");
  fe().expectMessage(rt::button::No);
  EXPECT_EQ(svc::questionBox("Usunąć?", rt::button::No), rt::button::No);

  auto shown = fe().messages();
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
  EXPECT_EQ(shown[1].icon, MessageIcon::Information);
  EXPECT_EQ(shown[2].buttons, rt::button::Yes | rt::button::No);
  EXPECT_EQ(shown[3].title, "Przeliczanie");
  EXPECT_EQ(shown[4].title, "TRAMEL: Ostrzeżenie");
  EXPECT_EQ(shown[4].icon, MessageIcon::Warning);
  EXPECT_EQ(shown[5].title, "TRAMEL: Pytanie");
  EXPECT_EQ(shown[5].defaultButton, rt::button::No);
}

TEST_F(Messages, AnUnexpectedBoxIsAProblemAnsweredWithItsDefault) {
  EXPECT_EQ(svc::questionBox("Nieoczekiwane pytanie", rt::button::No), rt::button::No);
  EXPECT_EQ(fe().takeProblems().size(), 1u);
}

}  // namespace
}  // namespace slownik
