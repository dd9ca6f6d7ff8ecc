#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "framework/runtime/ini_file.h"

namespace slownik::rt {
namespace {

using testing::ElementsAre;

class IniFileTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("slownik_ini_" + std::to_string(::getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini"))
                .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string content() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path_;
};

TEST_F(IniFileTest, WritesAndReadsSectionsAndKeys) {
  IniFile ini(path_);
  EXPECT_EQ(ini.find("VAT_Brw", "X"), std::nullopt);
  EXPECT_EQ(ini.get("VAT_Brw", "X", "10"), "10");
  EXPECT_TRUE(ini.set("VAT_Brw", "X", "120"));
  EXPECT_TRUE(ini.set("VAT_Brw", "Y", "40"));
  EXPECT_TRUE(ini.set("Waluty_Upd", "Nazwa", "Złoty polski 'PLN'"));
  EXPECT_TRUE(ini.set("vat_brw", "x", "130"));  // names ignore letter case; the value is replaced
  EXPECT_EQ(ini.get("VAT_BRW", "X"), "130");
  EXPECT_EQ(IniFile(path_).get("Waluty_Upd", "Nazwa"), "Złoty polski 'PLN'");
  EXPECT_THAT(ini.sections(), ElementsAre("VAT_Brw", "Waluty_Upd"));
  EXPECT_THAT(ini.keys("VAT_Brw"), ElementsAre("X", "Y"));
  EXPECT_EQ(content(), "[VAT_Brw]\r\nX=130\r\nY=40\r\n[Waluty_Upd]\r\nNazwa=Złoty polski 'PLN'\r\n");

  EXPECT_TRUE(ini.remove("VAT_Brw", "Y"));
  EXPECT_TRUE(ini.removeSection("Waluty_Upd"));
  EXPECT_EQ(content(), "[VAT_Brw]\r\nX=130\r\n");
}

TEST_F(IniFileTest, KeepsWhatItDoesNotChange) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "\xEF\xBB\xBF; ustawienia\n[Banki_Brw]\nX = 5 \nW=C:\\Program\\vex\n\n[Inne]\nA=1\n";
  }
  IniFile ini(path_);
  EXPECT_EQ(ini.get("Banki_Brw", "X"), "5");  // spaces round the value are not part of it
  EXPECT_EQ(ini.get("Banki_Brw", "W"), "C:\\Program\\vex");  // backslashes are plain text
  EXPECT_TRUE(ini.set("Banki_Brw", "H", "300"));
  EXPECT_EQ(content(), "; ustawienia\r\n[Banki_Brw]\r\nX = 5 \r\nW=C:\\Program\\vex\r\nH=300\r\n\r\n[Inne]\r\nA=1\r\n");
}

TEST_F(IniFileTest, RefusesWhatWouldBreakTheFile) {
  IniFile ini(path_);
  EXPECT_FALSE(ini.set("S", "K", "dwie\nlinie"));
  EXPECT_FALSE(ini.set("S", "K=", "v"));
  EXPECT_FALSE(ini.set("S]", "K", "v"));
  EXPECT_FALSE(ini.set("S", "  ", "v"));
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_FALSE(IniFile("/nonexistent-dir/x.ini").set("S", "K", "v"));
}

}  // namespace
}  // namespace slownik::rt
