// F1 in a dictionary window: its own page, or the module's contents when it has none.
#include <gtest/gtest.h>

#include <string>

#include "engine/record_form.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"

namespace slownik::engine {
namespace {

class PagelessForm : public RecordForm {
 public:
  explicit PagelessForm(std::string page) : RecordForm(descriptor(std::move(page))) {}
  static FormDescriptor descriptor(std::string page) {
    FormDescriptor d;
    d.module = 42;
    d.procedure = "Kraj_Upd";
    d.table = "KRAJE";
    d.titles = {"Dodawanie kraju", "Edycja kraju", "Podgląd kraju"};
    d.firstField = "?KRA:SYM_KRAJU";
    d.helpPage = std::move(page);
    return d;
  }
};

class HelpStartTest : public test::WindowFixture {};

TEST_P(HelpStartTest, F1OpensTheWindowsPageOrTheContents) {
  struct Case {
    const char* page;
    const char* shown;
  };
  for (const Case& c : {Case{"slownik_kraj_upd.htm", "slownik_kraj_upd.htm"}, Case{"", "slownik.htm"}}) {
    SCOPED_TRACE(c.page);
    const std::string page = c.page;
    start([page] {
      data::GLOBALREQUEST() = data::kInsertRecord;
      PagelessForm form(page);
      form.run();
    });
    auto w = window("Dodawanie kraju");
    ASSERT_TRUE(w);
    const std::size_t before = fe().helpPages().size();
    ASSERT_TRUE(fe().press(w, rt::key::F1));
    ASSERT_EQ(fe().helpPages().size(), before + 1);
    const std::string shown = fe().helpPages().back();
    EXPECT_NE(shown.find("/help/" + std::string(c.shown) + "#"), std::string::npos) << shown;
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
  }
}

SLOWNIK_ON_ALL_BACKENDS(HelpStartTest);

}  // namespace
}  // namespace slownik::engine
