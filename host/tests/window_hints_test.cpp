#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QThread>
#include <future>
#include <thread>

#include "framework/classes/window_layouts.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"
#include "host/dialog_units.h"
#include "host/focus_frame.h"
#include "host/list_header_view.h"
#include "host/list_view.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"
#include "host/window_hints.h"

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

rt::ControlDef control(const char* name, rt::ControlKind kind, const char* caption = "") {
  rt::ControlDef d;
  d.name = name;
  d.kind = kind;
  d.caption = caption;
  return d;
}

// A small list window: a locator entry, a list and two buttons.
std::shared_ptr<rt::Window> openListWindow() {
  rt::WindowDef def;
  def.resource = "slownik$hints";
  def.type = "P1$BROWSEWINDOW";
  def.caption = "Okno próbne";
  def.minWidth = 120;
  def.minHeight = 60;
  auto prompt = control("?LOKATOR:PROMPT", rt::ControlKind::Prompt, "&Szukaj");
  auto locator = control("?LOKATOR", rt::ControlKind::Entry);
  locator.picture = "@s20";
  locator.tip = "Wpisz początek nazwy";
  auto list = control("?LIST", rt::ControlKind::List);
  list.format = "60L(2)|M~Nazwa~@s20@40L(2)|M~Kod~@s5@";
  auto ok = control("?OK", rt::ControlKind::Button, "Zapisz");
  auto cancel = control("?CANCEL", rt::ControlKind::Button, "Anuluj");
  def.controls = {prompt, locator, list, ok, cancel};
  return rt::Window::open(std::move(def));
}

struct WindowCloser {
  std::shared_ptr<rt::Window> w;
  ~WindowCloser() {
    if (w) w->close();
    rt::closeThreadWindows();
  }
};

TEST(WindowHints, APlacementIsRestoredAndMovesAndResizesAreReportedBack) {
  auto w = openListWindow();
  WindowCloser closer{w};
  ASSERT_NE(w, nullptr);
  fw::windowLayouts().setPlacement(*w, {40, 30, 520, 380, false});
  QtWindow drawn(w);
  drawn.show();
  EXPECT_EQ(drawn.pos(), QPoint(40, 30));
  EXPECT_EQ(drawn.size(), QSize(520, 380));

  drawn.move(70, 55);
  ASSERT_TRUE(processUntil([&] { return fw::windowLayouts().get(w->id()).placement->x == 70; }));
  drawn.resize(600, 410);
  ASSERT_TRUE(processUntil([&] { return fw::windowLayouts().get(w->id()).placement->width == 600; }));
  EXPECT_EQ(*fw::windowLayouts().get(w->id()).placement, (fw::Placement{70, 55, 600, 410, false}));

  // The procedure places the window again (its stored position): the window follows.
  fw::windowLayouts().setPlacement(*w, {20, 25, 500, 360, false});
  drawn.applyLayout();
  EXPECT_EQ(QRect(drawn.pos(), drawn.size()), QRect(20, 25, 500, 360));
  // Smaller than the window can be: it keeps its minimum and says so.
  fw::windowLayouts().setPlacement(*w, {20, 25, 10, 10, false});
  drawn.applyLayout();
  EXPECT_GE(drawn.width(), drawn.minimumWidth());
  ASSERT_TRUE(processUntil([&] { return fw::windowLayouts().get(w->id()).placement->width == drawn.width(); }));
}

TEST(WindowHints, APositionOutOfReachKeepsTheWindowOnTheScreenButTakesItsSize) {
  auto w = openListWindow();
  WindowCloser closer{w};
  fw::windowLayouts().setPlacement(*w, {-9000, 9000, 450, 320, false});
  QtWindow drawn(w);
  drawn.show();
  EXPECT_EQ(drawn.size(), QSize(450, 320));
  EXPECT_TRUE(isReachable(drawn.geometry(), drawn.screen()->availableGeometry()));
  // What is reported back is a place within reach.
  auto reported = *fw::windowLayouts().get(w->id()).placement;
  EXPECT_NE(reported.x, -9000);
  EXPECT_NE(reported.y, 9000);
  EXPECT_EQ(reported.width, 450);
}

TEST(WindowHints, ReachableAreasAsATable) {
  const QRect screen(0, 0, 1280, 1024);
  struct Row {
    QRect rect;
    bool reachable;
  } rows[] = {
      {{10, 10, 400, 300}, true},      {{1000, 900, 400, 300}, true},   {{-300, 10, 400, 300}, true},
      {{-390, 10, 400, 300}, false},   {{10, -5, 400, 300}, false},     {{1260, 10, 400, 300}, false},
      {{10, 1020, 400, 300}, false},   {{3000, 3000, 400, 300}, false}, {{10, 10, 0, 0}, false},
  };
  for (const Row& r : rows) EXPECT_EQ(isReachable(r.rect, screen), r.reachable) << r.rect.x() << "," << r.rect.y();
  EXPECT_FALSE(isReachable({10, 10, 100, 100}, QRect()));
}

TEST(WindowHints, PlacementInAWorkspaceMovesTheSubWindowAndFollowsTheProcedure) {
  static std::shared_ptr<QtFrontEnd> fe = [] {
    auto f = std::make_shared<QtFrontEnd>();
    rt::setFrontEnd(f);
    return f;
  }();
  QMdiArea workspace;
  workspace.resize(900, 700);
  workspace.show();
  fe->setWorkspace(&workspace);

  std::promise<int> opened;
  std::promise<void> placedAgain;
  std::shared_future<void> goOn = placedAgain.get_future().share();
  std::thread procedure([&] {
    auto w = openListWindow();
    if (!w) {
      opened.set_value(-1);
      return;
    }
    fw::windowLayouts().setPlacement(*w, {30, 20, 420, 300, false});
    opened.set_value(w->id());
    goOn.wait();
    fw::windowLayouts().setPlacement(*w, {60, 50, 440, 320, false});  // heard through the listener
    while (w->nextEvent().code != rt::event::CloseWindow) {
    }
    w->close();
    rt::closeThreadWindows();
  });
  const int id = opened.get_future().get();
  ASSERT_GT(id, 0);
  QtWindow* drawn = nullptr;
  ASSERT_TRUE(processUntil([&] { return (drawn = fe->widgetFor(id)) && drawn->isVisible(); }));
  auto* sub = qobject_cast<QMdiSubWindow*>(drawn->parentWidget());
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->geometry(), QRect(30, 20, 420, 300));
  placedAgain.set_value();
  EXPECT_TRUE(processUntil([&] { return sub->geometry() == QRect(60, 50, 440, 320); }));
  sub->move(80, 90);
  EXPECT_TRUE(processUntil([&] { return fw::windowLayouts().get(id).placement->x == 80; }));
  EXPECT_EQ(fw::windowLayouts().get(id).placement->y, 90);
  sub->close();
  procedure.join();
  processUntil([&] { return !fe->widgetFor(id); });
  fe->setWorkspace(nullptr);
}

TEST(WindowHints, ResizerRulesRowHeightsGridColoursAndTheme) {
  auto w = openListWindow();
  WindowCloser closer{w};
  QtWindow drawn(w);
  fw::windowLayouts().update(*w, [](fw::WindowLayout& l) {
    l.rules = {{"?LIST", fw::Anchor::Start, fw::Anchor::Start, fw::Stretch::Width},
               {"?LOKATOR", fw::Anchor::End, fw::Anchor::Start, fw::Stretch::None}};
    l.listRowHeights["?LIST"] = 16;
    l.gridColors["?LIST"] = 0x0000FF;  // red
    l.themed = true;
  });
  drawn.applyLayout();
  auto* list = static_cast<ListView*>(drawn.widgetFor("?LIST"));
  EXPECT_EQ(list->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
  EXPECT_NE(list->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);  // it no longer grows downwards
  QWidget* locator = drawn.widgetFor("?LOKATOR");
  EXPECT_FALSE(locator->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag);
  QLayout* holding = layoutHolding(locator);
  ASSERT_NE(holding, nullptr);
  EXPECT_EQ(holding->itemAt(holding->indexOf(locator))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(list->verticalHeader()->defaultSectionSize(), DialogUnits(list->font()).y(16));
  EXPECT_TRUE(list->styleSheet().contains("#ff0000"));
  EXPECT_TRUE(drawn.autoFillBackground());
  EXPECT_NE(drawn.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
}

TEST(WindowHints, AListsOwnFontSetsItsRowsAndTheRowHeightIsMeasuredInIt) {
  auto w = openListWindow();
  WindowCloser closer{w};
  QtWindow drawn(w);
  auto* list = static_cast<ListView*>(drawn.widgetFor("?LIST"));
  const int windowPoints = drawn.font().pointSize();
  const int bigger = windowPoints + 6;
  fw::windowLayouts().update(*w, [&](fw::WindowLayout& l) {
    l.listFonts["?LIST"] = {"", bigger};
    l.listRowHeights["?LIST"] = 12;
  });
  drawn.applyLayout();
  EXPECT_EQ(list->font().pointSize(), bigger);
  EXPECT_GE(list->columnWidth(0), list->header()->fontMetrics().horizontalAdvance("Nazwa")) << "the header still fits";
  EXPECT_EQ(list->verticalHeader()->defaultSectionSize(), DialogUnits(list->font()).y(12));
  EXPECT_GT(DialogUnits(list->font()).y(12), DialogUnits(drawn.font()).y(12));

  // Back to the window's size when the setting goes.
  fw::windowLayouts().update(*w, [&](fw::WindowLayout& l) { l.listFonts["?LIST"] = {"", 0}; });
  drawn.applyLayout();
  EXPECT_EQ(list->font().pointSize(), windowPoints);
}

TEST(WindowHints, ASplitterDividesTwoControlsAndReportsItsOffset) {
  rt::WindowDef def;
  def.resource = "slownik$split";
  def.type = "P1$WINDOW";
  auto row = control("?WIERSZ", rt::ControlKind::Row);
  auto left = control("?LEWA", rt::ControlKind::Text);
  left.parent = 0;
  auto right = control("?PRAWA", rt::ControlKind::Text);
  right.parent = 0;
  auto divider = control("?SPLIT", rt::ControlKind::Panel);
  def.controls = {row, left, right, divider};
  auto w = rt::Window::open(std::move(def));
  WindowCloser closer{w};
  ASSERT_NE(w, nullptr);
  QtWindow drawn(w);
  drawn.resize(600, 300);
  drawn.show();
  fw::windowLayouts().update(*w, [](fw::WindowLayout& l) { l.splitters = {{"?SPLIT", "?LEWA", "?PRAWA", true}}; });
  drawn.applyLayout();
  QApplication::processEvents();  // the splitter is laid out
  auto* splitter = qobject_cast<QSplitter*>(drawn.widgetFor("?LEWA")->parentWidget());
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(splitter->orientation(), Qt::Horizontal);
  EXPECT_EQ(splitter->widget(1), drawn.widgetFor("?PRAWA"));
  EXPECT_FALSE(drawn.widgetFor("?SPLIT")->isVisible());
  // The procedure's offset moves the divider; applying the layout again changes nothing.
  const int before = splitter->sizes()[0];
  w->setValue("?SPLIT", "40");
  drawn.refresh("?SPLIT", rt::Property::Value);
  EXPECT_EQ(splitter->sizes()[0], before + 40);
  drawn.applyLayout();
  EXPECT_EQ(qobject_cast<QSplitter*>(drawn.widgetFor("?LEWA")->parentWidget()), splitter);
  // The person drags it back: the offset goes to the control's value.
  QSplitterHandle* handle = splitter->handle(1);
  const QPoint grip = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(handle, grip - QPoint(50, 0));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(50, 0));
  ASSERT_LT(splitter->sizes()[0], before + 40);
  EXPECT_EQ(w->value("?SPLIT"), std::to_string(splitter->sizes()[0] - before));
}

TEST(WindowHints, TheNarrowListBesideASplitterKeepsTheWidthOfItsEntries) {
  rt::WindowDef def;
  def.resource = "slownik$tree";
  def.type = "P1$BROWSEWINDOW";
  auto row = control("?LISTY", rt::ControlKind::Row);
  auto list = control("?LIST", rt::ControlKind::List);
  list.parent = 0;
  list.format = "120L(2)|M~Nazwisko i imię~@s99@100L(2)|M~PESEL~@s20@100L(2)|M~NIP~@s20@";
  auto divider = control("?VSPLIT", rt::ControlKind::Region);
  divider.parent = 0;
  auto tree = control("?ARCHIWUM", rt::ControlKind::List);
  tree.parent = 0;
  tree.format = "80L(2)|I~Archiwum~@s20@";
  def.controls = {row, list, divider, tree};
  auto w = rt::Window::open(std::move(def));
  ASSERT_NE(w, nullptr);
  WindowCloser closer{w};
  w->setRows("?ARCHIWUM", {{"Wszystko", "1"}, {"Aktualni", "1"}, {"Archiwum", "1"}});
  QtWindow drawn(w);
  drawn.resize(500, 300);
  drawn.show();
  fw::windowLayouts().update(*w, [](fw::WindowLayout& l) { l.splitters = {{"?VSPLIT", "?LIST", "?ARCHIWUM", true}}; });
  drawn.applyLayout();
  QApplication::processEvents();
  auto* treeView = static_cast<ListView*>(drawn.widgetFor("?ARCHIWUM"));
  auto* splitter = qobject_cast<QSplitter*>(treeView->parentWidget());
  ASSERT_NE(splitter, nullptr);
  // Each entry shows whole: its text after the folder icon, with a margin.
  const int needed = treeView->fontMetrics().horizontalAdvance("Wszystko") + 16 + treeView->fontMetrics().averageCharWidth() * 2;
  EXPECT_GE(treeView->columnWidth(0), needed);
  EXPECT_GE(treeView->viewport()->width(), needed) << "the tree got the room its column asks";
  // Dragged towards the tree, the divider stops where the tree's column still shows.
  QSplitterHandle* handle = splitter->handle(1);
  const QPoint grip = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(handle, grip + QPoint(400, 0));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(400, 0));
  EXPECT_GE(treeView->viewport()->width(), needed);
  // A wider window widens the list, not the tree.
  const int treeWidth = treeView->width();
  drawn.resize(900, 300);
  QApplication::processEvents();
  EXPECT_EQ(treeView->width(), treeWidth);
}

TEST(WindowHints, BalloonTipsWhileTheManagerHasTheWindow) {
  auto w = openListWindow();
  WindowCloser closer{w};
  QtWindow drawn(w);
  EXPECT_EQ(drawn.tipFor("?LOKATOR"), "Wpisz początek nazwy");
  fw::XTOOLTIP().init(fw::XTooltipClass::kBalloonStyle, "Informacja <i>", true);
  fw::XTOOLTIP().addWindow(*w);
  EXPECT_EQ(drawn.tipFor("?LOKATOR"), "<b>Informacja &lt;i&gt;</b><br>Wpisz początek nazwy");
  EXPECT_EQ(drawn.tipFor("?LIST"), "");  // no tip, no balloon
  fw::XTOOLTIP().kill();
  EXPECT_EQ(drawn.tipFor("?LOKATOR"), "Wpisz początek nazwy");
}

TEST(WindowControls, ControlsCreatedAndDestroyedAtRunTimeKeepTheWindowWhole) {
  auto w = openListWindow();
  WindowCloser closer{w};
  QtWindow drawn(w);
  drawn.show();
  const std::string marker = "?LIST:SORTMARKER";
  ASSERT_TRUE(w->createControl(marker, rt::ControlKind::Panel));
  drawn.refresh(marker, rt::Property::Created);
  w->hide(marker);
  drawn.refresh(marker, rt::Property::Hidden);
  auto* panel = qobject_cast<QFrame*>(drawn.widgetFor(marker));
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->isVisible());
  // Pressed: the marker shows the header sunken.
  w->setText(marker, "Nazwa");
  drawn.refresh(marker, rt::Property::Text);
  w->setValue(marker, "1");
  drawn.refresh(marker, rt::Property::Value);
  w->unhide(marker);
  drawn.refresh(marker, rt::Property::Hidden);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  auto* caption = panel->findChild<QLabel*>();
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), "Nazwa");

  // A change reported twice, or for a control already gone, changes nothing.
  drawn.refresh(marker, rt::Property::Created);
  EXPECT_EQ(drawn.widgetFor(marker), panel);
  ASSERT_TRUE(w->destroyControl(marker));
  drawn.refresh(marker, rt::Property::Destroyed);
  drawn.refresh(marker, rt::Property::Text);
  EXPECT_EQ(drawn.widgetFor(marker), nullptr);
  QApplication::processEvents();
  // The rest of the window still works.
  w->setValue("?LOKATOR", "Pol");
  drawn.refresh("?LOKATOR", rt::Property::Value);
  EXPECT_EQ(static_cast<QLineEdit*>(drawn.widgetFor("?LOKATOR"))->text(), "Pol");
  EXPECT_EQ(drawn.grab().isNull(), false);
}

TEST(WindowControls, TheHighlightersColoursFrameAndWeight) {
  auto w = openListWindow();
  WindowCloser closer{w};
  QtWindow drawn(w);
  drawn.show();
  w->setBackColor("?LOKATOR", 0xE0FFFF);  // light yellow
  w->setFrameColor("?LOKATOR", 0x0000FF);
  w->setFontWeight("?LOKATOR", rt::kBoldWeight);
  for (auto p : {rt::Property::BackColor, rt::Property::FrameColor, rt::Property::FontWeight}) drawn.refresh("?LOKATOR", p);
  QWidget* locator = drawn.widgetFor("?LOKATOR");
  EXPECT_EQ(locator->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
  EXPECT_TRUE(locator->font().bold());
  FocusFrame* frame = drawn.frameFor("?LOKATOR");
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->color(), QColor(0xFF, 0, 0));
  EXPECT_TRUE(frame->geometry().contains(locator->geometry()));
  EXPECT_NE(frame->geometry(), locator->geometry());  // just outside, not over the text

  w->setBackColor("?LOKATOR", rt::kNoColor);
  w->setFrameColor("?LOKATOR", rt::kNoColor);
  w->setFontWeight("?LOKATOR", rt::kNormalWeight);
  for (auto p : {rt::Property::BackColor, rt::Property::FrameColor, rt::Property::FontWeight}) drawn.refresh("?LOKATOR", p);
  EXPECT_EQ(locator->palette().color(QPalette::Base), drawn.palette().color(QPalette::Base));
  EXPECT_FALSE(locator->font().bold());
  EXPECT_FALSE(frame->isVisible());
}

}  // namespace
}  // namespace slownik::host
