#include <gtest/gtest.h>

#include "framework/data/expression.h"
#include "framework/sql/text.h"

namespace slownik::data {
namespace {

NameBinding resolveForTest(std::string_view name) {
  NameBinding b;
  std::string n = sql::toUpperAscii(name);
  if (n == "FIR:VEX" || n == "FIR:ID_FIRMY" || n == "ID") {
    b.kind = NameBinding::Column;
    b.sql = "A." + n.substr(n.find(':') + 1);
    b.type = sql::ColumnType::Long;
    b.nullable = false;
  } else if (n == "TYPDMAG:RODZAJ" || n == "NAZWA") {
    b.kind = NameBinding::Column;
    b.sql = "A." + n.substr(n.find(':') + 1);
    b.nullable = true;
  } else if (n == "FKONTEKST") {
    b.kind = NameBinding::Value;
    b.value = [] { return sql::Param(std::string("KTX")); };
  }
  return b;
}

std::string paramsText(const CompiledExpression& e) {
  std::string s;
  for (const auto& p : e.sql.values()) s += (s.empty() ? "" : "|") + std::get<std::string>(p);
  return s;
}

TEST(FilterExpression, CompilesTheWindowsFilters) {
  struct Case {
    const char* filter;
    const char* sql;
    const char* params;
  };
  const Case cases[] = {
      {"(FIR:VEX=1 and FIR:ID_FIRMY>0)", "((A.VEX = 1) AND (A.ID_FIRMY > 0))", ""},
      {"(FIR:VEX<>1 and FIR:ID_FIRMY>0)", "((A.VEX <> 1) AND (A.ID_FIRMY > 0))", ""},
      {"(TYPDMAG:Rodzaj<>'Zamówienie' and TYPDMAG:Rodzaj<>'Zlecenie')", "((A.RODZAJ <> ?) AND (A.RODZAJ <> ?))",
       "Zamówienie|Zlecenie"},
      {"(TYPDMAG:RODZAJ='Zlecenie')", "(A.RODZAJ = ?)", "Zlecenie"},
      {"(TYPDMAG:RODZAJ=fkontekst and FIR:VEX=3)", "((A.RODZAJ = ?) AND (A.VEX = 3))", "KTX"},
      {"NAZWA = 'O''Brien; DROP TABLE X--'", "(A.NAZWA = ?)", "O'Brien; DROP TABLE X--"},
      {"not FIR:VEX = 1 or ID ~= 2", "((NOT (A.VEX = 1)) OR (A.ID <> 2))", ""},
      {"FIR:VEX", "(A.VEX <> 0)", ""},
      {"UPPER(CLIP(NAZWA)) >= 'AB' & 'C'", "(UPPER(RTRIM(A.NAZWA)) >= (? || ?))", "AB|C"},
      {"SUB(NAZWA, 1, 2) = 'Ab'", "(SUBSTR(A.NAZWA, 1, 2) = ?)", "Ab"},
      {"ID * 2 + 1 <= -FIR:VEX", "(((A.ID * 2) + 1) <= (-A.VEX))", ""},
  };
  for (const auto& c : cases) {
    CompiledExpression e = compileCondition(c.filter, resolveForTest);
    ASSERT_TRUE(e.ok()) << c.filter << ": " << e.error;
    EXPECT_EQ(e.sql.text, c.sql) << c.filter;
    EXPECT_EQ(paramsText(e), c.params) << c.filter;
  }
}

TEST(FilterExpression, BrokenTextIsAnErrorNotACrash) {
  for (const char* bad : {"(FIR:VEX=1", "FIR:VEX=", "NIEMA=1", "NAZWA='abc", "NAZWA = 1;", "UPPER(NAZWA, 1) = 'x'",
                          "FOO(1) = 1", "", "and", "1 = = 1", "NAZWA = 'a' )"}) {
    CompiledExpression e = compileCondition(bad, resolveForTest);
    EXPECT_FALSE(e.ok()) << bad;
    EXPECT_NE(e.error.find("Błąd w wyrażeniu"), std::string::npos) << bad;
    EXPECT_TRUE(e.sql.text.empty()) << bad;
  }
}

TEST(FilterExpression, SqlTextGetsAliasesForKnownPrefixesOnly) {
  auto alias = [](std::string_view p) { return sql::equalsIgnoreCase(p, "PRA") ? std::string("A") : std::string(); };
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"PRA:NAZWISKO LIKE 'KOW%' AND pra:ID_FIRMY=5", "A.NAZWISKO LIKE 'KOW%' AND A.ID_FIRMY=5"},
      {"A.X = 'PRA:NAZWISKO'", "A.X = 'PRA:NAZWISKO'"},          // inside a literal: untouched
      {"x = 'it''s PRA:Y' and PRA:Z=1", "x = 'it''s PRA:Y' and A.Z=1"},
      {"BAN:NAZWA = 1 and y::int = 2", "BAN:NAZWA = 1 and y::int = 2"},  // unknown prefix, casts
  };
  for (const auto& c : cases) EXPECT_EQ(replacePrefixes(c.in, alias), c.out) << c.in;
}

}  // namespace
}  // namespace slownik::data
