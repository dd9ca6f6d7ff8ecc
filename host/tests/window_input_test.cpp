#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <chrono>

#include "framework/runtime/date_time.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "host/picture_edit.h"
#include "host/qt_window.h"

namespace slownik::host {
namespace {

namespace key = rt::key;

rt::ControlDef control(const char* name, rt::ControlKind kind, const char* picture = "") {
  rt::ControlDef d;
  d.name = name;
  d.kind = kind;
  d.picture = picture;
  return d;
}

std::shared_ptr<rt::Window> openForm() {
  rt::WindowDef def;
  def.resource = "slownik$keys";
  def.type = "P1$FORMWINDOW";
  def.caption = "Klawisze";
  auto list = control("?LIST", rt::ControlKind::List);
  list.format = "60L(2)|M~Nazwa~@s20@";
  def.controls = {control("?NAZWA", rt::ControlKind::Entry, "@s20"), control("?KWOTA", rt::ControlKind::Entry, "@n-12.2"),
                  control("?DATA", rt::ControlKind::Entry, "@d17"), list};
  return rt::Window::open(std::move(def));
}

// The key codes of the alert events the window queued since the last call.
std::vector<int> alertedKeys(rt::Window& w) {
  std::vector<int> out;
  while (auto e = w.nextEvent(std::chrono::milliseconds(0)))
    if (e->code == rt::event::AlertKey) out.push_back(e->keyCode);
  return out;
}

struct Form : testing::Test {
  void SetUp() override {
    w = openForm();
    ASSERT_NE(w, nullptr);
    drawn = std::make_unique<QtWindow>(w);
    drawn->show();
    alertedKeys(*w);
  }
  void TearDown() override {
    drawn.reset();
    if (w) w->close();
    rt::closeThreadWindows();
  }
  PictureEdit* edit(const char* name) { return qobject_cast<PictureEdit*>(drawn->widgetFor(name)); }

  std::shared_ptr<rt::Window> w;
  std::unique_ptr<QtWindow> drawn;
};

TEST_F(Form, EveryKeyTheDictionariesUseReachesTheWindowAsItsCode) {
  struct Row {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int code;
  } rows[] = {
      {Qt::Key_Insert, Qt::NoModifier, key::Ins},
      {Qt::Key_Delete, Qt::NoModifier, key::Del},
      {Qt::Key_F2, Qt::NoModifier, key::F2},
      {Qt::Key_F4, Qt::NoModifier, key::F4},
      {Qt::Key_F5, Qt::NoModifier, key::F5},
      {Qt::Key_F8, Qt::NoModifier, key::F8},
      {Qt::Key_F10, Qt::NoModifier, key::F10},
      {Qt::Key_Escape, Qt::NoModifier, key::Esc},
      {Qt::Key_Return, Qt::NoModifier, key::Enter},
      {Qt::Key_Enter, Qt::KeypadModifier, key::Enter},
      {Qt::Key_Insert, Qt::ShiftModifier, key::withShift(key::Ins)},
      {Qt::Key_F2, Qt::ShiftModifier, key::withShift(key::F2)},
      {Qt::Key_F5, Qt::ShiftModifier, key::withShift(key::F5)},
      {Qt::Key_F10, Qt::ShiftModifier, key::ShiftF10},
      {Qt::Key_F10, Qt::ControlModifier | Qt::ShiftModifier, key::CtrlShiftF10},
      {Qt::Key_B, Qt::ControlModifier, key::withCtrl('B')},
      {Qt::Key_N, Qt::ControlModifier, key::withCtrl('N')},
      {Qt::Key_Up, Qt::ControlModifier, key::withCtrl(key::Up)},
      {Qt::Key_Apostrophe, Qt::ControlModifier, key::History},
  };
  for (const Row& r : rows) w->alert(r.code);
  // A frame shortcut on the same key must not swallow it.
  int shortcutFired = 0;
  QAction frameAction;
  frameAction.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  frameAction.setShortcutContext(Qt::ApplicationShortcut);
  QObject::connect(&frameAction, &QAction::triggered, [&] { ++shortcutFired; });
  drawn->addAction(&frameAction);

  for (const char* field : {"?NAZWA", "?LIST"}) {
    QWidget* target = drawn->widgetFor(field);
    for (const Row& r : rows) {
      QTest::keyClick(target, r.key, r.mods);
      EXPECT_EQ(alertedKeys(*w), std::vector<int>{r.code}) << field << " key " << r.code;
    }
  }
  EXPECT_EQ(shortcutFired, 0);
}

TEST_F(Form, KeysTheWindowDidNotAskForStayWithTheField) {
  QWidget* name = drawn->widgetFor("?NAZWA");
  QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);  // the entry's own paste
  QTest::keyClick(name, Qt::Key_A);
  EXPECT_TRUE(alertedKeys(*w).empty());
  EXPECT_EQ(edit("?NAZWA")->text(), "a");
  // Alt alone goes to the window only when the window asked for it.
  QTest::keyPress(name, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(name, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_TRUE(alertedKeys(*w).empty());
  w->alert(key::AltAlone);
  QTest::keyPress(name, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(name, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_EQ(alertedKeys(*w), std::vector<int>{key::AltAlone});
  // Alt used with another key is not Alt alone.
  QTest::keyPress(name, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyClick(name, Qt::Key_X, Qt::AltModifier);
  QTest::keyRelease(name, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_EQ(alertedKeys(*w), std::vector<int>{});
}

TEST_F(Form, APictureEntryFormatsWhatItShowsAndRefusesWhatItCannotRead) {
  w->setValue("?KWOTA", "-1234.5");
  drawn->refresh("?KWOTA", rt::Property::Value);
  PictureEdit* amount = edit("?KWOTA");
  ASSERT_NE(amount, nullptr);
  EXPECT_EQ(amount->text(), "-1 234.50");
  EXPECT_TRUE(amount->alignment() & Qt::AlignRight);

  struct Row {
    const char* field;
    const char* typed;
    const char* stored;  // nullptr: refused, the value stays
    const char* shown;
  } rows[] = {
      {"?KWOTA", "12.5", "12.50", "12.50"},
      {"?KWOTA", "12 345.1", "12345.10", "12 345.10"},
      {"?KWOTA", "12a", nullptr, "12 345.10"},
      {"?KWOTA", "99999999999.99", nullptr, "12 345.10"},  // wider than the picture
      {"?DATA", "15.03.2024", "", "15.03.2024"},
      {"?DATA", "31.02.2024", nullptr, "15.03.2024"},
      {"?DATA", "jutro", nullptr, "15.03.2024"},
      {"?NAZWA", "Bank O'Brien", "Bank O'Brien", "Bank O'Brien"},
  };
  const std::string march15 = std::to_string(rt::dayNumber(2024, 3, 15));
  for (const Row& r : rows) {
    PictureEdit* e = edit(r.field);
    const std::string before = w->value(r.field);
    e->setFocus();
    e->setText(QString::fromUtf8(r.typed));
    QTest::keyClick(e, Qt::Key_Tab);  // completes the field
    const std::string expected = !r.stored ? before : std::string(r.stored).empty() ? march15 : r.stored;
    EXPECT_EQ(w->value(r.field), expected) << r.typed;
    EXPECT_EQ(e->text(), QString::fromUtf8(r.shown)) << r.typed;
  }
  // A refused text keeps the person in the field: the key that would leave it is not passed on.
  w->alert(key::Enter);
  alertedKeys(*w);
  edit("?KWOTA")->setText("abc");
  QTest::keyClick(edit("?KWOTA"), Qt::Key_Return);
  EXPECT_TRUE(alertedKeys(*w).empty());
  edit("?KWOTA")->setText("7");
  QTest::keyClick(edit("?KWOTA"), Qt::Key_Return);
  EXPECT_EQ(alertedKeys(*w), std::vector<int>{key::Enter});
  EXPECT_EQ(w->value("?KWOTA"), "7.00");
}

// A multi-line text gives the window what was typed, and where its cursor stands, when the
// person leaves it (a mouse click on "Zapisz" included), and its cursor goes where the
// runtime puts it: a button that inserts into it (a placeholder into an SMS text) inserts
// at the cursor.
TEST(TextCursor, TravelsBetweenTheTextAndTheRuntimeInCharacters) {
  rt::WindowDef def;
  def.resource = "slownik$text";
  def.type = "P1$FORMWINDOW";
  def.caption = "Tekst";
  def.controls = {control("?OPIS", rt::ControlKind::Text), control("?NAZWA", rt::ControlKind::Entry, "@s20")};
  auto w = rt::Window::open(std::move(def));
  ASSERT_NE(w, nullptr);
  w->setValue("?OPIS", "Zażółć 😀 gęślą");
  auto drawn = std::make_unique<QtWindow>(w);
  drawn->show();
  QApplication::setActiveWindow(drawn.get());
  QApplication::processEvents();
  auto* text = qobject_cast<QPlainTextEdit*>(drawn->widgetFor("?OPIS"));
  ASSERT_NE(text, nullptr);
  ASSERT_EQ(text->toPlainText(), QString::fromUtf8("Zażółć 😀 gęślą"));

  // After "Zażółć 😀 " (9 characters; the emoji is two UTF-16 units): the cursor is the 10th.
  text->setFocus();
  QTextCursor cursor = text->textCursor();
  cursor.setPosition(QString::fromUtf8("Zażółć 😀 ").size());
  text->setTextCursor(cursor);
  text->insertPlainText("i ");
  drawn->widgetFor("?NAZWA")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(w->value("?OPIS"), "Zażółć 😀 i gęślą");
  EXPECT_EQ(w->control("?OPIS")->selection, 12);

  // The runtime puts it after "Zażółć" (7th character); the front-end redraws the text.
  w->setSelection("?OPIS", 7);
  drawn->refresh("?OPIS", rt::Property::Selection);
  EXPECT_EQ(text->textCursor().position(), QString::fromUtf8("Zażółć").size());

  drawn.reset();
  w->close();
  rt::closeThreadWindows();
}

}  // namespace
}  // namespace slownik::host
