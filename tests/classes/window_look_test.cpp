#include <gtest/gtest.h>

#include "framework/classes/select_file_class.h"
#include "framework/classes/split_manager.h"
#include "framework/classes/theme_classes.h"
#include "framework/classes/window_layouts.h"
#include "framework/classes/window_resize_class.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/runtime/keys.h"
#include "framework/services/help_viewer.h"
#include "framework/services/window_services.h"
#include "runtime/headless_test.h"

namespace slownik::fw {
namespace {

rt::WindowDef browseWindow() {
  rt::WindowDef def;
  def.type = "P1$BROWSEWINDOW";
  def.caption = "Lista pracowników";
  auto add = [&](const char* name, rt::ControlKind kind, const char* tip = "") {
    rt::ControlDef c;
    c.name = name;
    c.kind = kind;
    c.tip = tip;
    def.controls.push_back(c);
  };
  add("?NAGLOWEK", rt::ControlKind::Image);
  add("?LIST", rt::ControlKind::List, "Lista pracowników firmy");
  add("?VSPLIT", rt::ControlKind::Region);
  add("?ARCHIWUM", rt::ControlKind::List);
  add("?CLOSE", rt::ControlKind::Button);
  return def;
}

class WindowLookTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    window_ = rt::Window::open(browseWindow());
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    window_->close();
    HeadlessTest::TearDown();
  }
  WindowLayout layout() const { return windowLayouts().get(window_->id()); }

  std::shared_ptr<rt::Window> window_;
};

TEST_F(WindowLookTest, ResizerStrategiesBecomeLayoutRules) {
  int notified = 0;
  windowLayouts().setListener([&](int id) { notified += id == window_->id(); });
  WindowResizeClass resizer;
  resizer.init(window_);
  EXPECT_TRUE(resizer.setStrategy("?LIST", Anchor::Start, Anchor::Start, Stretch::Both));
  EXPECT_TRUE(resizer.setStrategy("?NAGLOWEK", Anchor::Start, Anchor::Start, Stretch::Width));
  EXPECT_TRUE(resizer.setStrategy("?CLOSE", Anchor::Nearest, Anchor::End, Stretch::None));
  EXPECT_TRUE(resizer.setStrategy("?CLOSE", Anchor::End, Anchor::End, Stretch::None));  // replaces
  EXPECT_FALSE(resizer.setStrategy("?BRAK", Anchor::Start, Anchor::Start, Stretch::Both));
  EXPECT_TRUE(layout().rules.empty());  // nothing reaches the front-end before apply()
  resizer.apply();
  windowLayouts().setListener({});

  const std::vector<LayoutRule> expected{{"?LIST", Anchor::Start, Anchor::Start, Stretch::Both},
                                         {"?NAGLOWEK", Anchor::Start, Anchor::Start, Stretch::Width},
                                         {"?CLOSE", Anchor::End, Anchor::End, Stretch::None}};
  EXPECT_EQ(layout().rules, expected);
  EXPECT_EQ(notified, 1);
}

TEST_F(WindowLookTest, ThemeColoursOnlyWhatTheWindowHas) {
  PxpGlobalClass& theme = PXPGlobal();
  bool was = theme.isThemeActive();
  theme.setThemeActive(true);
  EXPECT_TRUE(PXPGlobal().isThemeActive());
  theme.setThemeActive(was);

  setListRowHeight(*window_, "?LIST", 12);
  PxpWindowClass look;
  look.init(window_);
  look.setWindowColor();
  look.setListBoxDefaultLineHeight("?LIST", 11);
  look.setGridColor("?LIST");
  look.setGridColor("?BRAK");
  setListRowHeight(*window_, "?ARCHIWUM", 0);  // no such height
  auto l = layout();
  EXPECT_TRUE(l.themed);
  EXPECT_EQ(l.listRowHeights, (std::map<std::string, int>{{"?LIST", 11}}));
  EXPECT_EQ(l.gridColors, (std::map<std::string, long>{{"?LIST", 11913158}}));
}

TEST_F(WindowLookTest, TooltipBalloonsForRegisteredWindowsOnly) {
  XTooltipClass tips;
  tips.init(XTooltipClass::kBalloonStyle, "Informacja", true);
  EXPECT_FALSE(tips.balloonFor(*window_, "?LIST").has_value());  // not registered yet
  tips.addWindow(*window_);
  auto balloon = tips.balloonFor(*window_, "?LIST");
  ASSERT_TRUE(balloon.has_value());
  EXPECT_EQ(balloon->title, "Informacja");
  EXPECT_EQ(balloon->text, "Lista pracowników firmy");
  EXPECT_FALSE(tips.balloonFor(*window_, "?CLOSE").has_value());  // no tip of its own

  window_->setTip("?CLOSE", "Zamyka okno");  // a tip set at run time shows as well
  EXPECT_EQ(tips.balloonFor(*window_, "?CLOSE")->text, "Zamyka okno");

  tips.removeWindow(*window_);
  EXPECT_FALSE(tips.isRegistered(window_->id()));
  tips.addWindow(*window_);
  tips.kill();
  EXPECT_FALSE(tips.isOn());
  EXPECT_FALSE(tips.balloonFor(*window_, "?LIST").has_value());
  tips.addWindow(*window_);  // a manager that is off takes nobody
  EXPECT_FALSE(tips.isRegistered(window_->id()));
}

TEST_F(WindowLookTest, SplitterOffsetIsTheSplitterValue) {
  SplitManager split;
  EXPECT_FALSE(split.init(window_, "?VSPLIT", "?LIST", "?BRAK"));
  ASSERT_TRUE(split.init(window_, "?VSPLIT", "?LIST", "?ARCHIWUM"));
  EXPECT_EQ(layout().splitters, (std::vector<SplitterRule>{{"?VSPLIT", "?LIST", "?ARCHIWUM", true}}));
  EXPECT_EQ(split.offset(), 0);
  EXPECT_EQ(svc::USTAWSPLIT(*window_, "?VSPLIT", -35), 0);
  EXPECT_EQ(split.offset(), -35);
  split.setOffset(120);
  EXPECT_EQ(window_->value("?VSPLIT"), "120");
  EXPECT_EQ(svc::USTAWSPLIT(*window_, "?BRAK", 5), -1);
  window_->setValue("?VSPLIT", "szeroko");  // whatever else is there counts as no offset
  EXPECT_EQ(split.offset(), 0);
}

TEST_F(WindowLookTest, MaximiseRequestsAndCalendar) {
  struct Case {
    rt::Event event;
    int answer;
  };
  for (const Case& c : {Case{rt::Event{rt::event::Sized}, 1}, Case{rt::Event{rt::event::GainFocus}, 0},
                        Case{rt::Event{rt::event::Sized, "?LIST"}, 0}, Case{rt::Event{rt::event::Accepted, "?CLOSE"}, 0}}) {
    EXPECT_EQ(svc::MAKSYMALIZUJ(c.event), c.answer) << c.event.code << " " << c.event.control;
  }

  fe().expectDate(80000);
  EXPECT_EQ(svc::KALENDARZ(100, 215, 79990), 80000);
  fe().expectDate(std::nullopt);  // cancelled: the date stays
  EXPECT_EQ(svc::KALENDARZ(100, 215, 79990), 79990);

  // Placed at the control that has the focus (the button just pressed), the offset in
  // dialog units; or at a control named by the caller, 15 units below it.
  ASSERT_TRUE(window_->select("?CLOSE"));
  fe().expectDate(80001);
  EXPECT_EQ(svc::KALENDARZ(4, 8, 0), 80001);
  fe().expectDate(80002);
  EXPECT_EQ(svc::KALENDARZ(window_, "?LIST", 79990), 80002);
  const auto shown = fe().calendarsShown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[2].window, window_->id());
  EXPECT_EQ(shown[2].control, "?CLOSE");
  EXPECT_EQ(std::make_pair(shown[2].dx, shown[2].dy), std::make_pair(4, 8));
  EXPECT_EQ(shown[3].control, "?LIST");
  EXPECT_EQ(std::make_pair(shown[3].dx, shown[3].dy), std::make_pair(0, 15));
}

TEST_F(WindowLookTest, HelpPageOnF1) {
  svc::HelpViewer help;
  help.init(window_, "C:\\VEX\\vex2000.chm", 123);
  EXPECT_FALSE(help.show());  // no page yet
  help.setTopic("kar_prac.htm");
  EXPECT_TRUE(window_->isAlerted(rt::key::F1));

  EXPECT_EQ(window_->pressKey(rt::key::F1), "");
  std::optional<rt::Event> e;
  while ((e = window_->nextEvent(std::chrono::milliseconds(0))) && e->code != rt::event::AlertKey) {
  }
  ASSERT_TRUE(e.has_value());
  EXPECT_TRUE(help.takeEvent(*e));
  EXPECT_FALSE(help.takeEvent(rt::Event{rt::event::AlertKey, "", rt::key::F2}));
  ASSERT_EQ(fe().helpPages().size(), 1u);
  EXPECT_NE(fe().helpPages()[0].find("/help/kar_prac.htm"), std::string::npos);
  EXPECT_NE(fe().helpPages()[0].find("#kar_prac.htm"), std::string::npos);

  help.kill();
  EXPECT_FALSE(window_->isAlerted(rt::key::F1));
  EXPECT_FALSE(help.show());
  EXPECT_EQ(fe().helpPages().size(), 1u);
}

TEST_F(WindowLookTest, FileChooserGivesThePathOrNothingWhenCancelled) {
  SelectFileClass chooser;
  chooser.init("Wybierz plik", "Pliki DBF|*.dbf", "/dane");
  fe().expectFile("/import/kir/ODDZIALY.DBF");
  EXPECT_EQ(chooser.ask(), "/import/kir/ODDZIALY.DBF");
  fe().expectFile(std::nullopt);
  EXPECT_EQ(chooser.ask(), std::nullopt);
  chooser.setDirectoryOnly(true);
  fe().expectFile("/import/nowe");
  EXPECT_EQ(chooser.ask(), "/import/nowe");
}

}  // namespace
}  // namespace slownik::fw
