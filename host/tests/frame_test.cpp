// The frame as a new user meets it: one look and Polish texts, a start page, the main
// window where it was left, windows that fit the workspace and fan out, one help window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QThread>
#include <QToolButton>

#include "framework/runtime/window.h"
#include "host/first_run.h"
#include "host/help_window.h"
#include "host/icon_library.h"
#include "host/list_view.h"
#include "host/look.h"
#include "host/main_window.h"
#include "host/procedure_launcher.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"
#include "host/start_page.h"

namespace slownik::host {
namespace {

template <typename Pred>
bool processUntil(Pred done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

Session demoSession() { return {{6100003, "Admin"}, {1, "Demo Sp. z o.o."}, {1, "Magazyn główny"}, {0, ""}}; }

void noop() {}

rt::ControlDef control(const char* name, rt::ControlKind kind, const char* caption = "") {
  rt::ControlDef d;
  d.name = name;
  d.kind = kind;
  d.caption = caption;
  return d;
}

// A list with a long bar of buttons, as the currency list has.
rt::WindowDef wideList(const char* caption) {
  rt::WindowDef def;
  def.resource = "slownik$wide";
  def.type = "P1$BROWSEWINDOW";
  def.caption = caption;
  auto list = control("?LIST", rt::ControlKind::List);
  list.format = "60L(2)|M~Symbol~@s5@120L(2)|M~Nazwa~@s40@";
  rt::ControlDef own = control("?WLASNE", rt::ControlKind::Row);
  rt::ControlDef frameButtons = control("?PRZYCISKI", rt::ControlKind::Row);
  def.controls = {list};
  rt::ControlDef bar = control("?PASEK", rt::ControlKind::Row);
  def.controls.push_back(bar);
  own.parent = 1;  // indices into def.controls: the list, the bar, its two groups
  frameButtons.parent = 1;
  def.controls.push_back(own);
  def.controls.push_back(frameButtons);
  const char* ownButtons[] = {"&Dodaj", "&Zmień", "&Usuń", "Kursy &NBP", "Kursy &ECB", "&Historia kursów",
                              "&Przelicz", "Eksport"};
  int n = 0;
  for (const char* text : ownButtons) {
    static std::vector<std::string> names;
    names.push_back("?B" + std::to_string(n++));
    auto b = control(names.back().c_str(), rt::ControlKind::Button, text);
    b.parent = 2;
    def.controls.push_back(b);
  }
  for (const char* text : {"&Wybierz", "&Zamknij"}) {
    auto b = control(text[1] == 'W' ? "?SELECT" : "?CLOSE", rt::ControlKind::Button, text);
    b.parent = 3;
    def.controls.push_back(b);
  }
  return def;
}

TEST(ProgramLook, FusionWithOurPaletteAndPolishTextsEverywhere) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  const bool translated = applyProgramLook(*app);
  EXPECT_EQ(QApplication::style()->name().toLower(), "fusion");
  EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), programPalette().color(QPalette::Highlight));
  EXPECT_EQ(QLocale().language(), QLocale::Polish);
  EXPECT_EQ(QLocale().firstDayOfWeek(), Qt::Monday);
  ASSERT_TRUE(translated) << "qtbase_pl.qm missing in " << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
  // The text fields' context menu and the standard dialogs' buttons speak Polish.
  EXPECT_NE(QCoreApplication::translate("QLineEdit", "&Undo"), "&Undo");
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_TRUE(applyProgramLook(*app));  // a second call adds no second translator
}

TEST(FirstRun, TheTerminalSaysWhereTheDataIsAndWhoLogsIn) {
  const QString notice = startNotice("sqlite:///home/ala/.local/share/slownik/slownik/slownik.db");
  EXPECT_TRUE(notice.contains("/home/ala/.local/share/slownik/slownik/slownik.db"));
  EXPECT_FALSE(notice.contains("sqlite://"));
  EXPECT_TRUE(notice.contains("Admin"));
  EXPECT_TRUE(notice.contains("hasło puste"));
  for (const char* hidden : {"offscreen", "minimal", "offscreen:fontengine=freetype"})
    EXPECT_TRUE(invisiblePlatformNotice(hidden).contains("QT_QPA_PLATFORM=vnc")) << hidden;
  for (const char* seen : {"xcb", "wayland", "vnc", "vnc:port=5900"}) EXPECT_TRUE(invisiblePlatformNotice(seen).isEmpty()) << seen;
}

// The program itself, where nobody can see its log-in: it says so and ends.
TEST(FirstRun, OffscreenTheProgramStopsInsteadOfWaitingForEver) {
  const QString program = QDir(QCoreApplication::applicationDirPath()).filePath("../slownik");
  if (!QFile::exists(program)) GTEST_SKIP() << "program nie zbudowany: " << program.toStdString();
  QTemporaryDir data;
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", data.path());
  run.setProcessEnvironment(env);
  run.start(program, {"--db", "sqlite://" + data.filePath("demo.db")});
  ASSERT_TRUE(run.waitForFinished(60000)) << "the program waited for a log-in nobody can see";
  const QString said = QString::fromLocal8Bit(run.readAllStandardError());
  EXPECT_NE(run.exitCode(), 0);
  EXPECT_TRUE(said.contains(data.filePath("demo.db"))) << said.toStdString();
  EXPECT_TRUE(said.contains("Admin")) << said.toStdString();
  EXPECT_TRUE(said.contains("QT_QPA_PLATFORM=vnc")) << said.toStdString();
}

TEST(MainWindowPlace, OpensMaximisedFirstAndThenAsTheUserLeftIt) {
  QSettings().clear();
  ProcedureLauncher launcher;
  {
    MainWindow first(demoSession(), {}, &launcher);
    first.showAsLastTime();
    EXPECT_TRUE(first.isMaximized());
    first.showNormal();
    first.setGeometry(40, 50, 900, 640);
    QApplication::processEvents();
    first.close();
  }
  MainWindow again(demoSession(), {}, &launcher);
  again.showAsLastTime();
  QApplication::processEvents();
  EXPECT_FALSE(again.isMaximized());
  EXPECT_EQ(again.size(), QSize(900, 640));
  again.close();
  QSettings().clear();
}

TEST(StartPage, AnEmptyWorkspaceShowsTheMenusMainEntries) {
  struct Entry {
    const char* exportName;
    const char* caption;
    const char* subsystem;
    const char* kind;
    void (*run)();
  };
  const Entry table[] = {{"VAT_BRW", "Stawki VAT", "Podatki", "browse", noop},
                         {"KRAJ_BRW", "Kraje", "Podatki", "browse", noop},
                         {"BANKI_BRW", "Banki", "Banki", "browse", noop}};
  ProcedureLauncher launcher;
  MainWindow frame(demoSession(), entryPointsFromTable(table, 3), &launcher);
  frame.resize(1000, 700);
  frame.show();
  QApplication::processEvents();
  StartPage* page = frame.startPage();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->isVisible());
  QStringList shown;
  for (auto* b : page->findChildren<QToolButton*>()) shown << b->text();
  EXPECT_EQ(shown, (QStringList{"Stawki VAT", "Kraje", "Banki"}));
  EXPECT_EQ(page->geometry(), frame.workspace()->viewport()->rect());

  // A window opens over it: the page goes; the last window closes: it is back.
  auto* sub = frame.workspace()->addSubWindow(new QWidget);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->show();
  EXPECT_TRUE(processUntil([&] { return !page->isVisible(); }));
  sub->close();
  EXPECT_TRUE(processUntil([&] { return page->isVisible(); }));
}

TEST(WindowsThatFit, AWideButtonBarWrapsAndNoMinimumExceedsTheWorkspace) {
  auto w = rt::Window::open(wideList("Waluty"));
  QtWindow drawn(w);
  QPushButton* last = qobject_cast<QPushButton*>(drawn.widgetFor("?CLOSE"));
  ASSERT_NE(last, nullptr);
  int allButtons = 0;
  for (auto* b : drawn.findChildren<QPushButton*>()) allButtons += b->sizeHint().width();
  EXPECT_LT(drawn.minimumSize().width(), allButtons);  // the bar does not decide the width

  drawn.resize(420, 500);
  drawn.show();
  QApplication::processEvents();
  const QRect inside = drawn.rect();
  QList<QRect> taken;
  for (auto* b : drawn.findChildren<QPushButton*>()) {
    const QRect r(b->mapTo(&drawn, QPoint(0, 0)), b->size());
    EXPECT_TRUE(inside.contains(r)) << b->text().toStdString();
    for (const QRect& other : taken) EXPECT_FALSE(other.intersects(r)) << b->text().toStdString();
    taken << r;
  }
  // A resource minimum larger than the workspace is cut to it.
  drawn.setMinimumSize(1165, 900);
  drawn.fitWithin(QSize(1000, 600));
  EXPECT_EQ(drawn.minimumSize(), QSize(1000, 600));
  w->close();
  rt::closeThreadWindows();
}

TEST(WindowsThatFit, NewWindowsFanOutInsideTheWorkspaceShowingFifteenRows) {
  static auto fe = std::make_shared<QtFrontEnd>();
  rt::setFrontEnd(fe);
  QMdiArea workspace;
  fe->setWorkspace(&workspace);
  workspace.resize(1000, 700);
  workspace.show();
  std::vector<std::shared_ptr<rt::Window>> opened;
  for (const char* caption : {"Waluty", "Banki", "Kraje"}) opened.push_back(rt::Window::open(wideList(caption)));
  ASSERT_TRUE(processUntil([&] { return workspace.subWindowList().size() == 3; }));
  QApplication::processEvents();
  const QList<QMdiSubWindow*> subs = workspace.subWindowList(QMdiArea::CreationOrder);
  for (int i = 0; i < subs.size(); ++i) {
    const QRect r = subs[i]->geometry();
    EXPECT_TRUE(workspace.viewport()->rect().contains(r)) << i;
    if (i > 0) {
      EXPECT_GT(r.x(), subs[i - 1]->x()) << i;
      EXPECT_GT(r.y(), subs[i - 1]->y()) << i;
    }
    auto* view = subs[i]->findChild<ListView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_GE(view->viewport()->height(), ListView::kDefaultRows * view->verticalHeader()->defaultSectionSize()) << i;
  }
  for (auto& w : opened) w->close();
  processUntil([&] { return workspace.subWindowList().isEmpty(); });
  rt::closeThreadWindows();
}

TEST(Help, OneWindowServesEveryF1AndEscClosesIt) {
  auto fe = std::make_shared<QtFrontEnd>();
  fe->showHelp("", "kar_fin_walut.htm");
  ASSERT_TRUE(processUntil([] { return HelpWindow::exists() && HelpWindow::instance()->isVisible(); }));
  HelpWindow* help = HelpWindow::instance();
  EXPECT_TRUE(help->browser()->source().toString().endsWith("kar_fin_walut.htm"));
  EXPECT_TRUE(help->windowTitle().contains("Waluty"));
  EXPECT_TRUE(help->browser()->document()->defaultStyleSheet().contains("h1"));
  fe->showHelp("", "kar_fin_bank.htm#kursy");
  ASSERT_TRUE(processUntil([&] { return help->browser()->source().toString().contains("kar_fin_bank.htm"); }));
  EXPECT_EQ(HelpWindow::instance(), help);
  int helpWindows = 0;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == "helpWindow" || qobject_cast<QTextBrowser*>(top)) ++helpWindows;
  EXPECT_EQ(helpWindows, 1);
  QApplication::setActiveWindow(help);
  help->browser()->setFocus();
  QTest::keyClick(help->browser(), Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
  EXPECT_FALSE(help->showTopic("brak_takiej_strony.htm"));
  EXPECT_FALSE(help->isVisible());
}

TEST(Help, TheContentsPageListsEveryPageAndOpensFromTheMenu) {
  ProcedureLauncher launcher;
  MainWindow frame(demoSession(), {}, &launcher);
  QAction* contents = frame.findChild<QAction*>("helpContents");
  ASSERT_NE(contents, nullptr);
  EXPECT_EQ(contents->text(), "&Spis treści");
  contents->trigger();
  HelpWindow* help = HelpWindow::instance();
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->browser()->source().toString().endsWith(HelpWindow::kContentsPage));

  QFile page(HelpWindow::pageFile(HelpWindow::kContentsPage));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(page.readAll());
  QStringList linked;
  QRegularExpression href("href=\"([^\"#]+)");
  for (auto it = href.globalMatch(html); it.hasNext();) linked << it.next().captured(1);
  const QDir dir = QFileInfo(page.fileName()).dir();
  for (const QString& other : dir.entryList({"*.htm", "*.html"}, QDir::Files))
    if (other != HelpWindow::kContentsPage) EXPECT_TRUE(linked.contains(other)) << other.toStdString();
  help->close();
}

}  // namespace
}  // namespace slownik::host
