#include "engine/contractor_list_look.h"

#include <gtest/gtest.h>

#include "framework/classes/window_layouts.h"
#include "framework/data/globals.h"
#include "runtime/headless_test.h"

namespace slownik::engine {
namespace {

class ContractorListLookTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    rt::WindowDef def;
    def.type = "P1$BROWSEWINDOW";
    for (const char* name : {"?LIST", "?ARCHIWUM"}) {
      rt::ControlDef c;
      c.name = name;
      c.kind = rt::ControlKind::List;
      def.controls.push_back(c);
    }
    window_ = rt::Window::open(def);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    setLook("", "", "");
    window_->close();
    HeadlessTest::TearDown();
  }
  static void setLook(std::string height, std::string font, std::string size) {
    data::glo().CONTR_LIST_HEIGHT.set(std::move(height));
    data::glo().CONTR_LIST_FONT.set(std::move(font));
    data::glo().CONTR_LIST_FONT_SIZE.set(std::move(size));
  }
  fw::WindowLayout layout() const { return fw::windowLayouts().get(window_->id()); }

  std::shared_ptr<rt::Window> window_;
};

TEST_F(ContractorListLookTest, EveryNamedListTakesTheKeptLook) {
  setLook("14", " DejaVu Sans ", "11");
  applyContractorListLook(*window_, {"?LIST", "?ARCHIWUM", "?BRAK"});
  const auto l = layout();
  EXPECT_EQ(l.listRowHeights, (std::map<std::string, int>{{"?ARCHIWUM", 14}, {"?LIST", 14}}));
  const fw::ListFont font{"DejaVu Sans", 11};
  EXPECT_EQ(l.listFonts, (std::map<std::string, fw::ListFont>{{"?ARCHIWUM", font}, {"?LIST", font}}));
}

TEST_F(ContractorListLookTest, UnusableSettingsLeaveTheListsOwn) {
  struct Case {
    const char* height;
    const char* font;
    const char* size;
    ContractorListLook expected;
  };
  const Case cases[] = {
      {"", "", "", {0, "", 0}},
      {"0", "", "-3", {0, "", 0}},
      {"12px", "Arial", "9.5", {0, "Arial", 0}},
      {" 16 ", "", " 10", {16, "", 10}},
      {"99999999999", "", "abc", {0, "", 0}},
  };
  for (const Case& c : cases) {
    setLook(c.height, c.font, c.size);
    const ContractorListLook look = contractorListLook();
    EXPECT_EQ(look.rowHeight, c.expected.rowHeight) << c.height;
    EXPECT_EQ(look.font, c.expected.font) << c.font;
    EXPECT_EQ(look.fontSize, c.expected.fontSize) << c.size;
  }

  // Nothing usable: the list keeps its own height and font.
  setLook("x", "", "0");
  applyContractorListLook(*window_, {"?LIST"});
  EXPECT_TRUE(layout().listRowHeights.empty());
  EXPECT_TRUE(layout().listFonts.empty());
  // Only a size: the family stays the window's.
  setLook("", "", "12");
  applyContractorListLook(*window_, {"?LIST"});
  EXPECT_EQ(layout().listFonts.at("?LIST"), (fw::ListFont{"", 12}));
}

}  // namespace
}  // namespace slownik::engine
