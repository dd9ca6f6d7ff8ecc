#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "framework/runtime/log.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "support/backends.h"

namespace slownik::rt {
namespace {

class WindowResource : public testing::Test {
 protected:
  void SetUp() override { setResourceRoot(test::sourceDir() + "/tests/fixtures"); }
};

TEST_F(WindowResource, ResourceNamePicksTheFile) {
  EXPECT_EQ(resourceFile("slownik$slown002"), test::sourceDir() + "/tests/fixtures/windows/slown002.json");
  EXPECT_EQ(resourceFile("SLOWNIK$SLOWN034"), test::sourceDir() + "/tests/fixtures/windows/slown034.json");
}

TEST_F(WindowResource, LoadsEveryWindowOfAFile) {
  std::string error;
  auto browse = loadWindowDef("slownik$test001", "P1$BROWSEWINDOW", &error);
  ASSERT_TRUE(browse) << error;
  EXPECT_EQ(browse->caption, "Lista próbna");
  EXPECT_EQ(browse->icon, "lista.ico");
  EXPECT_EQ(browse->minWidth, 230);
  EXPECT_EQ(browse->minHeight, 130);
  ASSERT_EQ(browse->controls.size(), 12u);
  const ControlDef& list = browse->controls[2];
  EXPECT_EQ(list.name, "?LIST");
  EXPECT_EQ(list.kind, ControlKind::List);
  EXPECT_EQ(list.format, "105L(2)|MI~A   Nazwa~@s20@27L(2)|M~Kod~@s3@92R(2)|M~Stawka~L@n-9.2@");
  const ControlDef& insert = browse->controls[8];
  EXPECT_EQ(insert.name, "?INSERT");
  EXPECT_EQ(insert.key, 45);
  EXPECT_EQ(insert.keyLabel, "Ins");
  EXPECT_EQ(browse->controls[insert.parent].kind, ControlKind::Row);
  EXPECT_TRUE(browse->controls[7].hidden);  // ?SELECT

  auto form = loadWindowDef("slownik$test001", "p1$formwindow", &error);  // types ignore letter case
  ASSERT_TRUE(form) << error;
  EXPECT_EQ(form->caption, "Aktualizacja rekordu");
  auto symbol = std::find_if(form->controls.begin(), form->controls.end(),
                             [](const ControlDef& c) { return c.name == "?WAL:SYM_WALUTY"; });
  ASSERT_NE(symbol, form->controls.end());
  EXPECT_TRUE(symbol->required);
  EXPECT_EQ(symbol->picture, "@s3");
  // The entry sits in a row, in a tab, in the sheet.
  const ControlDef& row = form->controls[symbol->parent];
  const ControlDef& tab = form->controls[row.parent];
  EXPECT_EQ(tab.name, "?TAB1");
  EXPECT_EQ(form->controls[tab.parent].name, "?SHEET");

  EXPECT_FALSE(loadWindowDef("slownik$test001", "P1$OKNODOD", &error));
  EXPECT_NE(error.find("P1$OKNODOD"), std::string::npos);
  EXPECT_FALSE(loadWindowDef("slownik$slown999", "P1$WINDOW", &error));
  EXPECT_NE(error.find("slown999.json"), std::string::npos);
}

// Every broken file is refused with a text that names the file and says what is wrong.
TEST_F(WindowResource, BrokenFilesAreRefusedWithTheirName) {
  struct Row {
    const char* label;
    const char* text;
    const char* says;
  };
  const Row rows[] = {
      {"not json", R"({"windows": [ {"type": "P1$WINDOW",, } ]})", "not a valid window file"},
      {"no windows", R"({"okna": []})", "\"windows\""},
      {"unknown kind", R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"slider","name":"?S"}]}]})",
       "unknown control kind \"slider\""},
      {"no kind", R"({"windows":[{"type":"P1$WINDOW","controls":[{"name":"?S"}]}]})", "no \"kind\""},
      {"unknown attribute", R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"entry","name":"?E","colour":1}]}]})",
       "unknown attribute \"colour\""},
      {"twice the same name",
       R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"entry","name":"?E"},{"kind":"button","name":"?E"}]}]})",
       "used twice"},
      {"name without ?", R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"entry","name":"E"}]}]})", "\"?\""},
      {"unknown key", R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"button","name":"?B","key":"F13"}]}]})",
       "unknown key \"F13\""},
      {"tab outside a sheet", R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"tab","name":"?T"}]}]})",
       "inside a sheet"},
      {"radio outside an option",
       R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"radio","name":"?R"}]}]})", "option group"},
      {"children of an entry",
       R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"entry","name":"?E","children":[]}]}]})",
       "holds no controls"},
      {"no type", R"({"windows":[{"caption":"x"}]})", "no \"type\""},
      {"type twice", R"({"windows":[{"type":"P1$WINDOW"},{"type":"P1$WINDOW"}]})", "declared twice"},
      {"bad size", R"({"windows":[{"type":"P1$WINDOW","minSize":[1]}]})", "minSize"},
      {"flag not boolean",
       R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"entry","name":"?E","required":"yes"}]}]})",
       "true or false"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    std::string error;
    EXPECT_FALSE(parseWindowResource(row.text, "windows/bad.json", &error));
    EXPECT_EQ(error.rfind("windows/bad.json", 0), 0u) << error;
    EXPECT_NE(error.find(row.says), std::string::npos) << error;
  }
}

// Opening a window from a broken file shows nothing, logs the reason and leaves the
// process going: the next window opens as usual.
TEST_F(WindowResource, BrokenFileOpensNoWindow) {
  auto dir = std::filesystem::temp_directory_path() / ("slownik_res_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "windows");
  { std::ofstream(dir / "windows" / "slown900.json") << R"({"windows":[{"type":"P1$WINDOW","controls":[{"kind":"gauge"}]}]})"; }
  setResourceRoot(dir.string());
  std::vector<std::string> logged;
  setLogSink([&](std::string_view line) { logged.emplace_back(line); });

  std::string error;
  auto window = Window::open("slownik$slown900", "P1$WINDOW", &error);
  setLogSink({});
  EXPECT_EQ(window, nullptr);
  EXPECT_NE(error.find("slown900.json"), std::string::npos);
  EXPECT_NE(error.find("gauge"), std::string::npos);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("slown900.json"), std::string::npos);
  EXPECT_EQ(activeWindow(), nullptr);

  setResourceRoot(test::sourceDir() + "/tests/fixtures");
  auto good = Window::open("slownik$test001", "P1$BROWSEWINDOW", &error);
  ASSERT_NE(good, nullptr) << error;
  good->close();
  std::filesystem::remove_all(dir);
}

TEST(ControlKinds, NamesReadBack) {
  for (const char* name : {"entry", "prompt", "button", "check", "option", "radio", "list", "combo", "droplist",
                           "spin", "text", "string", "image", "sheet", "tab", "group", "panel", "line", "box",
                           "ellipse", "region", "progress", "row"}) {
    SCOPED_TRACE(name);
    auto kind = controlKindFromName(name);
    ASSERT_TRUE(kind);
    EXPECT_EQ(controlKindName(*kind), name);
  }
  EXPECT_FALSE(controlKindFromName("slider"));
}

}  // namespace
}  // namespace slownik::rt
