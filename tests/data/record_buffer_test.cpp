#include <gtest/gtest.h>

#include "data/test_tables.h"
#include "framework/data/decimal_text.h"
#include "framework/data/position.h"
#include "framework/data/record_buffer.h"
#include "framework/data/table_buffers.h"

namespace slownik::data {
namespace {

using test::personTable;

TEST(RecordBuffer, TextIsCutToWidthInCharactersNeverInsideASequence) {
  struct Case {
    const char* in;
    const char* out;
  };
  // NAZWA is 20 characters wide.
  const Case cases[] = {
      {"Bank", "Bank"},
      {"Zażółć gęślą jaźń ąę", "Zażółć gęślą jaźń ąę"},          // exactly 20 characters, 29 bytes
      {"Zażółć gęślą jaźń ąęXYZ", "Zażółć gęślą jaźń ąę"},       // cut after the 20th character
      {"😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀", "😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀"},
      {"O'Brien \"x\" \\ 100%", "O'Brien \"x\" \\ 100%"},
  };
  RecordBuffer b(personTable());
  for (const auto& c : cases) {
    b.field("DTO:NAZWA").set(c.in);
    EXPECT_EQ(b.field("NAZWA").text(), c.out) << c.in;
  }
}

TEST(RecordBuffer, DecimalsAreExactAndRoundedToTheirScale) {
  struct Case {
    const char* in;
    int scale;
    const char* out;
  };
  const Case cases[] = {
      {"12.5", 2, "12.50"},   {"12,345", 2, "12.35"}, {"-0.004", 2, "0.00"}, {"-0.005", 2, "-0.01"},
      {"9.995", 2, "10.00"},  {"  7 ", 0, "7"},       {"abc", 2, "0.00"},    {"1.2.3", 2, "0.00"},
      {"+3", 4, "3.0000"},    {".5", 1, "0.5"},       {"0012.10", 2, "12.10"}, {"", 2, "0.00"},
      {"-", 2, "0.00"},       {"99999999999999999999.999", 2, "100000000000000000000.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(canonicalDecimal(c.in, c.scale), c.out) << c.in << " / " << c.scale;

  EXPECT_EQ(decimalFromDouble(2.675, 2), "2.68");
  EXPECT_EQ(decimalFromDouble(-1.5, 0), "-2");
  EXPECT_LT(compareDecimal("-2.50", "-2.40"), 0);
  EXPECT_GT(compareDecimal("10.00", "9.99"), 0);
  EXPECT_EQ(compareDecimal("1.50", "1.5"), 0);

  RecordBuffer b(personTable());
  EXPECT_EQ(b.field("KWOTA").text(), "0.00");  // a cleared decimal still has its places
  b.field("KWOTA").set(0.1 + 0.2);
  EXPECT_EQ(b.field("KWOTA").text(), "0.30");
  b.field("KWOTA").set("1234.567");
  EXPECT_EQ(b.field("KWOTA").text(), "1234.57");
  EXPECT_DOUBLE_EQ(b.field("KWOTA").number(), 1234.57);
}

TEST(RecordBuffer, NumbersTakeTheirTypesWidth) {
  RecordBuffer b(personTable());
  b.field("FLAGA").set(257.0);
  EXPECT_EQ(b.field("FLAGA").integer(), 1);
  b.field("ILOSC").set("42,9");
  EXPECT_EQ(b.field("ILOSC").text(), "42");
  b.field("ID").set(6100003.0);
  EXPECT_EQ(b.field("ID").text(), "6100003");  // never "6.1e+06"
  b.field("KURS").set("4,2512");
  EXPECT_DOUBLE_EQ(b.field("KURS").number(), 4.2512);
  b.field("DATA").set("not a date");
  EXPECT_EQ(b.field("DATA").integer(), 0);
}

TEST(RecordBuffer, FieldsResolveByPrefixedOrPlainNameOnly) {
  RecordBuffer b(personTable());
  EXPECT_TRUE(b.field("DTO:NAZWA").isValid());
  EXPECT_TRUE(b.field("dto:nazwa").isValid());
  EXPECT_TRUE(b.field("NAZWA").isValid());
  EXPECT_FALSE(b.field("BAN:NAZWA").isValid());  // another table's prefix
  EXPECT_FALSE(b.field("NIEMA").isValid());
  Field missing = b.field("NIEMA");
  missing.set("x");  // harmless
  EXPECT_EQ(missing.text(), "");
  EXPECT_EQ(b.field("DTO:NAZWA").name(), "DTO:NAZWA");
}

TEST(RecordBuffer, CopyCompareAndClear) {
  RecordBuffer a(personTable());
  a.field("NAZWA").set("Anna");
  a.field("KWOTA").set("5");
  RecordBuffer saved = a;  // a form's history copy
  EXPECT_EQ(saved, a);
  a.field("KWOTA").set("5.01");
  EXPECT_FALSE(saved == a);
  EXPECT_LT(saved.compare(a), 0);
  a = saved;
  EXPECT_EQ(a.field("KWOTA").text(), "5.00");
  a.clear();
  EXPECT_EQ(a.field("NAZWA").text(), "");
  EXPECT_EQ(a.field("KWOTA").text(), "0.00");
}

TEST(RecordBuffer, GlobalLookupFindsThisThreadsBuffers) {
  RecordBuffer& mine = buffer(personTable());
  mine.field("NAZWA").set("Zenon");
  EXPECT_EQ(field("DTO:NAZWA").text(), "Zenon");
  field("DTO:KOD").set("K1");
  EXPECT_EQ(mine.field("KOD").text(), "K1");
  EXPECT_FALSE(field("NAZWA").isValid());      // a global lookup needs the prefix
  EXPECT_FALSE(field("XYZ:NAZWA").isValid());
  EXPECT_EQ(buffer("dt_osoba"), &mine);
  EXPECT_EQ(buffer("DTO"), &mine);
}

TEST(Position, RoundTripsAnyValues) {
  const std::vector<std::vector<sql::Cell>> cases = {
      {},
      {std::string("abc")},
      {std::nullopt, std::string("12")},
      {std::string("a:b;c"), std::string(""), std::string("N;"), std::string("3:xyz")},
      {std::string("O'Brien\n\0x", 10), std::string("😀")},
  };
  for (const auto& values : cases) {
    std::vector<sql::Cell> back;
    ASSERT_TRUE(decodePosition(encodePosition(values), &back));
    EXPECT_EQ(back, values);
  }
  std::vector<sql::Cell> back;
  for (const char* broken : {"5:abc", "x", "3abc", "-1:a"}) EXPECT_FALSE(decodePosition(broken, &back)) << broken;
}

}  // namespace
}  // namespace slownik::data
