#include <gtest/gtest.h>

#include "framework/services/excel_export.h"
#include "framework/services/filters.h"
#include "framework/services/marking.h"
#include "framework/services/text_services.h"

namespace slownik::svc {
namespace {

TEST(ReplaceProc2, ReplacesEveryOccurrenceOnce) {
  struct Case {
    const char* text;
    const char* find;
    const char* replace;
    const char* expected;
  };
  const Case cases[] = {
      {"a,b,c", ",", ";", "a;b;c"},
      {"aaa", "a", "aa", "aaaaaa"},        // replaced text is not scanned again
      {"aaaa", "aa", "a", "aa"},
      {"O'Brien", "'", "''", "O''Brien"},
      {"zażółć gęślą", "ęś", "es", "zażółć geslą"},
      {"abc", "", "x", "abc"},             // nothing to find: unchanged, no endless loop
      {"abc", "x", "y", "abc"},
      {"", "a", "b", ""},
      {"abcabc", "abc", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(REPLACEPROC2(c.text, c.find, c.replace), c.expected) << c.text;
}

TEST(ReplaceAllSpace, OneBlankBetweenWordsNoneAtTheEnds) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"ul.  Długa   5", "ul. Długa 5"},
      {"  Marszałkowska 1  ", "Marszałkowska 1"},
      {"Aleje\tJerozolimskie\r\n12", "Aleje Jerozolimskie 12"},
      {"Plac\xC2\xA0Zamkowy", "Plac Zamkowy"},  // no-break space from pasted text
      {"bez", "bez"},
      {"   ", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(REPLACEALLSPACE(c.text), c.expected) << c.text;
}

TEST(UpperPolish, FoldsAsciiAndPolishLetters) {
  EXPECT_EQ(upperPolish("Bank_Brw"), "BANK_BRW");
  EXPECT_EQ(upperPolish("zażółć gęślą jaźń"), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
  EXPECT_EQ(upperPolish("ZAŻÓŁĆ"), "ZAŻÓŁĆ");
  EXPECT_EQ(upperPolish("é1_"), "é1_");  // other letters stay as they are
}

TEST(Filters, PrepareTurnsOrderDescending) {
  EXPECT_EQ(PRZYGOTUJFILTR("+PRA:ID_FIRMY,PRA:NUMER,PRA:ID", ",PRA:", ",-PRA:"), "+PRA:ID_FIRMY,-PRA:NUMER,-PRA:ID");
  EXPECT_EQ(PRZYGOTUJFILTR("pra:ID_FIRMY,pra:NAZWISKO", ",PRA:", ",-PRA:"), "pra:ID_FIRMY,-PRA:NAZWISKO");
  EXPECT_EQ(PRZYGOTUJFILTR("PRA:NUMER", ",PRA:", ",-PRA:"), "PRA:NUMER");
  EXPECT_EQ(PRZYGOTUJFILTR("PRA:NUMER", "", "x"), "PRA:NUMER");
}

TEST(Filters, ComponentsJoinByAnd) {
  struct Case {
    const char* filter;
    const char* component;
    const char* expected;
  };
  const Case cases[] = {
      {"", "", ""},
      {"  ", " ", ""},
      {"a.archiwum=0", "", "a.archiwum=0"},
      {"", "a.archiwum=0", "a.archiwum=0"},
      {"x=1 or y=2", "z=3", "(x=1 or y=2) and (z=3)"},
  };
  for (const auto& c : cases) EXPECT_EQ(DODAJKOMPONENTFILTRA(c.filter, c.component), c.expected);
  // Built step by step, an "or" never escapes its own part.
  std::string f = DODAJKOMPONENTFILTRA(DODAJKOMPONENTFILTRA("a=1 or b=1", "c=1"), "d=1 or e=1");
  EXPECT_EQ(f, "((a=1 or b=1) and (c=1)) and (d=1 or e=1)");
}

TEST(Marking, CountLine) {
  EXPECT_EQ(DISPLAYZAZNACZONE(0, "magazynów"), "Ilość zaznaczonych magazynów: 0");
  EXPECT_EQ(DISPLAYZAZNACZONE(12, "magazynów"), "Ilość zaznaczonych magazynów: 12");
}

TEST(DisplayedNumbers, ParsedAsTheListShowsThem) {
  struct Case {
    const char* text;
    bool isNumber;
    double value;
  };
  const Case cases[] = {
      {"12", true, 12},
      {"12.50", true, 12.5},
      {"12,50", true, 12.5},
      {"1 234,56", true, 1234.56},
      {"1\xC2\xA0" "234,56", true, 1234.56},
      {"1,234.56", true, 1234.56},
      {"1.234,56", true, 1234.56},
      {"-7.25", true, -7.25},
      {"7.25-", true, -7.25},     // sign behind, as some pictures put it
      {"  3  ", true, 3},
      {"", false, 0},
      {"-", false, 0},
      {"12a", false, 0},
      {"1.2.3", false, 0},
      {"1-2", false, 0},
      {"23%", false, 0},
  };
  for (const auto& c : cases) {
    double v = -999;
    EXPECT_EQ(parseDisplayedNumber(c.text, &v), c.isNumber) << '"' << c.text << '"';
    if (c.isNumber) {
      EXPECT_DOUBLE_EQ(v, c.value) << '"' << c.text << '"';
    }
  }
}

}  // namespace
}  // namespace slownik::svc
