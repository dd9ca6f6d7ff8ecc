#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "framework/runtime/error_state.h"
#include "framework/services/excel_export.h"
#include "support/zip_entries.h"

namespace slownik::svc {
namespace {

using test::ZipEntries;

class ExcelExportTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("slownik_xlsx_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    rt::clearError();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

ExportList warehouses() {
  ExportList list;
  list.columns = {{"Symbol", "@s10", 40}, {"Nazwa magazynu", "@s50", 100}, {"Wartość", "@n-12.2", 60}, {"Ilość", "@n6", 30}};
  list.rows = {
      {"MAG1", "Magazyn główny – Łódź", "1 234,56", "12"},
      {"MAG2", "Zażółć gęślą jaźń", "-7.25", ""},
      {"MAG3", "Hurtownia \"Pod Dębem\" & <Syn>", "brak", "3"},
  };
  return list;
}

TEST_F(ExcelExportTest, SpreadsheetHoldsTheListWithPolishLettersAndNumbers) {
  const std::string file = path("magazyny.xlsx");
  ASSERT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), file, "Magazyny"), file) << rt::errorText();
  EXPECT_EQ(rt::errorCode(), 0);

  ZipEntries zip(file);
  ASSERT_TRUE(zip.valid());
  ASSERT_TRUE(zip.contains("xl/worksheets/sheet1.xml"));
  EXPECT_NE(zip.text("xl/workbook.xml").find("name=\"Magazyny\""), std::string::npos);

  const std::string sheet = zip.text("xl/worksheets/sheet1.xml");
  for (const char* text : {"Nazwa magazynu", "Wartość", "Magazyn główny – Łódź", "Zażółć gęślą jaźń",
                           "Hurtownia \"Pod Dębem\" &amp; &lt;Syn&gt;"}) {
    EXPECT_NE(sheet.find(text), std::string::npos) << text;
  }
  // Numbers of numeric columns are numbers; what is no number stays text.
  EXPECT_NE(sheet.find("<v>1234.56</v>"), std::string::npos);
  EXPECT_NE(sheet.find("<v>-7.25</v>"), std::string::npos);
  EXPECT_NE(sheet.find("<v>12</v>"), std::string::npos);
  EXPECT_NE(sheet.find(">brak<"), std::string::npos);
  EXPECT_EQ(sheet.find("<v>MAG1</v>"), std::string::npos);
  // The numeric column shows its two places.
  EXPECT_NE(zip.text("xl/styles.xml").find("formatCode=\"0.00\""), std::string::npos);
}

TEST_F(ExcelExportTest, FailuresAreReportedNotThrown) {
  EXPECT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), path("nie_ma/katalogu/plik.xlsx")), "");
  EXPECT_NE(rt::errorCode(), 0);
  EXPECT_NE(rt::errorText(), "");
  rt::clearError();
  EXPECT_EQ(EXPORTBROWSERTOEXCEL(warehouses(), ""), "");
  EXPECT_NE(rt::errorCode(), 0);
}

TEST_F(ExcelExportTest, AwkwardSheetNamesAndRaggedRowsStillWrite) {
  ExportList list = warehouses();
  list.rows.push_back({"MAG4"});                              // shorter than the header
  list.rows.push_back({"MAG5", "x", "1", "2", "nadmiarowa"});  // longer than the header
  const std::string file = path("dziwne.xlsx");
  ASSERT_EQ(EXPORTBROWSERTOEXCEL(list, file, "'Lista: [magazynów]/2024 — bardzo długa nazwa arkusza'"), file)
      << rt::errorText();
  ZipEntries zip(file);
  ASSERT_TRUE(zip.valid());
  EXPECT_NE(zip.text("xl/worksheets/sheet1.xml").find("MAG5"), std::string::npos);
  EXPECT_EQ(zip.text("xl/worksheets/sheet1.xml").find("nadmiarowa"), std::string::npos);
}

}  // namespace
}  // namespace slownik::svc
