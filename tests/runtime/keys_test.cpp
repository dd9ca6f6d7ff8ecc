#include <gtest/gtest.h>

#include "framework/runtime/keys.h"

namespace slownik::rt {
namespace {

// The codes the module's windows name, with the text a resource writes for them.
TEST(Keys, NamesAndCodes) {
  struct Row {
    const char* name;
    int code;
  };
  const Row rows[] = {
      {"Alt", 1024},         {"Shift+F10", 377}, {"Ctrl+Shift+F10", 889},
      {"734", 734},          {"257", 257},       {"513", 513},            {"269", 269},
      {"272", 272},          {"Enter", 13},      {"Esc", 27},             {"Ins", 45},
      {"Del", 46},           {"F2", 113},        {"F4", 115},             {"F5", 116},
      {"F10", 121},          {"Up", 38},         {"Down", 40},            {"Tab", 9},
      {"Shift+Tab", 265},    {"Ctrl+B", 512 + 'B'}, {"ctrl+r", 512 + 'R'}, {"Shift+F2", 256 + 113},
      {"Shift+Ins", 256 + 45}, {"Ctrl+F10", 512 + 121}, {"Alt+D", 1024 + 'D'}, {"F12", 123},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(keyFromName(row.name), row.code);
  }
  EXPECT_EQ(key::History, 734);
  EXPECT_EQ(key::ShiftMouseLeft, 257);
  EXPECT_EQ(key::CtrlMouseLeft, 513);
  EXPECT_EQ(key::ShiftF10, 377);
  EXPECT_EQ(key::CtrlShiftF10, 889);
  EXPECT_EQ(key::ShiftEnter, 269);
  EXPECT_EQ(key::ShiftKeyDown, 272);
}

TEST(Keys, LabelsReadBack) {
  for (int code : {key::Ins, key::F2, key::Del, key::Enter, key::Esc, key::F10, key::withCtrl('R'),
                   key::withShift(key::F2), key::CtrlShiftF10, key::AltAlone, key::withAlt('D'), key::History}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(keyFromName(keyName(code)), code);
  }
  EXPECT_EQ(keyName(key::CtrlShiftF10), "Ctrl+Shift+F10");
  EXPECT_EQ(keyName(key::Ins), "Ins");
  EXPECT_EQ(keyName(key::AltAlone), "Alt");
}

TEST(Keys, WrongNames) {
  for (const char* name : {"", "F13", "F0", "Hyper+A", "Ctrl+", "Enterr", "99999", "Ctrl+Foo"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(keyFromName(name), std::nullopt);
  }
}

}  // namespace
}  // namespace slownik::rt
