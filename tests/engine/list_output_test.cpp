#include "engine/list_output.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/list_window.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"

namespace slownik::engine {
namespace {

namespace fs = std::filesystem;

ListDescriptor countryList() {
  ListDescriptor d;
  d.module = 3;
  d.procedure = "Kraj_Brw";
  d.table = "KRAJE";
  d.sortOrders = {{"KRA:AK_KRAJE_NAZWA_KRAJE", LocatorKind::Filter, "KRA:NAZWA", "?LOKATOR"}};
  d.columns = {"KRA:SYM_KRAJU", "KRA:NAZWA"};
  return d;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class ListOutputTest : public test::WindowFixture {
 protected:
  std::shared_ptr<rt::Window> openList() {
    start([] {
      ListWindow list(countryList());
      list.run();
    });
    return window("Kraje");
  }
  // More countries than the list reads at once, so that the whole list takes several reads.
  void addCountries(int n) {
    const std::string digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; i < n; ++i) {
      const std::string code = std::string("Q") + digits[static_cast<std::size_t>(i / 36)] +
                               digits[static_cast<std::size_t>(i % 36)];
      exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('" + code + "', 'Zkraj " + std::to_string(1000 + i) + "')");
    }
  }
  long countries() { return std::stol(scalar("SELECT COUNT(*) FROM KRAJE")); }
};

TEST_P(ListOutputTest, PrintTakesTheWholeFilteredListNotJustThePage) {
  addCountries(620);
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_LT(rows(w).size(), 100u) << "the list loads one page";
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('P')));
  ASSERT_EQ(fe().printed().size(), 1u);
  const std::string all = fe().printed()[0].html;
  EXPECT_EQ(fe().printed()[0].title, "Kraje");
  EXPECT_EQ(count(all, "<tr>") - 1, static_cast<std::size_t>(countries()));
  EXPECT_NE(all.find("Symbol kraju"), std::string::npos);
  EXPECT_NE(all.find("Demo Handel"), std::string::npos) << "the company heads the print";
  EXPECT_EQ(all.find("Filtr:"), std::string::npos);

  // The filter locator limits the list: the print says so and holds those rows only.
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "Pol"));
  fe().expectPopup("Drukuj");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_EQ(fe().printed().size(), 2u);
  const std::string filtered = fe().printed()[1].html;
  EXPECT_NE(filtered.find("Filtr: zaczyna się od „Pol”"), std::string::npos);
  EXPECT_EQ(count(filtered, "<tr>") - 1,
            static_cast<std::size_t>(std::stol(scalar("SELECT COUNT(*) FROM KRAJE WHERE NAZWA LIKE 'Pol%'"))));
  EXPECT_NE(filtered.find("<td>Polska</td>"), std::string::npos);
  fe().close(w);
}

TEST_P(ListOutputTest, CtrlCCopiesTheSelectedRowWithHeaders) {
  auto w = openList();
  ASSERT_TRUE(w);
  const int row = rowOf(w, 0, "AT");
  ASSERT_GT(row, 0);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('C')));
  EXPECT_EQ(fe().clipboardText(), "Symbol kraju\tNazwa kraju\nAT\tAustria");
  fe().close(w);
}

TEST_P(ListOutputTest, EveryListOffersExportAndPrintAndTheExportOpensItsFile) {
  const fs::path file = fs::temp_directory_path() / ("kraje_" + std::to_string(::getpid()) + "_" + GetParam().name);
  fs::remove(fs::path(file.string() + ".xlsx"));
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(file.string());  // the extension is added
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_EQ(fe().popupsShown().size(), 1u);
  const auto offered = fe().popupsShown()[0];
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Eksport do Excela"), offered.end());
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Drukuj"), offered.end());
  const std::string written = file.string() + ".xlsx";
  EXPECT_TRUE(fs::exists(written));
  EXPECT_GT(fs::file_size(written), 0u);
  EXPECT_EQ(fe().openedLinks(), (std::vector<std::string>{"file://" + written}));
  fe().close(w);
  fs::remove(written);
}

SLOWNIK_ON_ALL_BACKENDS(ListOutputTest);

}  // namespace
}  // namespace slownik::engine
