#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"
#include "framework/classes/window_layouts.h"
#include "framework/data/file_errors.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/runtime/ini_file.h"
#include "framework/sql/catalogue.h"

namespace slownik::fw {
namespace {

namespace fs = std::filesystem;

class IniClassTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("ini_class_" + std::to_string(::getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    savedPath_ = data::glo().PATH_INI.get();
  }
  void TearDown() override {
    data::glo().PATH_INI = savedPath_;
    fs::remove_all(dir_);
  }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }

  static std::shared_ptr<rt::Window> window(const std::string& title) {
    rt::WindowDef def;
    def.type = "P1$BROWSEWINDOW";
    def.caption = title;
    return rt::Window::open(std::move(def));
  }

  fs::path dir_;
  std::string savedPath_;
};

TEST_F(IniClassTest, PlacementIsKeptPerProcedureName) {
  IniClass ini;
  ini.init(file("vex.ini"));
  const Placement vat{10, 20, 640, 480, false};
  const Placement banks{-5, 0, 800, 600, true};
  EXPECT_FALSE(ini.fetch("VAT_Brw").has_value());  // nothing stored yet
  EXPECT_TRUE(ini.update("VAT_Brw", vat));
  EXPECT_TRUE(ini.update("Banki_Brw", banks));
  EXPECT_EQ(ini.fetch("VAT_Brw"), vat);
  EXPECT_EQ(ini.fetch("vat_brw"), vat);  // sections ignore letter case
  EXPECT_EQ(ini.fetch("Banki_Brw"), banks);

  // Another manager on the same file sees it: the placement is in the file, not the object.
  IniClass other;
  other.init(file("vex.ini"));
  EXPECT_EQ(other.fetch("Banki_Brw"), banks);

  // Through a window: restoring hands the placement to the front-end; storing takes what
  // the front-end reports after the person moved the window.
  auto w = window("Stawki VAT");
  ASSERT_TRUE(ini.fetch("VAT_Brw", *w));
  EXPECT_EQ(windowLayouts().get(w->id()).placement, vat);
  const Placement moved{30, 40, 700, 500, false};
  windowLayouts().setPlacement(*w, moved);
  w->close();
  EXPECT_TRUE(ini.update("VAT_Brw", *w));  // a closed window still stores its last placement
  EXPECT_EQ(ini.fetch("VAT_Brw"), moved);
  EXPECT_EQ(ini.fetch("Banki_Brw"), banks);

  // A window the front-end never placed stores nothing.
  auto unshown = window("Nieotwarte");
  EXPECT_FALSE(ini.update("Kraj_Brw", *unshown));
  EXPECT_FALSE(ini.fetch("Kraj_Brw").has_value());
  unshown->close();
}

TEST_F(IniClassTest, DamagedEntriesAreNotRestored) {
  const std::string path = file("damaged.ini");
  {
    std::ofstream out(path);
    out << "[Zly_Brw]\nX=abc\nY=1\nWidth=10\nHeight=10\n"
        << "[Zero_Brw]\nX=1\nY=1\nWidth=0\nHeight=10\n"
        << "[Brak_Brw]\nX=1\nY=1\nWidth=10\n";
  }
  IniClass ini;
  ini.init(path);
  for (const char* section : {"Zly_Brw", "Zero_Brw", "Brak_Brw", ""}) {
    EXPECT_FALSE(ini.fetch(section).has_value()) << section;
  }
}

TEST_F(IniClassTest, UnboundManagerFollowsThePathGlobalAndKillStopsIt) {
  IniClass ini;
  ini.init();
  data::glo().PATH_INI = "";
  EXPECT_FALSE(ini.update("VAT_Brw", Placement{1, 2, 3, 4}));  // no file named: nothing written

  data::glo().PATH_INI = file("first.ini");
  EXPECT_TRUE(ini.update("VAT_Brw", Placement{1, 2, 3, 4}));
  data::glo().PATH_INI = file("second.ini");
  EXPECT_FALSE(ini.fetch("VAT_Brw").has_value());
  EXPECT_TRUE(ini.updateValue("VAT_Brw", "Kolumny", "3"));
  EXPECT_EQ(rt::IniFile(file("first.ini")).get("VAT_Brw", "Width"), "3");
  EXPECT_EQ(rt::IniFile(file("second.ini")).get("VAT_Brw", "Kolumny"), "3");

  ini.kill();
  EXPECT_EQ(ini.fileName(), "");
  EXPECT_FALSE(ini.update("VAT_Brw", Placement{1, 2, 3, 4}));
  EXPECT_EQ(ini.fetchValue("VAT_Brw", "Kolumny"), "");
}

TEST(ErrorClass, ReportsCarryTheProcedureOfTheirThread) {
  ErrorClass errors;
  threadErrorStatus().clear();
  errors.setProcedureName("Banki_Brw");
  errors.setProcedureName("Banki_Upd");  // a form opened from the list
  errors.fileError("BANKI", data::kDuplicateKey, "Taki klucz już istnieje");
  auto last = threadErrorStatus().last();
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->procedure, "Banki_Upd");
  EXPECT_EQ(last->table, "BANKI");
  EXPECT_EQ(last->code, data::kDuplicateKey);

  errors.setProcedureName("");  // the form closes: the list is named again
  EXPECT_EQ(errors.procedureName(), "Banki_Brw");
  errors.sqlError(90, "syntax error");
  EXPECT_EQ(threadErrorStatus().last()->procedure, "Banki_Brw");
  EXPECT_EQ(threadErrorStatus().last()->table, "");
  EXPECT_EQ(threadErrorStatus().count(), 2);

  // Another thread has its own procedure and status.
  std::string otherProcedure = "?";
  int otherCount = -1;
  std::thread([&] {
    otherProcedure = errors.procedureName();
    errors.setProcedureName("VAT_Brw");
    errors.fileError("VAT", 90, "x");
    otherCount = threadErrorStatus().count();
    destroyThreadErrorStatus();
  }).join();
  EXPECT_EQ(otherProcedure, "");
  EXPECT_EQ(otherCount, 1);
  EXPECT_EQ(threadErrorStatus().count(), 2);
  EXPECT_EQ(errors.procedureName(), "Banki_Brw");

  errors.setProcedureName("");
  errors.setProcedureName("");  // more closings than openings leave no name, and no fault
  EXPECT_EQ(errors.procedureName(), "");
}

TEST(ErrorClass, FileManagersReportThroughIt) {
  ErrorClass errors;
  const sql::TableDef* banks = sql::Catalogue::instance().find("BANKI");
  ASSERT_NE(banks, nullptr);
  data::FileManager& manager = data::fileManager(*banks);
  manager.setErrors(&errors);
  errors.setProcedureName("Banki_Upd");
  threadErrorStatus().clear();

  manager.fail(data::kDatabaseError, "Baza odmówiła zapisu");
  ASSERT_TRUE(threadErrorStatus().last().has_value());
  EXPECT_EQ(threadErrorStatus().last()->text, "Baza odmówiła zapisu");
  EXPECT_EQ(threadErrorStatus().last()->procedure, "Banki_Upd");
  manager.fail(data::kRecordNotFound, "Nie znaleziono");  // an expected miss is not an error
  EXPECT_EQ(threadErrorStatus().count(), 1);

  manager.setErrors(nullptr);
  errors.setProcedureName("");
}

TEST(ErrorClass, ThreadStatusIsMadeAndDroppedPerThread) {
  bool before = true;
  bool afterConstruct = false;
  bool afterDestroy = true;
  std::thread([&] {
    before = hasThreadErrorStatus();
    constructThreadErrorStatus();
    afterConstruct = hasThreadErrorStatus();
    destroyThreadErrorStatus();
    afterDestroy = hasThreadErrorStatus();
  }).join();
  EXPECT_FALSE(before);
  EXPECT_TRUE(afterConstruct);
  EXPECT_FALSE(afterDestroy);
}

}  // namespace
}  // namespace slownik::fw
