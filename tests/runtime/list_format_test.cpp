#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/list_format.h"

namespace slownik::rt {
namespace {

char alignmentLetter(ListAlignment a) {
  switch (a) {
    case ListAlignment::Left: return 'L';
    case ListAlignment::Right: return 'R';
    case ListAlignment::Center: return 'C';
    case ListAlignment::Decimal: return 'D';
  }
  return '?';
}

// One line per column: "width align indent flags ~header~ align indent picture #field extras".
std::string describe(const ListColumn& c) {
  std::string flags;
  if (c.rightBorder) flags += '|';
  if (c.resizable) flags += 'M';
  if (c.fixed) flags += 'F';
  if (c.icon) flags += 'I';
  if (c.transparentIcon) flags += 'J';
  if (c.tree) flags += 'T';
  if (c.cellColours) flags += '*';
  std::string out = std::to_string(c.width) + alignmentLetter(c.alignment) + std::to_string(c.indent) + " " +
                    (flags.empty() ? "-" : flags) + " ~" + c.header + "~" + alignmentLetter(c.headerAlignment) +
                    std::to_string(c.headerIndent) + " " + (c.pictureText.empty() ? "-" : c.pictureText) + " #" +
                    std::to_string(c.field);
  if (c.colourField) out += " c" + std::to_string(c.colourField);
  if (c.iconField) out += " i" + std::to_string(c.iconField);
  if (c.treeField) out += " t" + std::to_string(c.treeField);
  if (c.style) out += " z" + std::to_string(c.style);
  if (c.lineBreakAfter) out += " /";
  if (c.group >= 0) out += " g" + std::to_string(c.group);
  return out;
}

std::string describe(const ListGroup& g) {
  std::string flags;
  if (g.rightBorder) flags += '|';
  if (g.resizable) flags += 'M';
  if (g.fixed) flags += 'F';
  return std::to_string(g.firstColumn) + "+" + std::to_string(g.columnCount) + " " + (flags.empty() ? "-" : flags) +
         " ~" + g.header + "~" + alignmentLetter(g.headerAlignment) + std::to_string(g.headerIndent);
}

struct FormatCase {
  const char* format;
  std::vector<std::string> columns;
  std::vector<std::string> groups;
  int fieldCount;
};

// Every list-format string of the module's windows.
const FormatCase kWindowFormats[] = {
    {"105L(2)|MI~A   Nazwa~@s20@27L(2)|M~Kod~@s3@92R(2)|M~Stawka~L@n-9.2@",
     {"105L2 |MI ~A   Nazwa~L2 s20 #1 i2", "27L2 |M ~Kod~L2 s3 #3", "92R2 |M ~Stawka~L0 n-9.2 #4"},
     {},
     4},
    {"47L(2)|M~Symbol kraju~@s3@200L(2)|M~Nazwa kraju~@s50@",
     {"47L2 |M ~Symbol kraju~L2 s3 #1", "200L2 |M ~Nazwa kraju~L2 s50 #2"},
     {},
     2},
    {"200L(2)|M~Nazwa województwa~@s30@", {"200L2 |M ~Nazwa województwa~L2 s30 #1"}, {}, 1},
    {"14R(14)|MI~B~L(2)@n1@28L(2)|M~Waluta~@s3@100L(2)|M~Nazwa waluty~@s30@33R(2)|M~Mnożnik~L@n-14@24L(2)|M~Kraj~"
     "@s3@[50L(2)|M~Data~@d17@54R(2)|M~Kurs~L@n12_`6@]|M~Kursy NBP~[50L(2)|M~Data~@d17@54R(2)|M~Kurs~L@n12_`6@]|M~"
     "Kursy ECB~",
     {"14R14 |MI ~B~L2 n1 #1 i2", "28L2 |M ~Waluta~L2 s3 #3", "100L2 |M ~Nazwa waluty~L2 s30 #4",
      "33R2 |M ~Mnożnik~L0 n-14 #5", "24L2 |M ~Kraj~L2 s3 #6", "50L2 |M ~Data~L2 d17 #7 g0",
      "54R2 |M ~Kurs~L0 n12_`6 #8 g0", "50L2 |M ~Data~L2 d17 #9 g1", "54R2 |M ~Kurs~L0 n12_`6 #10 g1"},
     {"5+2 |M ~Kursy NBP~L0", "7+2 |M ~Kursy ECB~L0"},
     10},
    {"0L(2)@n1@0L(2)@n1@53L(2)|M~Kurs z dnia~@d17@56R(2)|M~Godzina~L@t1@",
     {"0L2 - ~~L2 n1 #1", "0L2 - ~~L2 n1 #2", "53L2 |M ~Kurs z dnia~L2 d17 #3", "56R2 |M ~Godzina~L0 t1 #4"},
     {},
     4},
    {"31L(2)|M~Waluta~@s3@56R(2)|M~Kurs zakupu~L@n14_`4@57R(2)|M~Kurs sprzedaży~L@n14_`4@80R(2)|M~Kurs średni~L@"
     "n14_`4@",
     {"31L2 |M ~Waluta~L2 s3 #1", "56R2 |M ~Kurs zakupu~L0 n14_`4 #2", "57R2 |M ~Kurs sprzedaży~L0 n14_`4 #3",
      "80R2 |M ~Kurs średni~L0 n14_`4 #4"},
     {},
     4},
    {"140L(2)|M*~Nazwa banku~@s100@Z(2)50L(2)|M*~Nr banku~@s50@Z(1)50L(2)|M*~SWIFT~@s20@Z(3)100L(2)|M*~Adres~@s50@"
     "30L(2)|M*~Kod~@s10@Z(4)200L(2)|M*~Miejscowość~@s50@Z(5)",
     {"140L2 |M* ~Nazwa banku~L2 s100 #1 c2 z2", "50L2 |M* ~Nr banku~L2 s50 #6 c7 z1",
      "50L2 |M* ~SWIFT~L2 s20 #11 c12 z3", "100L2 |M* ~Adres~L2 s50 #16 c17", "30L2 |M* ~Kod~L2 s10 #21 c22 z4",
      "200L2 |M* ~Miejscowość~L2 s50 #26 c27 z5"},
     {},
     30},
    {"100L(2)|MJ~D Nazwa banku~@s100@15L(2)|~LK~@s2@120L(2)|M~Numer rachunku~@s100@30L(2)|M~Waluta~@s3@20L(2)|M~"
     "Kraj~@s3@12L(2)|MJ~D~@n3@100L(2)|M~Opis~@s50@",
     {"100L2 |MJ ~D Nazwa banku~L2 s100 #1 i2", "15L2 | ~LK~L2 s2 #3", "120L2 |M ~Numer rachunku~L2 s100 #4",
      "30L2 |M ~Waluta~L2 s3 #5", "20L2 |M ~Kraj~L2 s3 #6", "12L2 |MJ ~D~L2 n3 #7 i8", "100L2 |M ~Opis~L2 s50 #9"},
     {},
     9},
    {"100L(2)|MJ~D Nazwa banku~@s100@15L(2)|~LK~@s2@120L(2)|M~Numer rachunku~@s100@30L(2)|M~Waluta~@s3@100L(2)|M~"
     "Opis~@s50@",
     {"100L2 |MJ ~D Nazwa banku~L2 s100 #1 i2", "15L2 | ~LK~L2 s2 #3", "120L2 |M ~Numer rachunku~L2 s100 #4",
      "30L2 |M ~Waluta~L2 s3 #5", "100L2 |M ~Opis~L2 s50 #6"},
     {},
     6},
    {"100L(2)|FMJ~D Nazwa banku~@s100@15L(2)|~LK~@s2@120L(2)|M~Numer rachunku~@s100@30L(2)|M~Waluta~@s3@100L(2)|M~"
     "Opis~@s50@",
     {"100L2 |MFJ ~D Nazwa banku~L2 s100 #1 i2", "15L2 | ~LK~L2 s2 #3", "120L2 |M ~Numer rachunku~L2 s100 #4",
      "30L2 |M ~Waluta~L2 s3 #5", "100L2 |M ~Opis~L2 s50 #6"},
     {},
     6},
    {"14L(13)|I~D~L(2)@n3@200L(2)|M~Numer rachunku~@s50@",
     {"14L13 |I ~D~L2 n3 #1 i2", "200L2 |M ~Numer rachunku~L2 s50 #3"},
     {},
     3},
    {"80L(2)|M*~Nazwa tabeli odsetek~@s20@", {"80L2 |M* ~Nazwa tabeli odsetek~L2 s20 #1 c2"}, {}, 5},
    {"46L(2)|M~Od dnia~@d17@45L(2)|M~Do dnia~@d17@50R(2)|M~Stopa odsetek~L@n-12_`4@56R(2)|M~Za okres (ilość dni)~L@"
     "n-14_@/",
     {"46L2 |M ~Od dnia~L2 d17 #1", "45L2 |M ~Do dnia~L2 d17 #2", "50R2 |M ~Stopa odsetek~L0 n-12_`4 #3",
      "56R2 |M ~Za okres (ilość dni)~L0 n-14_ #4 /"},
     {},
     4},
    {"100L(2)|FM*~Nazwa urzędu~@s50@Z(1)100L(2)|M*~Miejscowość~@s50@Z(2)/35L(2)|M*~Kod~@s10@Z(3)/200L(2)|M*~"
     "Telefon~@s50@/",
     {"100L2 |MF* ~Nazwa urzędu~L2 s50 #1 c2 z1", "100L2 |M* ~Miejscowość~L2 s50 #6 c7 z2 /",
      "35L2 |M* ~Kod~L2 s10 #11 c12 z3 /", "200L2 |M* ~Telefon~L2 s50 #16 c17 /"},
     {},
     20},
    {"0R(2)~ID_FIRMY~L@n-14@14L(4)|J~D~L(2)@n14@32L(2)|M~Symbol~@s5@100L(2)|M~Nazwa kasy~@s50@/",
     {"0R2 - ~ID_FIRMY~L0 n-14 #1", "14L4 |J ~D~L2 n14 #2 i3", "32L2 |M ~Symbol~L2 s5 #4",
      "100L2 |M ~Nazwa kasy~L2 s50 #5 /"},
     {},
     5},
    {"14L(2)|*I~D~C@n3@200L(2)|M~Nazwa klasyfikacji~@s50@",
     {"14L2 |I* ~D~C0 n3 #1 c2 i6", "200L2 |M ~Nazwa klasyfikacji~L2 s50 #7"},
     {},
     7},
    {"100L(2)|MI~A   Nazwisko~L(1)@s50@100L(2)|M~Imię~@s50@",
     {"100L2 |MI ~A   Nazwisko~L1 s50 #1 i2", "100L2 |M ~Imię~L2 s50 #3"},
     {},
     3},
    {"100L(2)|M~Nazwa~@s100@200L(2)|M~Treść szablonu~@s255@",
     {"100L2 |M ~Nazwa~L2 s100 #1", "200L2 |M ~Treść szablonu~L2 s255 #2"},
     {},
     2},
    {"80L(2)|M~Nazwa~@s50@Z(1)100L(2)|M~Adres WWW~@s100@Z(2)52R(2)|M~Data~L@d17@Z(3)30R(2)|M~Godzina~L@t7@100L(2)|M~"
     "Opis~@s200@80L(2)|M~Klucz śledzący~@s50@",
     {"80L2 |M ~Nazwa~L2 s50 #1 z1", "100L2 |M ~Adres WWW~L2 s100 #2 z2", "52R2 |M ~Data~L0 d17 #3 z3",
      "30R2 |M ~Godzina~L0 t7 #4", "100L2 |M ~Opis~L2 s200 #5", "80L2 |M ~Klucz śledzący~L2 s50 #6"},
     {},
     6},
    {"56R(2)|M~Ilość wysłanych~L@n14@56R(2)|M~Ilość klikniętych~L@n-14@40R(2)|M~Konwersja~L@n-10_`2~ %~@52L|M~Data~"
     "L(2)@d17@Z(1)20L(2)|M~Czas~@t7@",
     {"56R2 |M ~Ilość wysłanych~L0 n14 #1", "56R2 |M ~Ilość klikniętych~L0 n-14 #2",
      "40R2 |M ~Konwersja~L0 n-10_`2~ %~ #3", "52L0 |M ~Data~L2 d17 #4 z1", "20L2 |M ~Czas~L2 t7 #5"},
     {},
     5},
    // Field numbers given explicitly, trees, and all extra fields at once.
    {"50L(2)|MT~Drzewo~@s20@#3#40L~Kod~@s5@20D*IT~X~@n5@", 
     {"50L2 |MT ~Drzewo~L2 s20 #3 t4", "40L0 - ~Kod~L0 s5 #5", "20D0 IT* ~X~D0 n5 #6 c7 i11 t12"},
     {},
     12},
    {"[30C~A~@s5@#10#20L~B~@s5@]F~Grupa~C(3)20L~C~@s5@#2#",
     {"30C0 - ~A~C0 s5 #10 g0", "20L0 - ~B~L0 s5 #11 g0", "20L0 - ~C~L0 s5 #2"},
     {"0+2 F ~Grupa~C3"},
     11},
};

TEST(ListFormat, ReadsEveryWindowFormat) {
  for (const auto& c : kWindowFormats) {
    std::string error;
    auto format = ListFormat::parse(c.format, &error);
    ASSERT_TRUE(format.has_value()) << c.format << ": " << error;
    std::vector<std::string> columns;
    for (const auto& column : format->columns) columns.push_back(describe(column));
    std::vector<std::string> groups;
    for (const auto& group : format->groups) groups.push_back(describe(group));
    EXPECT_EQ(columns, c.columns) << c.format;
    EXPECT_EQ(groups, c.groups) << c.format;
    EXPECT_EQ(format->fieldCount, c.fieldCount) << c.format;
  }
}

TEST(ListFormat, ColumnsCarryWorkingPictures) {
  auto format = ListFormat::parse(kWindowFormats[0].format);
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->columns[2].picture.format("23"), "    23.00");
  EXPECT_EQ(format->columns[0].picture.format("Stawka podstawowa VAT 23%"), "Stawka podstawowa VA");
  auto sms = ListFormat::parse(kWindowFormats[19].format);
  ASSERT_TRUE(sms.has_value());
  EXPECT_EQ(sms->columns[2].picture.format("12.5"), "     12,50 %");
  EXPECT_EQ(sms->columns[3].picture.kind(), Picture::Kind::Date);
}

TEST(ListFormat, IconColumnsShowNoNumberThatOnlyChoseTheirIcon) {
  // A narrow marker column, a wide count beside an icon, and plain number and text columns.
  auto format = ListFormat::parse("14R(2)|MI~S~L(2)@n1@30L(2)|J~Zał.~L(2)@n2@40R(2)|M~Kwota~@n-9`2@50L(2)|M~Kod~@s5@");
  ASSERT_TRUE(format.has_value());
  const auto& marker = format->columns[0];
  const auto& count = format->columns[1];
  const auto& amount = format->columns[2];
  const auto& code = format->columns[3];
  EXPECT_EQ(marker.display("0"), "");
  EXPECT_EQ(marker.display("1"), "") << "a column no wider than its icon shows the icon alone";
  EXPECT_EQ(count.display("0"), "") << "no attachments: no \"0\" beside the icon";
  EXPECT_EQ(count.display("0.00"), "");
  EXPECT_EQ(count.display("3"), "3");
  EXPECT_EQ(amount.display("0"), "0,00") << "outside icon columns a zero is a value";
  EXPECT_EQ(amount.display("-1234.5"), "-1 234,50");
  EXPECT_EQ(code.display("  KOR  "), "KOR") << "padding goes, the value stays";
  EXPECT_EQ(code.display(""), "");
  EXPECT_EQ(amount.display(""), "") << "a value a list emptied is not the picture's zero";
}

TEST(ListFormat, ReportsBadFormatsWithThePosition) {
  struct Case {
    const char* format;
    const char* error;
  };
  const Case cases[] = {
      {"105L(2)|MI~A   Nazwa@s20@", "pozycji 11: brak zamykającego znaku '~'"},
      {"[50L(2)|M~Data~@d17@", "pozycji 21: brak zamykającego znaku ']'"},
      {"50L(2)~A~@s5@]", "pozycji 14: znak ']' bez otwierającego '['"},
      {"[[50L~A~@s5@]]", "pozycji 2: grupa wewnątrz grupy"},
      {"[]|M~X~", "pozycji 2: pusta grupa"},
      {"50X~A~", "pozycji 3: oczekiwano wyrównania L, R, C lub D"},
      {"50L(2~A~", "pozycji 6: brak zamykającego znaku ')'"},
      {"50L~A~@s5", "pozycji 7: brak zamykającego znaku '@'"},
      {"50L~A~@x5@", "pozycji 7: Nieprawidłowy format pola \"x5\""},
      {"50L~A~@n-10_`2~ %@", "pozycji 7: brak zamykającego znaku '~' w formacie pola"},
      {"50LQ~A~", "pozycji 4: nieznany znacznik 'Q'"},
      {"50L~Łódź~@s5@Q", "pozycji 14: nieznany znacznik 'Q'"},  // characters, not bytes
      {"50L#0#", "pozycji 5: numer pola musi być większy od zera"},
      {"50L#3", "pozycji 6: brak zamykającego znaku '#'"},
      {"50LZ2", "pozycji 5: oczekiwano znaku '('"},
      {"[50L~A~]Q", "pozycji 9: nieznany znacznik grupy 'Q'"},
      {"[50L~A~]~Grupa", "pozycji 9: brak zamykającego znaku '~'"},
      {"~A~", "pozycji 1: oczekiwano szerokości kolumny"},
      {"", "pozycji 1: brak kolumn"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ListFormat::parse(c.format, &error).has_value()) << c.format;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.format << " gave: " << error;
    EXPECT_EQ(error.rfind("Błąd w formacie listy na ", 0), 0u) << error;
  }
}

}  // namespace
}  // namespace slownik::rt
