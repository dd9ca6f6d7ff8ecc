#include <gtest/gtest.h>

#include "classes/country_procedures.h"
#include "framework/runtime/keys.h"

namespace slownik::test {
namespace {

class WindowManagerTest : public CountryWindowTest {
 protected:
  std::string nameOf(const std::string& symbol) {
    return scalar("SELECT COALESCE(MAX(NAZWA), '<none>') FROM KRAJE WHERE SYM_KRAJU = '" + symbol + "'");
  }
};

TEST_P(WindowManagerTest, insertAndChangeWriteTheRowAndTheListShowsIt) {
  auto out = startList(data::kNoRequest);
  auto list = fe().waitForWindow("Kraje");
  ASSERT_TRUE(list);
  ASSERT_TRUE(fe().clickRow(list, "?LIST", 1));
  {
    SCOPED_TRACE("insert");
    ASSERT_TRUE(fe().press(list, rt::key::Ins));
    auto form = fe().waitForWindow("Dodawanie kraju");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->value("?KRA:SYM_KRAJU"), "");  // primed empty
    ASSERT_TRUE(fe().type(form, "?KRA:SYM_KRAJU", "CI"));
    ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Côte d'Ivoire"));
    ASSERT_TRUE(fe().press(form, rt::key::F10));
    ASSERT_TRUE(fe().waitForClose(form));
    ASSERT_TRUE(fe().settle(list));
    EXPECT_EQ(nameOf("CI"), "Côte d'Ivoire");
    EXPECT_EQ(selectedSymbol(list), "CI");  // the list stands on the new row
  }
  {
    SCOPED_TRACE("change");
    ASSERT_TRUE(fe().press(list, rt::key::F2));
    auto form = fe().waitForWindow("Edycja kraju");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->value("?KRA:NAZWA"), "Côte d'Ivoire");
    ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Wybrzeże Kości Słoniowej"));
    ASSERT_TRUE(fe().click(form, "?OK"));
    ASSERT_TRUE(fe().waitForClose(form));
    ASSERT_TRUE(fe().settle(list));
    EXPECT_EQ(nameOf("CI"), "Wybrzeże Kości Słoniowej");
    EXPECT_EQ(selectedSymbol(list), "CI");
  }
  {
    SCOPED_TRACE("cancel writes nothing");
    ASSERT_TRUE(fe().press(list, rt::key::F2));
    auto form = fe().waitForWindow("Edycja kraju");
    ASSERT_TRUE(form);
    ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Inna"));
    ASSERT_TRUE(fe().press(form, rt::key::Esc));
    ASSERT_TRUE(fe().waitForClose(form));
    EXPECT_EQ(nameOf("CI"), "Wybrzeże Kości Słoniowej");
  }
  ASSERT_TRUE(fe().press(list, rt::key::Esc));
  join();
  EXPECT_EQ(out->formCalls, 3);
}

TEST_P(WindowManagerTest, deleteAsksFirstAndNoKeepsTheRow) {
  auto out = startList(data::kNoRequest);
  auto list = fe().waitForWindow("Kraje");
  ASSERT_TRUE(list);
  ASSERT_TRUE(fe().clickRow(list, "?LIST", 2));
  std::string victim = selectedSymbol(list);
  std::string next = rows(list)[2][0];
  struct Step {
    int answer;
    bool deleted;
  };
  for (const Step& step : {Step{rt::button::No, false}, Step{rt::button::Yes, true}}) {
    SCOPED_TRACE(step.deleted ? "yes" : "no");
    ASSERT_TRUE(fe().press(list, rt::key::Del));
    auto form = fe().waitForWindow("Usuwanie kraju");
    ASSERT_TRUE(form);
    fe().expectMessage(step.answer, "Czy na pewno usunąć ten rekord?");
    ASSERT_TRUE(fe().press(form, rt::key::F10));
    ASSERT_TRUE(fe().waitForClose(form));
    ASSERT_TRUE(fe().settle(list));
    auto shown = fe().messages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().defaultButton, rt::button::No);
    EXPECT_EQ(shown.back().buttons, rt::button::Yes | rt::button::No);
    EXPECT_EQ(nameOf(victim) == "<none>", step.deleted);
    EXPECT_EQ(selectedSymbol(list), step.deleted ? next : victim);
  }
  ASSERT_TRUE(fe().press(list, rt::key::Esc));
  join();
}

TEST_P(WindowManagerTest, failedSaveCheckKeepsTheFormOpenAndWritesNothing) {
  std::string count = scalar("SELECT COUNT(*) FROM KRAJE");
  auto out = startForm(data::kInsertRecord, "");
  auto form = fe().waitForWindow("Dodawanie kraju");
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Bez symbolu"));
  fe().expectMessage(rt::button::Ok, "Symbol kraju musi być wypełniony!");
  ASSERT_TRUE(fe().press(form, rt::key::F10));
  ASSERT_TRUE(fe().settle(form));
  EXPECT_FALSE(form->isClosed());
  EXPECT_EQ(form->focus(), "?KRA:SYM_KRAJU");
  EXPECT_EQ(form->value("?KRA:NAZWA"), "Bez symbolu");  // what was typed stays
  // A duplicate key is refused by the file manager: the form stays open too.
  ASSERT_TRUE(fe().type(form, "?KRA:SYM_KRAJU", "PL"));
  fe().expectMessage(rt::button::Ok);
  ASSERT_TRUE(fe().press(form, rt::key::F10));
  ASSERT_TRUE(fe().settle(form));
  EXPECT_FALSE(form->isClosed());
  ASSERT_TRUE(fe().press(form, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), count);
  EXPECT_EQ(nameOf("PL"), "Polska");
}

TEST_P(WindowManagerTest, viewModeOnlyCloses) {
  auto out = startForm(data::kViewRecord, "PL");
  auto form = fe().waitForWindow("View Record");
  ASSERT_TRUE(form);
  EXPECT_EQ(form->value("?KRA:NAZWA"), "Polska");
  ASSERT_TRUE(fe().type(form, "?KRA:NAZWA", "Zmieniona"));
  ASSERT_TRUE(fe().press(form, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(form));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
  EXPECT_EQ(nameOf("PL"), "Polska");
}

TEST_P(WindowManagerTest, historyKeyRecallsTheLastSavedRecord) {
  // Both forms run on one thread: the history copy is per thread.
  auto t = rt::startProcedure([] {
    for (int i = 0; i < 2; ++i) {
      data::GLOBALREQUEST() = data::kInsertRecord;
      CountryForm form;
      form.run();
    }
  });
  auto first = fe().waitForWindow("Dodawanie kraju");
  ASSERT_TRUE(first);
  // Nothing saved yet in this thread: the history key recalls an empty name.
  ASSERT_TRUE(fe().type(first, "?KRA:NAZWA", "Wpisana"));
  ASSERT_TRUE(fe().press(first, rt::key::History));
  EXPECT_EQ(first->value("?KRA:NAZWA"), "");
  ASSERT_TRUE(fe().type(first, "?KRA:SYM_KRAJU", "X1"));
  ASSERT_TRUE(fe().type(first, "?KRA:NAZWA", "Pierwszy"));
  ASSERT_TRUE(fe().press(first, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(first));
  auto second = fe().waitForWindow("Dodawanie kraju");
  ASSERT_TRUE(second);
  ASSERT_NE(second->id(), first->id());
  ASSERT_TRUE(fe().click(second, "?KRA:NAZWA"));
  ASSERT_TRUE(fe().press(second, rt::key::History));
  EXPECT_EQ(second->value("?KRA:NAZWA"), "Pierwszy");
  ASSERT_TRUE(fe().type(second, "?KRA:SYM_KRAJU", "X2"));
  // Country names are unique in the database: the first row makes way for the recalled name.
  exec("DELETE FROM KRAJE WHERE SYM_KRAJU = 'X1'");
  ASSERT_TRUE(fe().press(second, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(second));
  t.join();
  EXPECT_EQ(nameOf("X2"), "Pierwszy");  // the recalled value was saved with the record
}

TEST_P(WindowManagerTest, initFailureEndsWithItsResponseAndKillRunsOnce) {
  struct Refusing : fw::WindowManager {
    int kills = 0;
    int init() override {
      WindowManager::init();
      return data::kRequestCancelled;  // as a list without its right
    }
    int kill() override {
      if (WindowManager::kill()) return 1;
      ++kills;
      return 0;
    }
  };
  Refusing w;
  data::GLOBALRESPONSE() = 0;
  EXPECT_EQ(w.run(), data::kRequestCancelled);
  EXPECT_EQ(data::GLOBALRESPONSE(), data::kRequestCancelled);
  EXPECT_FALSE(w.isOpened());
  EXPECT_EQ(w.kills, 1);
  EXPECT_EQ(w.kill(), 1);  // already closed
  EXPECT_EQ(w.kills, 1);
}

SLOWNIK_ON_ALL_BACKENDS(WindowManagerTest);

}  // namespace
}  // namespace slownik::test
