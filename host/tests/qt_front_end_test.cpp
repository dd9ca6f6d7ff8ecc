#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <future>
#include <thread>

#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"
#include "support/backends.h"

namespace slownik::host {
namespace {

// Runs the GUI thread's events until `done` holds or five seconds pass.
template <typename Pred>
bool processUntil(Pred done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

// One front-end for the whole binary, as in the program (the runtime takes the first).
std::shared_ptr<QtFrontEnd> installed() {
  static std::shared_ptr<QtFrontEnd> fe = [] {
    auto f = std::make_shared<QtFrontEnd>();
    rt::setFrontEnd(f);
    rt::setResourceRoot(slownik::test::sourceDir() + "/tests/fixtures");
    return f;
  }();
  return fe;
}

// A modal box runs its own event loop inside the GUI thread's: the test acts on it from
// a timer that fires within that loop.
void whenABoxShows(std::function<void(QMessageBox*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(box);
    }
  });
  timer->start(10);
}

QAbstractButton* buttonOf(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(QtFrontEndDialogs, AMessageBoxAskedFromAProcedureThreadIsAnsweredOnTheGuiThread) {
  QtFrontEnd fe;
  rt::MessageBoxRequest request;
  request.title = "TRAMEL: Pytanie";
  request.text = "Czy usunąć bank?|Operacji nie można cofnąć.";
  request.icon = rt::MessageIcon::Question;
  request.buttons = rt::button::Yes | rt::button::No;
  request.defaultButton = rt::button::No;

  QString title, text, defaultText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  whenABoxShows([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttonCount = int(box->buttons().size());
    defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
    buttonOf(box, "&Tak")->click();
  });
  auto answer = std::async(std::launch::async, [&] { return fe.messageBox(request); });
  ASSERT_TRUE(processUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(answer.get(), rt::button::Yes);
  EXPECT_EQ(title, "TRAMEL: Pytanie");
  EXPECT_EQ(text, "Czy usunąć bank?\nOperacji nie można cofnąć.");
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(buttonCount, 2);
  EXPECT_EQ(defaultText, "&Nie");  // irreversible: No is the default

  // Escape answers No when the box offers no Cancel.
  whenABoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  auto escaped = std::async(std::launch::async, [&] { return fe.messageBox(request); });
  ASSERT_TRUE(processUntil([&] { return escaped.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(escaped.get(), rt::button::No);
}

TEST(QtFrontEndDialogs, AfterShutDownWaitingThreadsGetTheDefaultAnswer) {
  QtFrontEnd fe;
  rt::MessageBoxRequest request;
  request.buttons = rt::button::Yes | rt::button::No;
  request.defaultButton = rt::button::No;
  // The GUI thread never runs its events here: the waiting thread must still return.
  auto answer = std::async(std::launch::async, [&] { return fe.messageBox(request); });
  EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  fe.shutDown();
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(answer.get(), rt::button::No);
  EXPECT_EQ(std::async(std::launch::async, [&] { return fe.clipboardText(); }).get(), "");
  QApplication::processEvents();  // the queued box would now run: it must not show
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtFrontEndDialogs, DayNumbersAndFileFilters) {
  EXPECT_EQ(dateFromDay(36163), QDate(1900, 1, 1));
  EXPECT_EQ(dayFromDate(QDate(2024, 2, 29)), dayFromDate(QDate(2024, 3, 1)) - 1);
  EXPECT_EQ(dayFromDate(dateFromDay(80000)), 80000);
  EXPECT_EQ(qtFileFilter("Pliki DBF|*.dbf|Wszystkie pliki|*.*"), "Pliki DBF (*.dbf);;Wszystkie pliki (*.*)");
  EXPECT_EQ(qtFileFilter("Arkusze|*.xls;*.xlsx"), "Arkusze (*.xls *.xlsx)");
  EXPECT_EQ(qtFileFilter(""), "");
}

// A list window run by its own procedure thread, drawn in a workspace: the user's
// clicks reach the procedure as events, and the procedure's close removes the window.
TEST(QtFrontEndWindows, DrawsAListWindowAndPassesTheUsersInputToItsProcedure) {
  auto fe = installed();
  QMdiArea workspace;
  fe->setWorkspace(&workspace);
  workspace.resize(800, 600);
  workspace.show();

  std::promise<int> opened;
  std::atomic<bool> insertPressed{false};
  std::thread procedure([&] {
    std::string error;
    auto w = rt::Window::open("slownik$test001", "P1$BROWSEWINDOW", &error);
    if (!w) {
      opened.set_value(-1);
      return;
    }
    w->setTitle("Lista próbna");
    // Fields: name, its icon number, code, rate.
    w->setIconList("?LIST", {"~boxon.ico"});
    w->setRows("?LIST", {{"Bank O'Brien", "1", "001", "12.50"}, {"Bank Polski", "0", "002", "3.00"}});
    w->setSelection("?LIST", 1);
    opened.set_value(w->id());
    for (;;) {
      rt::Event e = w->nextEvent();
      if (e.code == rt::event::Accepted && e.control == "?INSERT") insertPressed = true;
      if (e.code == rt::event::CloseWindow) break;
    }
    w->close();
    rt::closeThreadWindows();
  });
  const int id = opened.get_future().get();
  ASSERT_GT(id, 0);
  QtWindow* drawn = nullptr;
  ASSERT_TRUE(processUntil([&] {
    drawn = fe->widgetFor(id);
    return drawn && drawn->windowTitle() == "Lista próbna" &&
           static_cast<QTableView*>(drawn->widgetFor("?LIST"))->model()->rowCount() == 2;
  }));
  ASSERT_EQ(workspace.subWindowList().size(), 1);
  auto* view = static_cast<QTableView*>(drawn->widgetFor("?LIST"));
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), "A   Nazwa");  // as the format writes it
  EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Stawka");
  EXPECT_EQ(view->model()->index(0, 0).data().toString(), "Bank O'Brien");
  EXPECT_EQ(view->model()->index(1, 2).data().toString(), "3.00");
  EXPECT_FALSE(view->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_FALSE(view->model()->index(1, 0).data(Qt::DecorationRole).isValid());  // icon 0: none
  EXPECT_EQ(view->selectionModel()->selectedRows().value(0).row(), 0);
  auto* insert = static_cast<QPushButton*>(drawn->widgetFor("?INSERT"));
  EXPECT_EQ(insert->text(), "&Dodaj  [Ins]");
  EXPECT_FALSE(drawn->widgetFor("?SELECT")->isVisibleTo(drawn));  // hidden in the resource
  EXPECT_TRUE(drawn->canPerform(FrameAction::Insert));
  EXPECT_FALSE(drawn->canPerform(FrameAction::Select));

  insert->click();
  ASSERT_TRUE(processUntil([&] { return insertPressed.load(); }));
  // The toolbar's "next" moves the procedure's list, and the view follows.
  drawn->perform(FrameAction::Next);
  ASSERT_TRUE(processUntil([&] { return view->selectionModel()->selectedRows().value(0).row() == 1; }));

  // The close box asks the procedure; its window goes once the procedure closed it.
  workspace.subWindowList().first()->close();
  procedure.join();
  EXPECT_TRUE(processUntil([&] { return workspace.subWindowList().isEmpty() && !fe->widgetFor(id); }));
}

TEST(QtFrontEndWindows, LaysOutAFormWithTabsFieldsAndABottomButtonRow) {
  rt::WindowDef def;
  std::string error;
  installed();
  auto loaded = rt::loadWindowDef("slownik$test001", "P1$FORMWINDOW", &error);
  ASSERT_TRUE(loaded) << error;
  auto w = rt::Window::open(*loaded);
  ASSERT_NE(w, nullptr);
  {
    QtWindow drawn(w);
    auto* tabs = qobject_cast<QTabWidget*>(drawn.widgetFor("?SHEET"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "&1) Dane podstawowe");
    auto* ok = qobject_cast<QPushButton*>(drawn.widgetFor("?OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), "Zapisz  [F10]");
    // The buttons sit below the tabs, in the window itself.
    drawn.resize(drawn.minimumSizeHint().expandedTo(QSize(400, 300)));
    drawn.show();
    EXPECT_GT(ok->mapTo(&drawn, QPoint()).y(), tabs->mapTo(&drawn, QPoint()).y() + tabs->height() - 1);
    EXPECT_GE(drawn.minimumWidth(), drawn.minimumFromResource().width());
    // The procedure's value shows; what the user types reaches the window.
    w->setValue("?WAL:NAZWA", "Euro");
    drawn.refresh("?WAL:NAZWA", rt::Property::Value);
    auto* name = qobject_cast<QLineEdit*>(drawn.widgetFor("?WAL:NAZWA"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "Euro");
  }
  w->close();
  rt::closeThreadWindows();
}

}  // namespace
}  // namespace slownik::host
