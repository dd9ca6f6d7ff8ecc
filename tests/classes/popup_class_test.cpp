#include <gtest/gtest.h>

#include "framework/classes/browser_popup.h"
#include "framework/classes/popup_class.h"
#include "framework/runtime/event.h"
#include "runtime/headless_test.h"

namespace slownik::fw {
namespace {

using test::HeadlessTest;

rt::WindowDef listWindow() {
  rt::WindowDef def;
  def.resource = "slownik$popuptest";
  def.type = "P1$BROWSEWINDOW";
  def.caption = "Lista z menu";
  for (auto [name, caption] : {std::pair{"?LIST", ""}, {"?INSERT", "&Dodaj"}, {"?CHANGE", "&Popraw"},
                               {"?SELECT", "&Wybierz"}, {"?AKTYWNA", "&Aktywna"}}) {
    rt::ControlDef c;
    c.name = name;
    c.caption = caption;
    c.kind = std::string_view(name) == "?LIST" ? rt::ControlKind::List : rt::ControlKind::Button;
    def.controls.push_back(c);
  }
  return def;
}

class PopupTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    window_ = rt::Window::open(listWindow());
    ASSERT_NE(window_, nullptr);
    (void)window_->nextEvent(std::chrono::milliseconds(0));  // the window's opening event
  }
  void TearDown() override {
    window_->close();
    HeadlessTest::TearDown();
  }
  // The buttons pressed since the last call (a click also focuses, which is not asked here).
  std::vector<std::string> pressed() {
    std::vector<std::string> controls;
    while (auto e = window_->nextEvent(std::chrono::milliseconds(0))) {
      if (e->code == rt::event::Accepted) controls.push_back(e->control);
    }
    return controls;
  }

  std::shared_ptr<rt::Window> window_;
};

TEST_F(PopupTest, SubmenusNestByLevelAndAnswerWithTheItemName) {
  PopupClass popup;
  popup.init(window_);
  popup.addItem("Eksport do Excela", "ExportBrowserToExcel");
  popup.addItem("-");
  popup.addItem("Sortuj");
  popup.addItem("Nazwa", "SortNazwa", 2);
  popup.addItem("Kod", "SortKod", 2);
  popup.addItem("Malejąco", "SortDesc", 3);
  popup.addItem("Odśwież");

  fe().expectPopup("Sortuj/Kod/Malejąco");
  EXPECT_EQ(popup.ask(), "SortDesc");
  fe().expectPopup("Odśwież");
  EXPECT_EQ(popup.ask(), "Odśwież");  // a name made from the text
  fe().expectPopup("");
  EXPECT_EQ(popup.ask(), "");  // dismissed

  ASSERT_EQ(fe().popupsShown().size(), 3u);
  EXPECT_EQ(fe().popupsShown()[0],
            (std::vector<std::string>{"Eksport do Excela", "Sortuj/Nazwa", "Sortuj/Kod/Malejąco", "Odśwież"}));

  // A level set later moves an item out of the submenu; a second separator gets a name of its own.
  EXPECT_TRUE(popup.setLevel("SortKod", 1));
  EXPECT_NE(popup.addItem("-"), popup.items()[1].name);
  std::vector<std::string> names;
  popup.menu(&names);
  EXPECT_EQ(names, (std::vector<std::string>{"ExportBrowserToExcel", "SortNazwa", "SortDesc", "Odśwież"}));
  EXPECT_FALSE(popup.setText("NieMa", "x"));
}

TEST_F(PopupTest, MimicItemsPressTheirButtonAndFollowItsState) {
  PopupClass popup;
  popup.init(window_);
  popup.addItemMimic("Insert", "?INSERT");
  popup.addItemMimic("Change", "?CHANGE");
  popup.addItemMimic("Select", "?SELECT");
  popup.addItemMimic("Aktywna", "?AKTYWNA", "Aktywna <F4>");
  EXPECT_EQ(USTAW4IKONYBROWSERA(popup, 1), 3);  // Insert, Change, Select; no Delete here

  window_->hide("?SELECT");
  window_->disable("?CHANGE");
  auto entries = popup.menu();
  ASSERT_EQ(entries.size(), 3u);  // the hidden button offers nothing
  EXPECT_EQ(entries[0].text, "Dodaj");
  EXPECT_EQ(entries[0].icon, "~dodaj2.ico");
  EXPECT_EQ(entries[1].icon, "~Popraw2.ico");
  EXPECT_FALSE(entries[1].enabled);  // greyed with its button
  EXPECT_EQ(entries[2].text, "Aktywna <F4>");
  EXPECT_EQ(entries[2].icon, "");

  fe().expectPopup("Dodaj");
  EXPECT_EQ(popup.ask(), "Insert");
  EXPECT_EQ(pressed(), std::vector<std::string>{"?INSERT"});

  // Choosing the item of a disabled button presses nothing.
  fe().expectPopup("Popraw");
  EXPECT_EQ(popup.ask(), "");
  EXPECT_TRUE(pressed().empty());

  popup.kill();
  EXPECT_TRUE(popup.items().empty());
  EXPECT_EQ(popup.ask(), "");  // an empty menu is not shown
  EXPECT_EQ(fe().popupsShown().size(), 2u);
}

TEST_F(PopupTest, StandardIconsWithoutTextsKeepTheCallersTexts) {
  PopupClass popup;
  popup.init();
  popup.addItem("Nowy", "Insert");
  popup.addItem("Usuń wiersz", "Delete");
  popup.addItem("Inne");
  EXPECT_EQ(USTAW4IKONYBROWSERA(popup), 2);
  EXPECT_EQ(popup.items()[0].text, "Nowy");
  EXPECT_EQ(popup.items()[1].icon, "~Usun2.ico");
  EXPECT_EQ(popup.items()[2].icon, "");
}

}  // namespace
}  // namespace slownik::fw
