// The window resources and help pages the program ships: every window opens, holds what
// its dictionary addresses, presses the right button for each key and names help pages,
// icons, pictures and list formats that exist and read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/picture.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "runtime/headless_test.h"
#include "runtime/window_test_support.h"

namespace slownik::rt {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

std::string shipped() { return test::sourceDir() + "/resources"; }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// "slown002.json" → "slownik$slown002".
std::string resourceName(const fs::path& file) { return "slownik$" + file.stem().string(); }

std::vector<fs::path> windowFiles() {
  std::vector<fs::path> out;
  std::error_code failed;
  for (const auto& entry : fs::directory_iterator(shipped() + "/windows", failed))
    if (entry.path().extension() == ".json") out.push_back(entry.path());
  if (failed) ADD_FAILURE() << shipped() << "/windows: " << failed.message();
  std::sort(out.begin(), out.end());
  return out;
}

// The file an icon name stands for, as the host finds it: a leading "~" dropped and the
// extension replaced by ".svg".
fs::path iconFile(std::string name) {
  if (!name.empty() && name[0] == '~') name.erase(0, 1);
  return fs::path(shipped()) / "icons" / fs::path(name).replace_extension(".svg");
}

// The help map of resources/help/README.md: (resource, window type) → page.
std::map<std::pair<std::string, std::string>, std::string> helpMap() {
  std::map<std::pair<std::string, std::string>, std::string> out;
  std::istringstream in(readFile(shipped() + "/help/README.md"));
  const std::regex row(R"(^\|\s*`([a-z0-9_]+)`\s*\|\s*`([^`]+)`\s*\|[^|]*\|\s*`([^`]+)`\s*\|)");
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, row)) out[{"slownik$" + m[1].str(), m[2].str()}] = m[3].str();
  }
  return out;
}

struct Shipped {
  std::string resource;
  WindowDef def;
};

std::vector<Shipped> shippedWindows() {
  std::vector<Shipped> out;
  for (const auto& file : windowFiles()) {
    std::string error;
    auto windows = parseWindowResource(readFile(file), file.filename().string(), &error);
    if (!windows) {
      ADD_FAILURE() << error;
      continue;
    }
    for (auto& w : *windows) out.push_back({resourceName(file), std::move(w)});
  }
  return out;
}

class ShippedResources : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    setResourceRoot(shipped());
  }
  void TearDown() override {
    for (auto& w : opened_) w->close();
    HeadlessTest::TearDown();
  }
  std::shared_ptr<Window> open(const std::string& resource, const std::string& type) {
    std::string error;
    auto window = Window::open(resource, type, &error);
    EXPECT_NE(window, nullptr) << resource << " " << type << ": " << error;
    if (window) {
      test::drain(*window);
      opened_.push_back(window);
    }
    return window;
  }

 private:
  std::vector<std::shared_ptr<Window>> opened_;
};

// Every file parses, and every window in it opens with its type, titled by its caption,
// with pictures, list formats and icons that the runtime and the host can read. A
// mnemonic letter used twice in one window would make Alt+letter reach only the first.
TEST_F(ShippedResources, EveryWindowOpensAndEverythingItNamesReads) {
  auto windows = shippedWindows();
  ASSERT_FALSE(windows.empty());
  for (const auto& [resource, def] : windows) {
    SCOPED_TRACE(resource + " " + def.type);
    auto window = open(resource, def.type);
    if (!window) continue;
    EXPECT_EQ(window->title(), def.caption);
    EXPECT_FALSE(def.caption.empty());
    EXPECT_GT(def.minWidth, 0);
    EXPECT_GT(def.minHeight, 0);
    EXPECT_TRUE(def.icon.empty() || fs::exists(iconFile(def.icon))) << def.icon;

    std::map<char, std::string> mnemonics;
    for (const Control& c : window->controls()) {
      SCOPED_TRACE(c.name);
      if (!c.picture.empty()) {
        std::string error;
        EXPECT_TRUE(Picture::fromString(c.picture, &error)) << c.picture << ": " << error;
      }
      if (!c.format.empty()) {
        std::string error;
        EXPECT_TRUE(ListFormat::parse(c.format, &error)) << error;
      }
      if (!c.icon.empty()) {
        EXPECT_TRUE(fs::exists(iconFile(c.icon))) << c.icon;
      }
      if (c.kind == ControlKind::Button) {
        EXPECT_TRUE(!c.text.empty() || !c.icon.empty()) << "a button shows nothing";
      }
      if (char m = c.mnemonic()) {
        auto [it, fresh] = mnemonics.emplace(m, c.name);
        EXPECT_TRUE(fresh) << "&" << m << " is also the mnemonic of " << it->second;
      }
    }
  }
}

struct Expected {
  const char* resource;
  const char* type;
  const char* caption;
  int minWidth;
  int minHeight;
  const char* heading;
  std::vector<const char*> controls;
};

// What the dictionaries address in their windows.
const std::vector<Expected>& expectedWindows() {
  static const std::vector<Expected> rows = {
      {"slownik$slown002", "P1$BROWSEWINDOW", "Stawki VAT", 230, 130, "Stawki VAT", {"?LIST", "?AKTYWNA", "?CLOSE"}},
      {"slownik$slown003", "P1$BROWSEWINDOW", "Kraje", 230, 130, "Kraje",
       {"?LOKATOR", "?LIST", "?SELECT", "?INSERT", "?CHANGE", "?DELETE", "?CLOSE"}},
      {"slownik$slown042", "P1$FORMWINDOW", "Aktualizacja rekordu", 230, 70, "Dane kraju",
       {"?KRA:SYM_KRAJU", "?KRA:SYM_KRAJU:PROMPT", "?KRA:NAZWA", "?KRA:NAZWA:PROMPT", "?OK", "?CANCEL"}},
      {"slownik$slown051", "P1$BROWSEWINDOW", "Województwa", 230, 130, "Województwa",
       {"?LIST", "?SELECT", "?INSERT", "?CHANGE", "?DELETE", "?CLOSE"}},
      {"slownik$slown052", "P1$FORMWINDOW", "Aktualizacja rekordu", 200, 60, "Dane województwa",
       {"?WOJ:WOJEWODZTWO", "?WOJ:WOJEWODZTWO:PROMPT", "?OK", "?CANCEL"}},
      {"slownik$slown005", "P1$BROWSEWINDOW", "Waluty", 400, 130, "Waluty",
       {"?DATA_KURSU", "?KALENDARZB1", "?LIST", "?KURSYBAZOWE", "?BUTTONNBP", "?BUTTONECB", "?WYBIERZNBP",
        "?WYBIERZECB", "?SELECT", "?INSERT", "?CHANGE", "?DELETE", "?CLOSE"}},
      {"slownik$slown004", "P1$FORMWINDOW", "Aktualizacja rekordu", 230, 110, "Dane waluty",
       {"?WAL:SYM_WALUTY", "?WAL:SYM_KRAJU", "?CALLLOOKUP", "?WAL:NAZWA", "?WAL:NUMER", "?WAL:MNOZNIK_WALUTY", "?OK",
        "?CANCEL"}},
      {"slownik$slown013", "P1$BROWSEWINDOW", "Kursy walut", 420, 200, "Kursy walut",
       {"?F_NBP_ECB", "?DATA_FILTR", "?KALENDARZ", "?LIST", "?INSERT", "?CHANGE", "?DELETE", "?GRUPA:KURSY", "?LIST1",
        "?INSERT:2", "?CHANGE:2", "?DELETE:2", "?CZY_PRZELICZAC", "?BUTTONNBP", "?BUTTONECB", "?CLOSE"}},
      {"slownik$slown012", "P1$FORMWINDOW", "Aktualizacja rekordu", 180, 70, "Notowanie kursów",
       {"?DATKUR:DATA_NOT", "?KALENDARZ", "?DATKUR:GODZ_NOT", "?OK", "?CANCEL"}},
      {"slownik$slown014", "P1$FORMWINDOW", "Aktualizacja rekordu", 230, 110, "Kursy walut",
       {"?KUR:SYM_WALUTY", "?WAL:MNOZNIK_WALUTY", "?KUR:KURS_ZAKUPU", "?KUR:KURS_SPRZEDAZY", "?KUR:KURS_SREDNI", "?OK",
        "?CANCEL"}},
      {"slownik$slown015", "P1$BROWSEWINDOW", "Lista banków", 450, 200, "Banki",
       {"?SORTOWANIE", "?UPDOWN", "?LOKATOR", "?LIST", "?SELECT", "?INSERT", "?CHANGE", "?DELETE", "?CLOSE"}},
      {"slownik$slown016", "P1$FORMWINDOW", "Aktualizacja rekordu", 300, 170, "Dane banku",
       {"?BAN:NAZWA", "?BAN:NUMER_BANKU", "?BAN:SWIFT", "?BAN:KOD_POCZTOWY", "?BAN:MIEJSCOWOSC", "?BAN:ULICA_LOKAL",
        "?BAN:E_MAIL", "?BAN:E_MAIL:BUTTON", "?BAN:ADRES_WWW", "?BAN:ADRES_WWW:BUTTON", "?BAN:TEL", "?OK",
        "?CANCEL"}},
  };
  return rows;
}

TEST_F(ShippedResources, EachDictionaryWindowHoldsWhatItsCodeAddresses) {
  for (const auto& row : expectedWindows()) {
    SCOPED_TRACE(row.resource);
    auto window = open(row.resource, row.type);
    if (!window) continue;
    EXPECT_EQ(window->title(), row.caption);
    EXPECT_EQ(window->minWidth(), row.minWidth);
    EXPECT_EQ(window->minHeight(), row.minHeight);
    auto heading = window->control("?NAGLOWEK:TEKST");
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->text, row.heading);
    for (const char* name : row.controls) EXPECT_TRUE(window->has(name)) << name;
  }
}

// What a person sees first: the buttons the list or form offers, the hidden picker
// button and the bank buttons that only a picker may use.
TEST_F(ShippedResources, ButtonsStartShownAndEnabledAsTheirWindowsNeed) {
  struct Row {
    const char* resource;
    const char* type;
    const char* control;
    bool hidden;
    bool enabled;
  };
  const Row rows[] = {
      {"slownik$slown003", "P1$BROWSEWINDOW", "?SELECT", true, true},
      {"slownik$slown051", "P1$BROWSEWINDOW", "?SELECT", true, true},
      {"slownik$slown005", "P1$BROWSEWINDOW", "?SELECT", true, true},
      {"slownik$slown015", "P1$BROWSEWINDOW", "?SELECT", true, true},
      {"slownik$slown005", "P1$BROWSEWINDOW", "?WYBIERZNBP", false, false},
      {"slownik$slown005", "P1$BROWSEWINDOW", "?WYBIERZECB", false, false},
      {"slownik$slown005", "P1$BROWSEWINDOW", "?BUTTONNBP", false, true},
      {"slownik$slown013", "P1$BROWSEWINDOW", "?CZY_PRZELICZAC", false, false},
      // The base currency is set from the list's popup menu, which clears the others;
      // ticking it in the form would leave two base currencies.
      {"slownik$slown004", "P1$FORMWINDOW", "?WAL:NUMER", false, false},
      {"slownik$slown016", "P1$FORMWINDOW", "?OK", false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.resource) + " " + row.control);
    auto window = open(row.resource, row.type);
    if (!window) continue;
    auto c = window->control(row.control);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->hidden, row.hidden);
    EXPECT_EQ(c->enabled, row.enabled);
  }
}

// Each key presses the button whose caption shows it; a hidden or disabled button is
// not reached, and the rates list's second row of buttons leaves Ins, F2 and Del to the
// window's code, which routes them by the focused list.
TEST_F(ShippedResources, KeysPressTheirButtons) {
  struct Row {
    const char* resource;
    const char* type;
    int key;
    const char* pressed;  // "" = no button
    const char* caption;
  };
  const Row rows[] = {
      {"slownik$slown002", "P1$BROWSEWINDOW", key::F4, "?AKTYWNA", "Aktywność"},
      {"slownik$slown002", "P1$BROWSEWINDOW", key::Esc, "?CLOSE", "&Zamknij"},
      {"slownik$slown002", "P1$BROWSEWINDOW", key::Ins, "", ""},
      {"slownik$slown003", "P1$BROWSEWINDOW", key::Ins, "?INSERT", "&Dodaj"},
      {"slownik$slown003", "P1$BROWSEWINDOW", key::F2, "?CHANGE", "&Popraw"},
      {"slownik$slown003", "P1$BROWSEWINDOW", key::Del, "?DELETE", "&Usuń"},
      {"slownik$slown003", "P1$BROWSEWINDOW", key::Esc, "?CLOSE", "&Zamknij"},
      {"slownik$slown051", "P1$BROWSEWINDOW", key::F2, "?CHANGE", "&Popraw"},
      {"slownik$slown005", "P1$BROWSEWINDOW", key::withCtrl('B'), "?KURSYBAZOWE", "Kursy &bazowe"},
      {"slownik$slown005", "P1$BROWSEWINDOW", key::withCtrl('N'), "?BUTTONNBP", "Pobierz z NBP"},
      {"slownik$slown005", "P1$BROWSEWINDOW", key::withCtrl('E'), "?BUTTONECB", "Pobierz z ECB"},
      {"slownik$slown005", "P1$BROWSEWINDOW", key::withShift('N'), "", "Wybierz z NBP"},  // picker only
      {"slownik$slown005", "P1$BROWSEWINDOW", key::Del, "?DELETE", "&Usuń"},
      {"slownik$slown013", "P1$BROWSEWINDOW", key::Ins, "?INSERT", "&Dodaj"},
      {"slownik$slown013", "P1$BROWSEWINDOW", key::F2, "?CHANGE", "&Popraw"},
      {"slownik$slown013", "P1$BROWSEWINDOW", key::withCtrl('N'), "?BUTTONNBP", "Pobierz z NBP"},
      {"slownik$slown013", "P1$BROWSEWINDOW", key::Esc, "?CLOSE", "&Zamknij"},
      {"slownik$slown015", "P1$BROWSEWINDOW", key::withCtrl(key::Up), "?UPDOWN", ""},
      {"slownik$slown015", "P1$BROWSEWINDOW", key::Ins, "?INSERT", "&Dodaj"},
      {"slownik$slown042", "P1$FORMWINDOW", key::F10, "?OK", "Zapisz"},
      {"slownik$slown042", "P1$FORMWINDOW", key::Esc, "?CANCEL", "Anuluj"},
      {"slownik$slown052", "P1$FORMWINDOW", key::F10, "?OK", "Zapisz"},
      {"slownik$slown004", "P1$FORMWINDOW", key::F10, "?OK", "Zapisz"},
      {"slownik$slown012", "P1$FORMWINDOW", key::F10, "?OK", "Zapisz"},
      {"slownik$slown014", "P1$FORMWINDOW", key::Esc, "?CANCEL", "Anuluj"},
      {"slownik$slown016", "P1$FORMWINDOW", key::F10, "?OK", "Zapisz"},
      {"slownik$slown016", "P1$FORMWINDOW", key::Esc, "?CANCEL", "Anuluj"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.resource) + " " + keyName(row.key));
    auto window = open(row.resource, row.type);
    if (!window) continue;
    EXPECT_EQ(window->pressKey(row.key), "");
    std::vector<std::string> accepted;
    for (const auto& e : test::drain(*window))
      if (e.rfind("1 ?", 0) == 0) accepted.push_back(e.substr(2, e.find(' ', 2) - 2));
    if (*row.pressed) {
      EXPECT_THAT(accepted, testing::ElementsAre(row.pressed));
      auto button = window->control(row.pressed);
      ASSERT_TRUE(button);
      EXPECT_EQ(button->text, row.caption);
      EXPECT_EQ(button->keyLabel, keyName(row.key));
    } else {
      EXPECT_THAT(accepted, testing::IsEmpty());
    }
  }
  // The second row of buttons of the rates window shows the keys it answers to.
  auto rates = open("slownik$slown013", "P1$BROWSEWINDOW");
  ASSERT_NE(rates, nullptr);
  for (auto [name, label] : {std::pair{"?INSERT:2", "Ins"}, {"?CHANGE:2", "F2"}, {"?DELETE:2", "Del"}}) {
    EXPECT_EQ(rates->control(name)->keyLabel, label) << name;
    EXPECT_EQ(rates->control(name)->key, 0) << name;
  }
}

// The list formats as the dictionaries bind their list buffers: the headers, the
// groups, and the styles that mark the sort column of the bank list.
TEST_F(ShippedResources, ListFormatsHaveTheColumnsTheirDictionariesFill) {
  struct Row {
    const char* resource;
    const char* list;
    std::vector<std::string> headers;
    std::vector<std::string> groups;
    std::vector<int> styles;  // empty: none checked
  };
  const Row rows[] = {
      {"slownik$slown002", "?LIST", {"A   Nazwa", "Kod", "Stawka"}, {}, {}},
      {"slownik$slown003", "?LIST", {"Symbol kraju", "Nazwa kraju"}, {}, {}},
      {"slownik$slown051", "?LIST", {"Nazwa województwa"}, {}, {}},
      {"slownik$slown005",
       "?LIST",
       {"B", "Waluta", "Nazwa waluty", "Mnożnik", "Kraj", "Data", "Kurs", "Data", "Kurs"},
       {"Kursy NBP", "Kursy ECB"},
       {}},
      {"slownik$slown013", "?LIST", {"", "", "Kurs z dnia", "Godzina"}, {}, {}},
      {"slownik$slown013", "?LIST1", {"Waluta", "Kurs zakupu", "Kurs sprzedaży", "Kurs średni"}, {}, {}},
      {"slownik$slown015",
       "?LIST",
       {"Nazwa banku", "Nr banku", "SWIFT", "Adres", "Kod", "Miejscowość"},
       {},
       {2, 1, 3, 0, 4, 5}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.resource) + " " + row.list);
    auto window = open(row.resource, "P1$BROWSEWINDOW");
    if (!window) continue;
    std::string error;
    auto format = ListFormat::parse(window->control(row.list)->format, &error);
    ASSERT_TRUE(format) << error;
    std::vector<std::string> headers, groups;
    std::vector<int> styles;
    for (const auto& column : format->columns) {
      headers.push_back(column.header);
      styles.push_back(column.style);
    }
    for (const auto& group : format->groups) groups.push_back(group.header);
    EXPECT_EQ(headers, row.headers);
    EXPECT_EQ(groups, row.groups);
    if (!row.styles.empty()) {
      EXPECT_EQ(styles, row.styles);
    }
  }

  // Icons and colours take list-buffer fields of their own: the VAT name and the base
  // currency mark carry an icon, every bank column four colours.
  auto vat = open("slownik$slown002", "P1$BROWSEWINDOW");
  ASSERT_NE(vat, nullptr);
  auto vatFormat = ListFormat::parse(vat->control("?LIST")->format);
  ASSERT_TRUE(vatFormat);
  EXPECT_TRUE(vatFormat->columns[0].icon);
  EXPECT_EQ(vatFormat->fieldCount, 4);
  auto banks = open("slownik$slown015", "P1$BROWSEWINDOW");
  ASSERT_NE(banks, nullptr);
  auto bankFormat = ListFormat::parse(banks->control("?LIST")->format);
  ASSERT_TRUE(bankFormat);
  for (const auto& column : bankFormat->columns) EXPECT_TRUE(column.cellColours) << column.header;
  EXPECT_EQ(bankFormat->fieldCount, 30);
}

// The functions that reach a bank's server say so before they are used.
TEST_F(ShippedResources, BankButtonsWarnThatTheyNeedTheInternet) {
  const std::pair<const char*, const char*> rows[] = {
      {"slownik$slown005", "?BUTTONNBP"}, {"slownik$slown005", "?BUTTONECB"},
      {"slownik$slown005", "?WYBIERZNBP"}, {"slownik$slown005", "?WYBIERZECB"},
      {"slownik$slown013", "?BUTTONNBP"}, {"slownik$slown013", "?BUTTONECB"},
  };
  for (const auto& [resource, control] : rows) {
    auto window = open(resource, "P1$BROWSEWINDOW");
    if (!window) continue;
    EXPECT_THAT(window->control(control)->tip, HasSubstr("połączenia z internetem")) << resource << " " << control;
  }
}

// Every window of the dictionaries above has a help page listed in
// resources/help/README.md; every listed page exists and tells about the window it
// serves by the heading its user sees; every page is listed, uses the shared stylesheet
// and links only to pages that exist.
TEST_F(ShippedResources, HelpPagesExistAndServeTheirWindows) {
  const auto map = helpMap();
  const fs::path help = shipped() + "/help";
  ASSERT_TRUE(fs::exists(help / "help.css"));
  for (const auto& row : expectedWindows())
    EXPECT_TRUE(map.count({row.resource, row.type})) << row.resource << " has no help page listed";

  std::set<std::string> listed;
  for (const auto& [resource, def] : shippedWindows()) {
    auto it = map.find({resource, def.type});
    if (it == map.end()) continue;
    SCOPED_TRACE(resource + " " + def.type + " " + it->second);
    listed.insert(it->second);
    const std::string page = readFile(help / it->second);
    ASSERT_FALSE(page.empty()) << "the page is missing";
    for (const auto& c : def.controls) {
      if (c.name == "?NAGLOWEK:TEKST") {
        EXPECT_THAT(page, HasSubstr(">" + c.caption + "<"));
      }
    }
  }
  std::set<std::pair<std::string, std::string>> windows;
  for (const auto& [resource, def] : shippedWindows()) windows.insert({resource, def.type});
  for (const auto& [key, page] : map) {
    EXPECT_TRUE(windows.count(key)) << key.first << " " << key.second << " is listed but no such window exists";
    EXPECT_TRUE(fs::exists(help / page)) << page << " is missing";
  }

  const std::regex link(R"(href="([^"#:]+)(#[^"]*)?")");
  for (const auto& entry : fs::directory_iterator(help)) {
    if (entry.path().extension() != ".htm") continue;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    // The contents page is what a window without a page of its own opens.
    if (name != "slownik.htm") {
      EXPECT_TRUE(listed.count(name)) << "a page no window opens";
    }
    const std::string page = readFile(entry.path());
    EXPECT_THAT(page, HasSubstr("<meta charset=\"utf-8\">"));
    EXPECT_THAT(page, HasSubstr("href=\"help.css\""));
    EXPECT_TRUE(std::regex_search(page, std::regex("<title>[^<]+</title>")));
    for (auto m = std::sregex_iterator(page.begin(), page.end(), link); m != std::sregex_iterator(); ++m)
      EXPECT_TRUE(fs::exists(help / (*m)[1].str())) << "broken link " << (*m)[1].str();
  }
}

}  // namespace
}  // namespace slownik::rt
