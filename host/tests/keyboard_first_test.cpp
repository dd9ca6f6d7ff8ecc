// A keyboard user reaches everything: the frame's menu from a module window, the other
// windows, the list's popup menu, the list again after a form or a key-pressed button,
// and Polish letters in lists.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <chrono>

#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "host/list_view.h"
#include "host/main_window.h"
#include "host/procedure_launcher.h"
#include "host/qt_key_codes.h"
#include "host/qt_window.h"

namespace slownik::host {
namespace {

namespace key = rt::key;

rt::ControlDef control(const char* name, rt::ControlKind kind, const char* text = "") {
  rt::ControlDef d;
  d.name = name;
  d.kind = kind;
  d.caption = text;
  return d;
}

std::shared_ptr<rt::Window> openList(const char* caption) {
  rt::WindowDef def;
  def.resource = "slownik$keyboard";
  def.type = "P1$BROWSEWINDOW";
  def.caption = caption;
  auto list = control("?LIST", rt::ControlKind::List);
  list.format = "80L(2)|M~Nazwa~@s30@";
  auto choose = control("?WYBIERZ", rt::ControlKind::Button, "&Wybierz");
  choose.key = key::F4;
  def.controls = {control("?LOKATOR", rt::ControlKind::Entry), list, control("?INSERT", rt::ControlKind::Button, "&Dodaj"),
                  choose};
  auto w = rt::Window::open(std::move(def));
  w->setRows("?LIST", {{"Łotwa"}, {"Polska"}, {"Węgry"}, {"Włochy"}});
  w->setSelection("?LIST", 2);
  return w;
}

std::vector<rt::Event> eventsOf(rt::Window& w) {
  std::vector<rt::Event> out;
  while (auto e = w.nextEvent(std::chrono::milliseconds(0))) out.push_back(*e);
  return out;
}

bool hasEvent(const std::vector<rt::Event>& events, int code, const std::string& control, int keyCode = -1) {
  for (const rt::Event& e : events)
    if (e.code == code && e.control == control && (keyCode < 0 || e.keyCode == keyCode)) return true;
  return false;
}

// Types text as a keyboard that has the letters would (QTest's own typing knows only ASCII).
void type(QWidget* w, const QString& text) {
  for (QChar ch : text)
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key(ch.toUpper().unicode()), QString(ch),
                        ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
}

Session demoSession() { return {{6100003, "Admin"}, {1, "Demo Sp. z o.o."}, {1, "Magazyn główny"}, {0, ""}}; }

// The frame with two module windows in its workspace, as the program shows them.
struct Frame : testing::Test {
  void SetUp() override {
    frame = std::make_unique<MainWindow>(demoSession(), std::vector<EntryPoint>{}, &launcher);
    frame->resize(1000, 700);
    frame->show();
    for (const char* caption : {"Kraje", "Waluty"}) {
      auto w = openList(caption);
      auto* drawn = new QtWindow(w);
      QMdiSubWindow* sub = frame->workspace()->addSubWindow(drawn);
      sub->show();
      windows.push_back(w);
      drawn_.push_back(drawn);
    }
    QApplication::setActiveWindow(frame.get());
    frame->workspace()->setActiveSubWindow(frame->workspace()->subWindowList().last());
    QApplication::processEvents();
    for (auto& w : windows) eventsOf(*w);
  }
  void TearDown() override {
    frame.reset();
    for (auto& w : windows) w->close();
    rt::closeThreadWindows();
  }
  QWidget* field(int window, const char* name) { return drawn_[window]->widgetFor(name); }

  ProcedureLauncher launcher;
  std::unique_ptr<MainWindow> frame;
  std::vector<std::shared_ptr<rt::Window>> windows;
  std::vector<QtWindow*> drawn_;
};

TEST_F(Frame, KeysAWindowDoesNotUseReachTheFramesMenu) {
  QMdiArea* area = frame->workspace();
  QWidget* list = field(1, "?LIST");
  list->setFocus();
  ASSERT_EQ(area->activeSubWindow()->widget(), drawn_[1]);
  // Ctrl+F6 and Ctrl+Shift+F6 go round the open windows.
  QTest::keyClick(list, Qt::Key_F6, Qt::ControlModifier);
  EXPECT_EQ(area->activeSubWindow()->widget(), drawn_[0]);
  QTest::keyClick(area->activeSubWindow()->focusWidget() ? area->activeSubWindow()->focusWidget() : drawn_[0],
                  Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(area->activeSubWindow()->widget(), drawn_[1]);
  for (const rt::Event& e : eventsOf(*windows[1])) EXPECT_NE(e.code, rt::event::AlertKey) << e.keyCode;

  // Alt with a letter none of the window's controls has goes to the frame ...
  int frameShortcut = 0;
  QAction frameAction;
  frameAction.setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
  QObject::connect(&frameAction, &QAction::triggered, [&] { ++frameShortcut; });
  frame->addAction(&frameAction);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(frameShortcut, 1);
  // ... and one of its own mnemonics stays with the window ("&Dodaj").
  QTest::keyClick(list, Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(hasEvent(eventsOf(*windows[1]), rt::event::Accepted, "?INSERT"));
  // A function key the window did not ask for is not swallowed either.
  int f7 = 0;
  QAction f7Action;
  f7Action.setShortcut(QKeySequence(Qt::Key_F7));
  QObject::connect(&f7Action, &QAction::triggered, [&] { ++f7; });
  frame->addAction(&f7Action);
  QTest::keyClick(list, Qt::Key_F7);
  EXPECT_EQ(f7, 1);
  windows[1]->alert(key::F7);
  QTest::keyClick(list, Qt::Key_F7);
  EXPECT_EQ(f7, 1);
  EXPECT_TRUE(hasEvent(eventsOf(*windows[1]), rt::event::AlertKey, windows[1]->focus(), key::F7));
}

TEST_F(Frame, AltAloneOpensTheMenuBarFromAModuleWindow) {
  QWidget* list = field(1, "?LIST");
  list->setFocus();
  QTest::keyPress(list, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(list, Qt::Key_Alt, Qt::NoModifier);
  QApplication::processEvents();
  EXPECT_NE(frame->menuBar()->activeAction(), nullptr);
  if (QAction* open = frame->menuBar()->activeAction(); open && open->menu()) open->menu()->close();
  frame->menuBar()->setActiveAction(nullptr);
  QApplication::processEvents();
  // Alt used with another key opens nothing.
  QTest::keyPress(list, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyClick(list, Qt::Key_Q, Qt::AltModifier);
  QTest::keyRelease(list, Qt::Key_Alt, Qt::NoModifier);
  QApplication::processEvents();
  EXPECT_EQ(frame->menuBar()->activeAction(), nullptr);
}

TEST_F(Frame, TheWindowsMenuListsTheOpenWindowsAndSwitchesToOne) {
  frame->listOpenWindows();
  QStringList titles;
  QAction* first = nullptr;
  for (QAction* a : frame->windowsMenu()->actions())
    if (a->text().startsWith('&') && a->text().at(1).isDigit()) {
      titles << a->text();
      if (!first) first = a;
    }
  EXPECT_EQ(titles, (QStringList{"&1 Kraje", "&2 Waluty"}));
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->isChecked());
  first->trigger();
  EXPECT_EQ(frame->workspace()->activeSubWindow()->widget(), drawn_[0]);
  // Listed again, nothing doubles.
  frame->listOpenWindows();
  frame->listOpenWindows();
  int numbered = 0;
  for (QAction* a : frame->windowsMenu()->actions())
    if (a->text().startsWith('&') && a->text().at(1).isDigit()) ++numbered;
  EXPECT_EQ(numbered, 2);
}

TEST_F(Frame, TheKeyboardComesBackToTheListWhenAFormCloses) {
  QMdiArea* area = frame->workspace();
  windows[1]->select("?LIST");
  drawn_[1]->focusControl("?LIST");
  // A form opens over the list: the list's window goes inactive, the form's is active.
  rt::WindowDef def;
  def.resource = "slownik$keyboard";
  def.type = "P1$FORMWINDOW";
  def.caption = "Formularz";
  def.controls = {control("?NAZWA", rt::ControlKind::Entry), control("?OK", rt::ControlKind::Button, "&Zapisz")};
  auto form = rt::Window::open(std::move(def));
  ASSERT_FALSE(windows[1]->isActive());
  drawn_[1]->refresh("", rt::Property::Active);
  auto* formWidget = new QtWindow(form);
  area->addSubWindow(formWidget)->show();
  area->setActiveSubWindow(area->subWindowList().last());
  formWidget->widgetFor("?OK")->setFocus();
  QApplication::processEvents();
  // The form closes as the runtime tells it: its window goes, then the list's is active again.
  form->close();
  area->subWindowList().last()->close();
  QApplication::processEvents();
  ASSERT_TRUE(windows[1]->isActive());
  drawn_[1]->refresh("", rt::Property::Active);
  QApplication::processEvents();
  EXPECT_EQ(area->activeSubWindow()->widget(), drawn_[1]);
  EXPECT_TRUE(field(1, "?LIST")->hasFocus());
  EXPECT_EQ(windows[1]->focus(), "?LIST");
  eventsOf(*windows[1]);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(windows[1]->control("?LIST")->selection, 3);
}

TEST_F(Frame, ArrowsPressedOnAButtonAKeyPressedMoveTheList) {
  // F4 pressed "Wybierz": the runtime focused the button.
  QWidget* list = field(1, "?LIST");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_F4);
  EXPECT_TRUE(hasEvent(eventsOf(*windows[1]), rt::event::Accepted, "?WYBIERZ"));
  QApplication::processEvents();
  ASSERT_EQ(windows[1]->focus(), "?WYBIERZ");
  drawn_[1]->focusControl("?WYBIERZ");
  QTest::keyClick(field(1, "?WYBIERZ"), Qt::Key_Down);
  EXPECT_EQ(windows[1]->focus(), "?LIST");
  EXPECT_EQ(windows[1]->control("?LIST")->selection, 3);
}

TEST_F(Frame, TheMenuKeyAndShiftF10OpenThePopupAtTheSelectedRow) {
  auto* view = qobject_cast<ListView*>(field(1, "?LIST"));
  ASSERT_NE(view, nullptr);
  view->setFocus();
  windows[1]->select("?LIST");
  windows[1]->alert(key::ShiftF10);    // reserved by the frame, as every list window does
  windows[1]->alert(key::MouseRight);  // the list's popup menu opens on it
  eventsOf(*windows[1]);
  for (auto [k, mods] : {std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                         std::pair{Qt::Key_Menu, Qt::KeyboardModifiers(Qt::NoModifier)}}) {
    QTest::keyClick(view, k, mods);
    const auto events = eventsOf(*windows[1]);
    int rightClicks = 0;
    for (const rt::Event& e : events)
      if (e.code == rt::event::AlertKey && e.control == "?LIST" && e.keyCode == key::MouseRight) ++rightClicks;
    EXPECT_EQ(rightClicks, 1) << k;
    EXPECT_EQ(windows[1]->control("?LIST")->selection, 2);  // the row stays the selected one
    // The menu opens under that row, not where the mouse happens to be.
    auto at = drawn_[1]->keyboardPopupPosition();
    ASSERT_TRUE(at.has_value());
    const QRect row = view->visualRect(view->model()->index(1, 0));
    const QRect rowOnScreen(view->viewport()->mapToGlobal(row.topLeft()), row.size());
    EXPECT_TRUE(rowOnScreen.adjusted(0, 0, 0, 1).contains(*at)) << at->x() << "," << at->y();
  }
  // A mouse click puts the next popup where the mouse is.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
  EXPECT_FALSE(drawn_[1]->keyboardPopupPosition().has_value());
}

TEST(PolishKeys, PolishLettersReachTheWindowAsTheirKeysWhateverTypesThem) {
  struct Row {
    const char* text;
    Qt::KeyboardModifiers mods;
  } rows[] = {
      {"ą", Qt::GroupSwitchModifier},                  // AltGr on X11
      {"Ą", Qt::GroupSwitchModifier | Qt::ShiftModifier},
      {"ł", Qt::ControlModifier | Qt::AltModifier},     // Ctrl+Alt where AltGr is not known
      {"ż", Qt::NoModifier},                            // a Polish keyboard layout
      {"Ź", Qt::ShiftModifier},
  };
  for (const Row& r : rows) {
    const QString text = QString::fromUtf8(r.text);
    QKeyEvent event(QEvent::KeyPress, text.toUpper().at(0).unicode(), r.mods, text);
    EXPECT_EQ(runtimeKeyCode(event), *rt::keyOfCharacter(r.text)) << r.text;
  }
  // Plain letters stay as they were.
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(runtimeKeyCode(a), key::letter('A'));
}

TEST(PolishKeys, TypedInAListTheyGoToItsLocator) {
  auto w = openList("Kraje");
  QtWindow drawn(w);
  drawn.show();
  for (int k = key::FirstPolishLetter; k <= key::LastPolishLetter; ++k) w->alert(k);  // as the list manager asks
  eventsOf(*w);
  QWidget* list = drawn.widgetFor("?LIST");
  type(list, QString::fromUtf8("łŚ"));
  std::vector<int> keys;
  for (const rt::Event& e : eventsOf(*w))
    if (e.code == rt::event::AlertKey) keys.push_back(e.keyCode);
  EXPECT_EQ(keys, (std::vector<int>{*rt::keyOfCharacter("Ł"), *rt::keyOfCharacter("ś")}));
  w->close();
  rt::closeThreadWindows();
}

// What is typed in the search entry reaches the window after a short pause, without Enter.
TEST(PolishKeys, TheSearchEntryLocatesAsYouType) {
  auto w = openList("Kraje");
  QtWindow drawn(w);
  drawn.show();
  QApplication::setActiveWindow(&drawn);
  QWidget* entry = drawn.widgetFor(QtWindow::kLocatorEntry);
  ASSERT_NE(entry, nullptr);
  entry->setFocus();
  eventsOf(*w);
  type(entry, QString::fromUtf8("Wł"));
  EXPECT_EQ(w->value("?LOKATOR"), "");  // not at once
  QTest::qWait(QtWindow::kLocatorPause + 150);
  EXPECT_EQ(w->value("?LOKATOR"), "Wł");
  EXPECT_TRUE(hasEvent(eventsOf(*w), rt::event::Accepted, "?LOKATOR"));
  w->close();
  rt::closeThreadWindows();
}

TEST_F(Frame, ShiftArrowsAndCtrlClicksSelectSeveralRowsAndTheWindowKnowsWhich) {
  auto* view = qobject_cast<ListView*>(field(1, "?LIST"));
  ASSERT_NE(view, nullptr);
  view->setFocus();
  windows[1]->select("?LIST");
  eventsOf(*windows[1]);
  // What the front-end does with every change the window reports: the list shows it.
  auto shownRows = [&] {
    drawn_[1]->refresh("?LIST", rt::Property::Selection);
    std::vector<int> rows;
    for (const QModelIndex& i : view->selectionModel()->selectedRows()) rows.push_back(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
  };
  auto rowCentre = [&](int row) { return view->visualRect(view->model()->index(row - 1, 0)).center(); };

  QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
  QApplication::processEvents();
  EXPECT_EQ(windows[1]->control("?LIST")->marked, (std::vector<int>{2, 3}));
  EXPECT_EQ(windows[1]->control("?LIST")->selection, 3) << "the current row moved with the arrow";
  EXPECT_EQ(shownRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(view->currentIndex().row(), 2) << "the current row is the window's";

  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(1));
  QApplication::processEvents();
  EXPECT_EQ(windows[1]->control("?LIST")->marked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(shownRows(), (std::vector<int>{1, 2, 3}));

  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(4));
  QApplication::processEvents();
  EXPECT_EQ(windows[1]->control("?LIST")->marked, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(windows[1]->control("?LIST")->selection, 4);

  // A plain click, as a plain arrow, is back to one row: the one forms work on.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2));
  QApplication::processEvents();
  EXPECT_TRUE(windows[1]->control("?LIST")->marked.empty());
  EXPECT_EQ(windows[1]->control("?LIST")->selection, 2);
  EXPECT_EQ(shownRows(), (std::vector<int>{2}));
}

}  // namespace
}  // namespace slownik::host
