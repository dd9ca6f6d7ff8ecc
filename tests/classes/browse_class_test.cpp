#include <gtest/gtest.h>

#include <algorithm>

#include "classes/country_procedures.h"
#include "framework/classes/locators.h"
#include "framework/runtime/keys.h"

namespace slownik::test {
namespace {

using rt::key::letter;

class BrowseClassTest : public CountryWindowTest {};

TEST_P(BrowseClassTest, pagesThroughEveryRowOnceInBothDirections) {
  std::vector<std::string> all = column("SELECT SYM_KRAJU FROM KRAJE ORDER BY SYM_KRAJU");
  ASSERT_GT(all.size(), 20u);
  auto out = startList(data::kNoRequest);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  // Only the visible page is loaded, starting at the first row.
  ASSERT_EQ(rows(w).size(), 8u);
  EXPECT_EQ(rows(w)[0][0], all[0]);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));

  std::vector<std::string> down = {selectedSymbol(w)};
  for (std::size_t i = 1; i < all.size() + 2; ++i) {  // two presses beyond the end change nothing
    ASSERT_TRUE(fe().press(w, rt::key::Down));
    if (selectedSymbol(w) != down.back()) down.push_back(selectedSymbol(w));
  }
  EXPECT_EQ(down, all);
  EXPECT_LE(rows(w).size(), 8u);

  std::vector<std::string> up = {selectedSymbol(w)};
  for (std::size_t i = 1; i < all.size() + 2; ++i) {
    ASSERT_TRUE(fe().press(w, rt::key::Up));
    if (selectedSymbol(w) != up.back()) up.push_back(selectedSymbol(w));
  }
  std::reverse(up.begin(), up.end());
  EXPECT_EQ(up, all);

  ASSERT_TRUE(fe().press(w, rt::key::End));
  EXPECT_EQ(selectedSymbol(w), all.back());
  EXPECT_EQ(rows(w).back()[0], all.back());
  ASSERT_TRUE(fe().press(w, rt::key::Home));
  EXPECT_EQ(selectedSymbol(w), all.front());

  // Page by page: each page starts right after the one before, to a full last page.
  std::vector<std::string> paged;
  for (const auto& r : rows(w)) paged.push_back(r[0]);
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(fe().press(w, rt::key::PgDn));
    for (const auto& r : rows(w)) {
      if (std::find(paged.begin(), paged.end(), r[0]) == paged.end()) paged.push_back(r[0]);
    }
  }
  EXPECT_EQ(paged, all);
  EXPECT_EQ(rows(w).size(), 8u);
  EXPECT_EQ(rows(w).back()[0], all.back());

  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);  // a plain list's close completes
}

struct LocatorCase {
  LocatorKind kind;
  std::vector<int> keys;     // typed in the list
  std::string entry;         // typed into ?LOKATOR
  std::string expected;      // symbol of the selected row afterwards
  std::vector<std::string> visible;  // filter locators: every row the list shows
};

TEST_P(BrowseClassTest, eachLocatorFindsItsRow) {
  const LocatorCase cases[] = {
      {LocatorKind::Step, {letter('P')}, "", "PL", {}},
      {LocatorKind::Step, {letter('P'), letter('P')}, "", "PT", {}},
      {LocatorKind::Step, {letter('P'), letter('P'), letter('P')}, "", "PL", {}},  // round to the first again
      {LocatorKind::Step, {letter('Q')}, "", "RO", {}},  // none with Q: the next one after it
      {LocatorKind::Incremental, {letter('K'), letter('A')}, "", "CA", {}},
      {LocatorKind::Incremental, {letter('K'), letter('A'), rt::key::Backspace, letter('O')}, "", "KR", {}},
      {LocatorKind::Incremental, {}, "Por", "PT", {}},
      {LocatorKind::Entry, {}, "Ja", "JP", {}},
      {LocatorKind::Filter, {}, "po", "PL", {"PL", "PT"}},
      {LocatorKind::FilterContains, {}, "andi", "FI", {"FI", "NL", "IE", "IS"}},
      {LocatorKind::FilterContains, {}, "d'I", "", {}},  // an apostrophe is only a character
      {LocatorKind::FilterContains, {}, "a%", "", {}},   // so is a pattern character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("locator " + std::to_string(static_cast<int>(c.kind)) + " entry \"" + c.entry + "\"");
    startList(data::kNoRequest, c.kind);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
    for (int k : c.keys) ASSERT_TRUE(fe().press(w, k));
    if (!c.entry.empty()) {
      ASSERT_TRUE(fe().type(w, "?LOKATOR", c.entry));
    }
    EXPECT_EQ(selectedSymbol(w), c.expected);
    if (c.kind == LocatorKind::Filter || c.kind == LocatorKind::FilterContains) {
      std::vector<std::string> shown;
      for (const auto& r : rows(w)) shown.push_back(r[0]);
      std::vector<std::string> expected = c.visible;
      std::sort(shown.begin(), shown.end());
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(shown, expected);
      // Emptying the entry shows every row again.
      ASSERT_TRUE(fe().type(w, "?LOKATOR", ""));
      EXPECT_EQ(rows(w).size(), 8u);
    }
    ASSERT_TRUE(fe().close(w));
    join();
  }
}

TEST_P(BrowseClassTest, stepLocatorFindsValuesOfEitherLetterCase) {
  // Keys always give upper-case letters; these symbols are stored in lower case, and an
  // order that compares text as it is puts them after every upper-case symbol.
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('qa', 'Qa'), ('qb', 'Qb'), ('xa', 'Xa'), ('XB', 'Xb')");
  struct Case {
    std::vector<int> keys;
    std::vector<std::string> expected;  // the selected symbol after each key, upper-cased
  };
  const Case cases[] = {
      {{letter('Q'), letter('Q'), letter('Q')}, {"QA", "QB", "QA"}},
      {{letter('X'), letter('X'), letter('X')}, {"XA", "XB", "XA"}},  // the order decides which comes first
      {{letter('P'), letter('Q')}, {"PL", "QA"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("first key " + std::to_string(c.keys.front()));
    startList(data::kNoRequest, LocatorKind::Step);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
    std::vector<std::string> seen;
    for (int k : c.keys) {
      ASSERT_TRUE(fe().press(w, k));
      seen.push_back(fw::upperLetters(selectedSymbol(w)));
    }
    if (c.keys.front() == letter('X')) {
      // "xa" and "XB" come in the backend's order; each is reached, then the first again.
      ASSERT_EQ(seen.size(), 3u);
      EXPECT_NE(seen[0], seen[1]);
      EXPECT_EQ(seen[2], seen[0]);
      for (const auto& s : seen) EXPECT_TRUE(s == "XA" || s == "XB") << s;
    } else {
      EXPECT_EQ(seen, c.expected);
    }
    ASSERT_TRUE(fe().close(w));
    join();
  }
}

TEST(LetterCase, AsciiAndPolishLettersChangeCaseAndNothingElseDoes) {
  struct Case {
    const char* text;
    const char* upper;
    const char* lower;
  };
  const Case cases[] = {
      {"zw", "ZW", "zw"},
      {"Żółć", "ŻÓŁĆ", "żółć"},
      {"ąćęłńóśźż", "ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"},
      {"ĄĆĘŁŃÓŚŹŻ", "ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"},
      {"d'Ivoire 1-2_%", "D'IVOIRE 1-2_%", "d'ivoire 1-2_%"},
      {"Ärger é", "ÄRGER é", "Ärger é"},  // letters outside the Polish alphabet stay as they are
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fw::upperLetters(c.text), c.upper) << c.text;
    EXPECT_EQ(fw::lowerLetters(c.text), c.lower) << c.text;
  }
}

TEST_P(BrowseClassTest, reloadKeepsTheSelectedRowOnItsLine) {
  auto out = startList(data::kNoRequest);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  for (int i = 0; i < 12; ++i) ASSERT_TRUE(fe().press(w, rt::key::Down));
  std::string before = selectedSymbol(w);
  int line = w->control("?LIST")->selection;
  // Another user adds rows before and after it meanwhile; the name has an apostrophe.
  exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('A1', 'Aaa'), ('ZZ', 'Côte d''Ivoire')");
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(selectedSymbol(w), before);
  EXPECT_EQ(w->control("?LIST")->selection, line);
  ASSERT_TRUE(fe().press(w, rt::key::End));
  EXPECT_EQ(selectedSymbol(w), "ZZ");
  EXPECT_EQ(rows(w).back()[1], "Côte d'Ivoire");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

TEST_P(BrowseClassTest, pickerAnswersWithTheChosenRow) {
  {
    SCOPED_TRACE("Enter chooses");
    auto out = startList(data::kSelectRecord);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->control("?SELECT")->hidden);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
    std::string chosen = selectedSymbol(w);
    ASSERT_TRUE(fe().press(w, rt::key::Enter));
    ASSERT_TRUE(fe().waitForClose(w));
    join();
    EXPECT_EQ(out->response, data::kRequestCompleted);
    EXPECT_EQ(out->chosenSymbol, chosen);
    EXPECT_EQ(out->formCalls, 0);
  }
  {
    SCOPED_TRACE("Esc cancels");
    auto out = startList(data::kSelectRecord);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled);
  }
  {
    SCOPED_TRACE("a plain list hides the select button");
    auto out = startList(data::kNoRequest);
    auto w = fe().waitForWindow("Kraje");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->control("?SELECT")->hidden);
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
  }
}

TEST_P(BrowseClassTest, viewOnlyListNeverCallsTheForm) {
  std::string count = scalar("SELECT COUNT(*) FROM KRAJE");
  auto out = startList(data::kViewRecord);
  auto w = fe().waitForWindow("Kraje");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  for (int k : {rt::key::Ins, rt::key::F2, rt::key::Del, rt::key::Enter}) ASSERT_TRUE(fe().press(w, k));
  ASSERT_TRUE(fe().click(w, "?INSERT"));
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  EXPECT_EQ(rt::openWindows().size(), 1u);  // no form opened
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->formCalls, 0);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), count);
}

SLOWNIK_ON_ALL_BACKENDS(BrowseClassTest);

}  // namespace
}  // namespace slownik::test
