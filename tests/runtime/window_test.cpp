#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "runtime/headless_test.h"
#include "runtime/window_test_support.h"

namespace slownik::rt {
namespace {

using test::describe;
using test::drain;
using testing::ElementsAre;
using testing::HasSubstr;

const std::vector<std::vector<std::string>> kRows = {
    {"23%", "23", "23.00"}, {"8%", "8", "8.00"}, {"5%", "5", "5.00"}};

// Input on a window the test thread owns: the events it queues, in order.
class WindowInput : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    browse = Window::open("slownik$test001", "P1$BROWSEWINDOW");
    ASSERT_NE(browse, nullptr);
    browse->setRows("?LIST", kRows);
    browse->setSelection("?LIST", 1);
    EXPECT_THAT(drain(*browse), ElementsAre("515"));  // OpenWindow comes first
  }
  void TearDown() override {
    if (form) form->close();
    if (browse) browse->close();
    HeadlessTest::TearDown();
  }
  std::shared_ptr<Window> openForm() {
    form = Window::open("slownik$test001", "P1$FORMWINDOW");
    drain(*form);
    return form;
  }
  std::shared_ptr<Window> browse;
  std::shared_ptr<Window> form;
};

TEST_F(WindowInput, TabOrderSkipsHiddenAndDisabledControls) {
  // ?SELECT is hidden in the resource; strings, images and prompts take no focus.
  EXPECT_THAT(browse->tabOrder(), ElementsAre("?LIST", "?LOKATOR", "?INSERT", "?CHANGE", "?DELETE", "?CLOSE"));
  EXPECT_EQ(browse->focus(), "?LIST");
  browse->disable("?CHANGE");
  browse->unhide("?SELECT");
  EXPECT_THAT(browse->tabOrder(), ElementsAre("?LIST", "?LOKATOR", "?SELECT", "?INSERT", "?DELETE", "?CLOSE"));

  // Tab goes forwards, Shift+Tab (as the keyboard navigator synthesises it) backwards,
  // both wrapping round; each move is a Selected event for the new control.
  EXPECT_EQ(browse->pressKey(key::Tab), "");
  EXPECT_EQ(browse->pressKey(key::ShiftTab), "");
  EXPECT_EQ(browse->pressKey(key::ShiftTab), "");
  EXPECT_THAT(drain(*browse), ElementsAre("257 ?LOKATOR", "257 ?LIST", "257 ?CLOSE"));
  EXPECT_EQ(browse->focus(), "?CLOSE");
}

TEST_F(WindowInput, KeysPressTheirButtonsOrBecomeAlerts) {
  browse->alert(key::F5);
  browse->alert(key::AltAlone);
  browse->setAlertSlot(255, key::CtrlShiftF10);
  browse->setAlertSlot(255, key::CtrlMouseLeft);  // the header sorter takes over the slot
  EXPECT_EQ(browse->alertSlot(1), key::F5);
  EXPECT_EQ(browse->alertSlot(2), key::AltAlone);
  EXPECT_EQ(browse->alertSlot(255), key::CtrlMouseLeft);
  EXPECT_FALSE(browse->isAlerted(key::CtrlShiftF10));

  struct Row {
    int key;
    const char* event;
  };
  const Row rows[] = {
      {key::Ins, "1 ?INSERT k45"},        // the button of the key is pressed
      {key::F2, "1 ?CHANGE k113"},
      {key::F5, "15 ?CHANGE k116"},        // reserved: the procedure hears of it instead
      {key::AltAlone, "15 ?CHANGE k1024"},
      {key::CtrlShiftF10, ""},             // no longer reserved, nothing reacts to it
      {key::withAlt('U'), "1 ?DELETE k1109"},  // the mnemonic of "&Usuń"
      {key::Esc, "1 ?CLOSE k27"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(keyName(row.key));
    EXPECT_EQ(browse->pressKey(row.key), "");
    auto events = drain(*browse);
    // Pressing a button focuses it first (Selected), as a click would.
    if (!events.empty() && events.front().rfind("257 ", 0) == 0) events.erase(events.begin());
    if (*row.event) {
      EXPECT_THAT(events, ElementsAre(row.event));
    } else {
      EXPECT_TRUE(events.empty());
    }
  }
  // A button that is disabled is not pressed by its key.
  browse->disable("?INSERT");
  EXPECT_EQ(browse->pressKey(key::Ins), "");
  EXPECT_TRUE(drain(*browse).empty());
}

TEST_F(WindowInput, ControlAlertsHoldOnlyWhileTheControlHasTheFocus) {
  ASSERT_TRUE(browse->alertOn("?LOKATOR", key::Enter));
  EXPECT_EQ(browse->pressKey(key::Enter), "");  // focus in the list: Enter accepts the row
  EXPECT_THAT(drain(*browse), ElementsAre("1 ?LIST k13"));
  browse->select("?LOKATOR");
  EXPECT_EQ(browse->pressKey(key::Enter), "");
  EXPECT_THAT(drain(*browse), ElementsAre("257 ?LOKATOR", "15 ?LOKATOR k13"));
  browse->removeAlertOn("?LOKATOR", key::Enter);
  EXPECT_EQ(browse->pressKey(key::Enter), "");
  EXPECT_THAT(drain(*browse), ElementsAre("1 ?LOKATOR k13"));
}

TEST_F(WindowInput, ListKeysMoveTheSelectionOrAskForMoreRows) {
  struct Row {
    int key;
    const char* event;
    int selection;
  };
  const Row rows[] = {
      {key::Up, "3 ?LIST k38", 1},  // above the first loaded row: the list manager pages
      {key::Down, "2 ?LIST k40", 2}, {key::Down, "2 ?LIST k40", 3},
      {key::Down, "4 ?LIST k40", 3}, {key::PgDn, "6 ?LIST k34", 3},
      {key::PgUp, "5 ?LIST k33", 3}, {key::Home, "7 ?LIST k36", 3},
      {key::End, "8 ?LIST k35", 3},  {key::Up, "2 ?LIST k38", 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(keyName(row.key));
    EXPECT_EQ(browse->pressKey(row.key), "");
    EXPECT_THAT(drain(*browse), ElementsAre(row.event));
    EXPECT_EQ(browse->control("?LIST")->selection, row.selection);
  }
}

TEST_F(WindowInput, MouseOnTheList) {
  EXPECT_EQ(browse->clickRow("?LIST", 3), "");
  EXPECT_EQ(browse->clickRow("?LIST", 3, true), "");
  EXPECT_THAT(browse->clickRow("?LIST", 4), HasSubstr("no row 4"));
  EXPECT_EQ(browse->clickHeader("?LIST", 2, key::MouseLeft), "");
  EXPECT_EQ(browse->clickHeader("?LIST", 1, key::CtrlMouseLeft), "");
  EXPECT_EQ(browse->clickHeader("?LIST", 1, key::ShiftMouseLeft), "");
  EXPECT_THAT(drain(*browse), ElementsAre("2 ?LIST k1", "1 ?LIST k5",  //
                                          "10 ?LIST k1 c2h", "11 ?LIST k1 c2h",       //
                                          "10 ?LIST k513 c1h", "11 ?LIST k513 c1h",   //
                                          "10 ?LIST k257 c1h", "11 ?LIST k257 c1h"));
  browse->alert(key::MouseRight);
  EXPECT_EQ(browse->rightClickRow("?LIST", 1), "");
  EXPECT_THAT(drain(*browse), ElementsAre("2 ?LIST k1", "15 ?LIST k2"));
}

TEST_F(WindowInput, ShiftAndCtrlSelectSeveralRowsAroundTheCurrentOne) {
  using Rows = std::vector<int>;
  auto selected = [&] { return rt::selectedRows(*browse->control("?LIST")); };
  auto current = [&] { return browse->control("?LIST")->selection; };
  ASSERT_EQ(browse->clickRow("?LIST", 1), "");
  drain(*browse);

  // Shift with the arrows grows and shrinks the selection from where it started; the
  // current row moves with the arrow and is told as a new selection.
  EXPECT_EQ(browse->pressKey(key::withShift(key::Down)), "");
  EXPECT_THAT(drain(*browse), ElementsAre("2 ?LIST k296"));
  EXPECT_EQ(browse->pressKey(key::withShift(key::Down)), "");
  EXPECT_EQ(selected(), (Rows{1, 2, 3}));
  EXPECT_EQ(current(), 3);
  EXPECT_EQ(browse->pressKey(key::withShift(key::Down)), "");  // the last row: nothing more to take
  EXPECT_EQ(selected(), (Rows{1, 2, 3}));
  EXPECT_EQ(browse->pressKey(key::withShift(key::Up)), "");
  EXPECT_EQ(selected(), (Rows{1, 2}));
  EXPECT_EQ(current(), 2);
  // A plain arrow goes back to one row.
  EXPECT_EQ(browse->pressKey(key::Down), "");
  EXPECT_EQ(selected(), (Rows{3}));
  drain(*browse);

  // Ctrl+click adds a row and makes it current; again, takes it away.
  EXPECT_EQ(browse->extendRow("?LIST", 1, false), "");
  EXPECT_EQ(selected(), (Rows{1, 3}));
  EXPECT_EQ(current(), 1);
  EXPECT_EQ(browse->extendRow("?LIST", 1, false), "");
  EXPECT_EQ(selected(), (Rows{3})) << "the row left takes the current row's place";
  EXPECT_EQ(current(), 3);
  EXPECT_EQ(browse->extendRow("?LIST", 3, false), "");
  EXPECT_EQ(selected(), (Rows{3})) << "the last selected row stays";
  // Shift+click selects from the current row to the clicked one.
  EXPECT_EQ(browse->extendRow("?LIST", 1, true), "");
  EXPECT_EQ(selected(), (Rows{1, 2, 3}));
  EXPECT_EQ(current(), 1);
  EXPECT_THAT(browse->extendRow("?LIST", 4, true), HasSubstr("no row 4"));

  // Code leaves the marks where the current row stays, drops them when it moves it or
  // the rows change; a plain click does too.
  browse->setSelection("?LIST", 1);
  EXPECT_EQ(selected(), (Rows{1, 2, 3}));
  browse->setSelection("?LIST", 2);
  EXPECT_EQ(selected(), (Rows{2}));
  EXPECT_EQ(browse->extendRow("?LIST", 3, true), "");
  auto rows = browse->control("?LIST")->rows;
  browse->setRows("?LIST", rows);
  EXPECT_EQ(selected(), (Rows{2, 3})) << "the same rows again";
  rows.pop_back();
  browse->setRows("?LIST", rows);
  EXPECT_TRUE(browse->control("?LIST")->marked.empty());
  browse->setSelection("?LIST", 2);
  EXPECT_EQ(browse->extendRow("?LIST", 1, true), "");
  EXPECT_EQ(selected(), (Rows{1, 2}));
  EXPECT_EQ(browse->clickRow("?LIST", 2), "");
  EXPECT_EQ(selected(), (Rows{2}));
}

TEST_F(WindowInput, TypingChoosingAndClicking) {
  openForm();
  EXPECT_FALSE(browse->isActive());
  EXPECT_EQ(form->focus(), "?SHEET");
  EXPECT_EQ(form->type("?WAL:SYM_WALUTY", "EUR"), "");
  EXPECT_EQ(form->value("?WAL:SYM_WALUTY"), "EUR");
  EXPECT_EQ(form->click("?WAL:NUMER"), "");
  EXPECT_EQ(form->value("?WAL:NUMER"), "1");
  EXPECT_EQ(form->choose("?RODZAJ", "Przelew"), "");
  EXPECT_EQ(form->click("?TYP:ZAGRANICZNY"), "");
  EXPECT_EQ(form->value("?TYP"), "Z");
  EXPECT_EQ(form->click("?TAB2"), "");
  EXPECT_EQ(form->value("?SHEET"), "2");
  EXPECT_THAT(drain(*form), ElementsAre("257 ?WAL:SYM_WALUTY", "1 ?WAL:SYM_WALUTY",  //
                                        "257 ?WAL:NUMER", "1 ?WAL:NUMER k1",         //
                                        "257 ?RODZAJ", "2 ?RODZAJ", "1 ?RODZAJ",     //
                                        "257 ?TYP:ZAGRANICZNY", "1 ?TYP k1",         //
                                        "2 ?SHEET k1"));
  // Alt with a prompt's mnemonic focuses the control after the prompt.
  EXPECT_EQ(form->pressKey(key::withAlt('N')), "");
  EXPECT_EQ(form->focus(), "?WAL:NAZWA");
  // Enter presses the default button; Shift+Enter breaks a line of multi-line text.
  form->select("?UWAGI");
  form->setValue("?UWAGI", "a");
  EXPECT_EQ(form->pressKey(key::ShiftEnter), "");
  EXPECT_EQ(form->value("?UWAGI"), "a\n");
  EXPECT_EQ(form->pressKey(key::Enter), "");
  EXPECT_THAT(drain(*form), ElementsAre("257 ?WAL:NAZWA", "257 ?UWAGI", "257 ?OK", "1 ?OK k13"));

  // What a person can't do is refused with the reason; nothing is queued.
  struct Refusal {
    const char* label;
    std::string why;
    const char* says;
  };
  form->setReadOnly("?WAL:NAZWA", true);
  form->disable("?WAL:NUMER");
  form->hide("?TAB2");  // hides what is inside it too
  const Refusal refusals[] = {
      {"read-only", form->type("?WAL:NAZWA", "x"), "read-only"},
      {"disabled", form->click("?WAL:NUMER"), "disabled"},
      {"inside a hidden tab", form->type("?UWAGI", "x"), "hidden"},
      {"no such entry", form->choose("?RODZAJ", "Czek"), "no entry \"Czek\""},
      {"not editable", form->type("?OK", "x"), "takes no typing"},
      {"missing control", form->click("?NIC"), "no control ?NIC"},
      {"the caller is inactive", browse->pressKey(key::Ins), "inactive"},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.label);
    EXPECT_THAT(r.why, HasSubstr(r.says));
  }
  EXPECT_TRUE(drain(*form).empty());

  // Closing the form gives the caller back the focus.
  form->close();
  EXPECT_TRUE(browse->isActive());
  EXPECT_THAT(drain(*browse), ElementsAre("517", "518"));  // lost it when the form opened, got it back
  EXPECT_EQ(form->pressKey(key::Enter), "the window \"Aktualizacja rekordu\" is closed");
}

TEST_F(WindowInput, PropertyOnAMissingControlIsLoggedOnceAndChangesNothing) {
  std::vector<std::string> logged;
  setLogSink([&](std::string_view line) { logged.emplace_back(line); });
  auto before = browse->controls().size();
  auto noticesBefore = fe().notices().size();
  EXPECT_FALSE(browse->setText("?BRAK", "x"));
  EXPECT_FALSE(browse->hide("?BRAK"));
  EXPECT_FALSE(browse->setValue("?BRAK", "y"));
  EXPECT_FALSE(browse->setText("?INNY", "x"));
  setLogSink({});
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_THAT(logged[0], HasSubstr("?BRAK"));
  EXPECT_THAT(logged[1], HasSubstr("?INNY"));
  EXPECT_EQ(browse->controls().size(), before);
  EXPECT_EQ(fe().notices().size(), noticesBefore);
}

TEST_F(WindowInput, EveryPropertyChangeIsReported) {
  auto before = fe().notices().size();
  browse->setText("?CAPTION", "Nowy");
  browse->setText("?CAPTION", "Nowy");  // no change, nothing to report
  browse->disable("?DELETE");
  browse->setFrameColor("?LOKATOR", 255);
  browse->setListStyle("?LIST", 1, ListStyle{kBoldWeight, 255});
  browse->setColumnHeader("?LIST", 1, "Nazwa[+]");
  browse->setTitle("Inny tytuł");
  auto notices = fe().notices();
  std::vector<std::string> seen;
  for (size_t i = before; i < notices.size(); ++i) {
    EXPECT_EQ(notices[i].window, browse->id());
    seen.push_back(notices[i].control + " " + std::to_string(static_cast<int>(notices[i].property)));
  }
  auto code = [](Property p) { return std::to_string(static_cast<int>(p)); };
  EXPECT_THAT(seen, ElementsAre("?CAPTION " + code(Property::Text), "?DELETE " + code(Property::Enabled),
                                "?LOKATOR " + code(Property::FrameColor), "?LIST " + code(Property::ListStyle),
                                "?LIST " + code(Property::ColumnHeader), " " + code(Property::Title)));
  EXPECT_EQ(browse->control("?LIST")->styles.at(1).fontWeight, kBoldWeight);
  EXPECT_EQ(browse->control("?LIST")->columnHeaders.at(1), "Nazwa[+]");
  EXPECT_EQ(browse->title(), "Inny tytuł");
}

TEST_F(WindowInput, ControlsMadeAtRunTime) {
  EXPECT_TRUE(browse->createControl("?MARKER", ControlKind::Panel));
  EXPECT_FALSE(browse->createControl("?MARKER", ControlKind::Panel));  // names stay unique
  EXPECT_FALSE(browse->createControl("?IN", ControlKind::Box, "?NIC"));
  EXPECT_TRUE(browse->createControl("?IN", ControlKind::Box, "?MARKER"));
  EXPECT_TRUE(browse->destroyControl("?MARKER"));
  EXPECT_FALSE(browse->has("?MARKER"));
  EXPECT_FALSE(browse->has("?IN"));  // children go with their parent
}

// --- through procedure threads, as the host runs windows -------------------------------

class ProcedureWindows : public test::HeadlessTest {};

TEST_F(ProcedureWindows, EventsReachTheProcedureThreadInOrder) {
  test::EventLog log;
  auto procedure = startProcedure([&] {
    test::runWindow("slownik$test001", "P1$BROWSEWINDOW", "list", log,
                    [](Window& w) {
                      w.setRows("?LIST", kRows);
                      w.setSelection("?LIST", 1);
                      w.alert(key::F5);
                    },
                    nullptr);
  });
  auto w = fe().waitForWindow("Lista próbna");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->control("?LIST")->rows, kRows);
  EXPECT_TRUE(fe().type(w, "?LOKATOR", "8"));
  EXPECT_TRUE(fe().press(w, key::F5));
  EXPECT_TRUE(fe().clickHeader(w, "?LIST", 2, key::CtrlMouseLeft));
  EXPECT_TRUE(fe().press(w, key::Esc));
  EXPECT_TRUE(fe().waitForClose(w));
  procedure.join();
  EXPECT_THAT(log.events(), ElementsAre("list: 515", "list: 257 ?LOKATOR", "list: 1 ?LOKATOR",
                                        "list: 15 ?LOKATOR k116", "list: 257 ?LIST", "list: 10 ?LIST k513 c2h",
                                        "list: 11 ?LIST k513 c2h", "list: 257 ?CLOSE", "list: 1 ?CLOSE k27"));
  for (int thread : log.threads()) EXPECT_EQ(thread, procedure.number());
}

TEST_F(ProcedureWindows, AFormOpenedFromAListRunsNestedOnTheSameThread) {
  test::EventLog log;
  auto procedure = startProcedure([&] {
    test::runWindow("slownik$test001", "P1$BROWSEWINDOW", "list", log, nullptr, [&](Window& list, const Event& e) {
      if (e.code == event::Accepted && e.control == "?INSERT") {
        test::runWindow("slownik$test001", "P1$FORMWINDOW", "form", log,
                        [](Window& f) { f.setTitle("Dodawanie waluty"); },
                        [](Window& f, const Event& fe) {
                          return !(fe.code == event::Accepted && fe.control == "?OK" && !f.value("?WAL:SYM_WALUTY").empty());
                        });
        list.setText("?CAPTION", "Dodano");
      }
      return true;
    });
  });
  auto list = fe().waitForWindow("Lista próbna");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(fe().press(list, key::Ins));
  auto form = fe().waitForWindow("Dodawanie waluty");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->ownerThread(), list->ownerThread());
  EXPECT_FALSE(list->isActive());
  EXPECT_FALSE(fe().press(list, key::F2));  // the caller is inactive meanwhile
  auto problems = fe().takeProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_THAT(problems[0], HasSubstr("inactive"));

  EXPECT_TRUE(fe().press(form, key::F10));  // nothing typed: the form stays open
  EXPECT_FALSE(form->isClosed());
  EXPECT_TRUE(fe().type(form, "?WAL:SYM_WALUTY", "EUR"));
  EXPECT_TRUE(fe().press(form, key::F10));
  EXPECT_TRUE(form->isClosed());
  EXPECT_TRUE(list->isActive());
  EXPECT_EQ(list->text("?CAPTION"), "Dodano");
  EXPECT_TRUE(fe().close(list));
  procedure.join();
  EXPECT_THAT(log.events(),
              ElementsAre("list: 515", "list: 257 ?INSERT", "list: 1 ?INSERT k45",  //
                          "form: 515", "form: 257 ?OK", "form: 1 ?OK k121",         //
                          "form: 257 ?WAL:SYM_WALUTY", "form: 1 ?WAL:SYM_WALUTY",   //
                          "form: 257 ?OK", "form: 1 ?OK k121",                      //
                          "list: 517", "list: 518", "list: 513"));
}

TEST_F(ProcedureWindows, MessageBoxesAnsweredAndUnexpected) {
  std::vector<int> answers;
  std::mutex m;
  auto ask = [&](Window&, const Event& e) {
    if (e.code == event::Accepted && e.control == "?DELETE") {
      int a = messageBox("TRAMEL: Pytanie", "Czy usunąć stawkę 'zw.'?|Operacji nie można cofnąć.",
                         MessageIcon::Question, button::Yes | button::No, button::No);
      std::lock_guard lock(m);
      answers.push_back(a);
    }
    return true;
  };
  test::EventLog log;
  auto procedure = startProcedure([&] { test::runWindow("slownik$test001", "P1$BROWSEWINDOW", "list", log, nullptr, ask); });
  auto w = fe().waitForWindow("Lista próbna");
  ASSERT_NE(w, nullptr);

  fe().expectMessage(button::Yes, "Czy usunąć");
  EXPECT_TRUE(fe().press(w, key::Del));
  EXPECT_TRUE(fe().takeProblems().empty());

  EXPECT_TRUE(fe().press(w, key::Del));  // this time the test expects nothing
  auto problems = fe().takeProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_THAT(problems[0], HasSubstr("unexpected message box \"TRAMEL: Pytanie\": Czy usunąć stawkę 'zw.'?"));

  fe().expectMessage(button::Ok);  // a button the box does not offer
  EXPECT_TRUE(fe().press(w, key::Del));
  problems = fe().takeProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_THAT(problems[0], HasSubstr("offers no button 1"));

  fe().expectMessage(button::No, "nigdy");  // the text is checked
  EXPECT_TRUE(fe().press(w, key::Del));
  EXPECT_THAT(fe().takeProblems(), ElementsAre(HasSubstr("where one with \"nigdy\" was expected")));

  EXPECT_TRUE(fe().press(w, key::Esc));
  procedure.join();
  {
    std::lock_guard lock(m);
    // Unexpected and unanswerable boxes get their default button (here No), never a hang.
    EXPECT_THAT(answers, ElementsAre(button::Yes, button::No, button::No, button::No));
  }
  auto shown = fe().messages();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].icon, MessageIcon::Question);
  EXPECT_THAT(messageLines(shown[0].text), ElementsAre("Czy usunąć stawkę 'zw.'?", "Operacji nie można cofnąć."));
  EXPECT_TRUE(shown[0].expected);
  EXPECT_FALSE(shown[1].expected);
}

TEST_F(ProcedureWindows, MessageBoxAfterTheWindowIsGoneDoesNotHang) {
  std::atomic<int> answer{0};
  bool hadParent = true;
  auto procedure = startProcedure([&] {
    auto w = Window::open("slownik$test001", "P1$BROWSEWINDOW");
    w->close();
    hadParent = activeWindow() != nullptr;
    answer = messageBox("TRAMEL: Ostrzeżenie", "Okno już zamknięte", MessageIcon::Warning);
  });
  procedure.join();
  EXPECT_FALSE(hadParent);
  EXPECT_EQ(answer, button::Ok);
  EXPECT_THAT(fe().takeProblems(), ElementsAre(HasSubstr("Okno już zamknięte")));
}

TEST_F(ProcedureWindows, PopupsAndDialogsAnswerFromTheQueue) {
  std::vector<int> choices;
  std::optional<std::string> file;
  std::optional<long> date;
  // Queued before the procedure starts: it may ask at once.
  fe().expectPopup("Kod");
  fe().expectPopup("Eksport do Excela");
  fe().expectPopup("");
  fe().expectFile("/dane/kir");
  fe().expectDate(80123);
  auto procedure = startProcedure([&] {
    auto w = Window::open("slownik$test001", "P1$BROWSEWINDOW");
    std::vector<PopupItem> menu{{"Dodaj", "insert.ico"},
                                {"", "", true},
                                {"Sortuj", "", false, true, false, {{"Nazwa"}, {"Kod"}}},
                                {"Eksport do Excela", "excel.ico"}};
    choices.push_back(popupMenu(menu));
    choices.push_back(popupMenu(menu));
    choices.push_back(popupMenu(menu));
    file = frontEnd().fileDialog({"Katalog KIR", "/tmp", "", "", false, true, w});
    date = frontEnd().calendarDialog({"Data", 80000, {w, "?LIST", 0, 15}});
    w->close();
  });
  procedure.join();
  EXPECT_THAT(choices, ElementsAre(3, 4, 0));
  EXPECT_THAT(fe().popupsShown().front(), ElementsAre("Dodaj", "Sortuj/Nazwa", "Sortuj/Kod", "Eksport do Excela"));
  EXPECT_EQ(file, "/dane/kir");
  EXPECT_EQ(date, 80123);
  // A dialog nobody expected is cancelled and reported.
  auto another = startProcedure([] { (void)frontEnd().colorDialog("Kolor", 0); });
  another.join();
  EXPECT_THAT(fe().takeProblems(), ElementsAre(HasSubstr("unexpected colour dialog")));
}

TEST_F(ProcedureWindows, ExpectationsNeverMetAreProblems) {
  fe().expectMessage(button::Yes, "Zapisać?");
  fe().expectPopup("Usuń");
  EXPECT_THAT(fe().takeProblems(), ElementsAre(HasSubstr("Zapisać?"), HasSubstr("Usuń")));
  EXPECT_EQ(fe().waitForWindow("Okno, którego nie ma", std::chrono::milliseconds(20)), nullptr);
  EXPECT_THAT(fe().takeProblems(), ElementsAre(HasSubstr("Okno, którego nie ma")));
}

}  // namespace
}  // namespace slownik::rt
