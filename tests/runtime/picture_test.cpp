#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/date_time.h"
#include "framework/runtime/picture.h"

namespace slownik::rt {
namespace {

Picture picture(const std::string& text) {
  std::string error;
  auto p = Picture::fromString(text, &error);
  EXPECT_TRUE(p.has_value()) << text << ": " << error;
  return p.value_or(Picture());
}

const std::string kTime080530 = std::to_string(timeValue(8, 5, 30));

// Every picture the module's windows use, with stored values and what the user sees.
TEST(Picture, FormatsEveryPictureOfTheWindows) {
  struct Case {
    const char* picture;
    std::string stored;
    std::string shown;
  };
  const Case cases[] = {
      // Text: cut to the width in characters, never inside a Polish letter.
      {"@s3", "PLN", "PLN"},
      {"@s3", "ABCDE", "ABC"},
      {"@s3", "Łódź", "Łód"},
      {"@s1", "T", "T"},
      {"@s2", "PL", "PL"},
      {"@s5", "O'Neil", "O'Nei"},
      {"@s6", "00-950", "00-950"},
      {"@s20", "Bank Pekao S.A.", "Bank Pekao S.A."},
      {"@s50", "", ""},
      {"@s255", std::string(300, 'x'), std::string(255, 'x')},
      {"s20", "bez małpy", "bez małpy"},
      // Numbers: right-aligned, blank-grouped thousands, '#' when too wide.
      {"@n-9.2", "23", "    23.00"},
      {"@n-9.2", "1234.5", " 1 234.50"},
      {"@n-9.2", "-1234.5", "-1 234.50"},
      {"@n-9.2", "-12345.67", "#########"},
      {"@n-9.2", "0.005", "     0.01"},
      {"@n-9.2", "", "     0.00"},
      {"@n1", "1", "1"},
      {"@n1", "12", "#"},
      {"@n2", "7", " 7"},
      {"@n3", "0", "  0"},
      {"@n4", "12", "  12"},
      {"@n4", "1000", "####"},  // "1 000" needs five places
      {"@n14", "1234567", "     1 234 567"},
      {"@n-14", "-5", "            -5"},
      {"@n_15", "123456789012345", "123456789012345"},
      {"@n12_`6", "4.123456", "    4,123456"},
      {"@n12_`6", "12345.123456", "12345,123456"},
      {"@n12_`6", "123456.1", "############"},
      {"@n12_`6", "4.1234565", "    4,123457"},
      {"@n-14_`4", "-1.5", "       -1,5000"},
      {"@n-14_`2", "19.999", "         20,00"},
      {"@n-12_`4", "13.5", "     13,5000"},
      {"@n14_`4", "4.1234", "        4,1234"},
      {"@n16_`4", "1234567.25", "    1234567,2500"},
      {"@n10_`4", "9.5", "    9,5000"},
      {"@n10_", "1234567890", "1234567890"},
      {"@n7_", "30", "     30"},
      {"@n-14_", "-365", "          -365"},
      {"@n-10_`2~ %~", "12.5", "     12,50 %"},
      {"@n-10_`2~ %~", "-3", "     -3,00 %"},
      {"N12_", "1000", "        1000"},
      {"n15_", "6100003", "        6100003"},
      {"@n-9.2", "1e-05", "     0.00"},  // floating columns may arrive in exponent form
      {"@n-9.2", "abc", "abc"},          // shown as it is rather than as a made-up number
      // An unsigned picture still shows the minus rather than a different number.
      {"@n14", "-7", "            -7"},
      // Dates: the short Polish form, blank for no date.
      {"@d17", "82525", "08.12.2026"},
      {"@d17", "36163", "01.01.1900"},
      {"@d17", "0", ""},
      {"@d17", "", ""},
      {"@d17", "99999999", "##########"},
      {"@D17", "82525", "08.12.2026"},
      // Times.
      {"@t1", kTime080530, "08:05"},
      {"@t7", kTime080530, "08:05"},
      {"@t8", kTime080530, "08:05:30"},
      {"@t8", "1", "00:00:00"},
      {"@t7", "0", ""},
      {"@t1", "8640001", "#####"},
      // Key-in: literals filled in when the stored text lacks them.
      {"K##-###K", "00950", "00-950"},
      {"K##-###K", "00-950", "00-950"},
      {"K##-###K", "zły kod", "zły kod"},
      {"K##-###K", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(picture(c.picture).format(c.stored), c.shown) << c.picture << " <- \"" << c.stored << "\"";
  }
}

TEST(Picture, ReadsWhatTheUserTypes) {
  const std::int32_t ref = dayNumber(2026, 6, 15);
  struct Case {
    const char* picture;
    const char* typed;
    const char* stored;  // nullptr = refused, the field keeps its value
  };
  const Case cases[] = {
      {"@s3", "ABCD", "ABC"},
      {"@s50", "O'Brien & Syn", "O'Brien & Syn"},
      {"@s5", "", ""},
      // Numbers: either separator, blanks and no-break spaces as grouping, rounding half up.
      {"@n-9.2", "1 234,5", "1234.50"},
      {"@n-9.2", "1\xC2\xA0" "234.5", "1234.50"},
      {"@n-9.2", "-0.5", "-0.50"},
      {"@n-9.2", "12.345", "12.35"},
      {"@n-9.2", "12.344", "12.34"},
      {"@n-9.2", "", "0.00"},
      {"@n-9.2", "23", "23.00"},
      {"@n-9.2", "abc", nullptr},
      {"@n-9.2", "12,3,4", nullptr},
      {"@n-9.2", "1234567", nullptr},  // "1 234 567.00" does not fit nine places
      {"@n-9.2", "12-3", nullptr},
      {"@n-9.2", "--3", nullptr},
      {"@n-9.2", "5-", "-5.00"},
      {"@n4", "12", "12"},
      {"@n4", "12,5", "13"},
      {"@n4", "-5", nullptr},  // no minus in the picture, no negative input
      {"@n4", "10000", nullptr},
      {"@n1", "1", "1"},
      {"@n1", "2x", nullptr},
      {"@n14", "1 234 567", "1234567"},
      {"@n_15", "123456789012345", "123456789012345"},
      {"@n_15", "1234567890123456", nullptr},
      {"@n12_`6", "4,123456", "4.123456"},
      {"@n12_`6", "4.1234567", "4.123457"},
      {"@n12_`6", "1 000,5", "1000.500000"},
      {"@n-14_`4", "-1,5", "-1.5000"},
      {"@n-14_`2", "1e5", nullptr},
      {"@n-12_`4", "13,5", "13.5000"},
      {"@n16_`4", "2,25", "2.2500"},
      {"@n10_`4", "12345,1234", "12345.1234"},
      {"@n10_`4", "123456,1234", nullptr},  // eleven places with the comma
      {"@n7_", "30", "30"},
      {"@n-14_", "-365", "-365"},
      {"@n-10_`2~ %~", "12,5 %", "12.50"},
      {"@n-10_`2~ %~", "12,5%", "12.50"},
      {"@n-10_`2~ %~", "12,5", "12.50"},
      {"@n-10_`2~ %~", "%", "0.00"},
      {"N12_", "1000", "1000"},
      {"N12_", "1.5", "2"},
      {"N12_", "1234567890123", nullptr},
      {"n15_", "6100003", "6100003"},
      {"n15_", "sześć", nullptr},
      // Dates and times.
      {"@d17", "8.12.2026", "82525"},
      {"@d17", "2026-12-08", "82525"},
      {"@d17", "081226", "82525"},
      {"@d17", "31.02.2026", nullptr},
      {"@d17", "", "0"},
      {"@d17", "8.12", "82525"},
      {"@D17", "12.05.65", "60035"},
      {"@D17", "1.1.27", "46024"},   // a birth date is never in the future: 1927
      {"@d17", "1.1.27", "82549"},   // a document date may be: 2027
      {"@t1", "8:05", "2910001"},
      {"@t7", "0805", "2910001"},
      {"@t8", "08:05:30", "2913001"},
      {"@t8", "", "0"},
      {"@t1", "25:00", nullptr},
      {"@t7", "8:65", nullptr},
      // Key-in: literals may be typed or left out; placeholders must be filled.
      {"K##-###K", "00950", "00-950"},
      {"K##-###K", "00-950", "00-950"},
      {"K##-###K", "", ""},
      {"K##-###K", "0095", nullptr},
      {"K##-###K", "00-9500", nullptr},
      {"K##-###K", "ab-cde", nullptr},
      {"K<<###K", "ab123", "AB123"},
      {"K<<###K", "łż123", "ŁŻ123"},
      {"K<<###K", "1b123", nullptr},
      {"K>>-?K", "AB-x", "ab-x"},
      {"KPL## ####K", "121234", "PL12 1234"},
      {"KPL## ####K", "PL12 1234", "PL12 1234"},
      {"K\\K##K", "12", "K12"},
  };
  for (const auto& c : cases) {
    Picture p = picture(c.picture);
    std::string value = "stary";
    bool ok = p.parse(c.typed, &value, ref);
    if (c.stored == nullptr) {
      EXPECT_FALSE(ok) << c.picture << " <- \"" << c.typed << "\" gave " << value;
      EXPECT_EQ(value, "stary") << c.picture << " <- \"" << c.typed << "\"";
    } else {
      EXPECT_TRUE(ok) << c.picture << " <- \"" << c.typed << "\"";
      EXPECT_EQ(value, c.stored) << c.picture << " <- \"" << c.typed << "\"";
    }
  }
}

TEST(Picture, WhatIsReadShowsAgainAndReadsBackTheSame) {
  const std::int32_t ref = dayNumber(2026, 6, 15);
  struct Case {
    const char* picture;
    const char* typed;
  };
  const Case cases[] = {{"@n-9.2", "-1234,5"},    {"@n12_`6", "4,123456"}, {"@n-10_`2~ %~", "-12,5"},
                        {"@n14", "1234567"},      {"@d17", "29.02.2028"},  {"@t8", "23:59:59"},
                        {"K##-###K", "00950"},    {"@n9.2-", "-12"},       {"@n12.`2", "1234567,5"}};
  for (const auto& c : cases) {
    Picture p = picture(c.picture);
    std::string stored;
    ASSERT_TRUE(p.parse(c.typed, &stored, ref)) << c.picture << " <- " << c.typed;
    std::string shown = p.format(stored);
    std::string again;
    ASSERT_TRUE(p.parse(shown, &again, ref)) << c.picture << " <- " << shown;
    EXPECT_EQ(again, stored) << c.picture << " via \"" << shown << "\"";
  }
}

TEST(Picture, UnderstandsTheNumberNotation) {
  struct Case {
    const char* picture;
    int width;
    int decimals;
    bool isSigned;
    bool grouping;
    char decimalSeparator;
    const char* suffix;
  };
  const Case cases[] = {
      {"@n-9.2", 9, 2, true, true, '.', ""},     {"@n4", 4, 0, false, true, '.', ""},
      {"@n_15", 15, 0, false, false, '.', ""},   {"@n12_`6", 12, 6, false, false, ',', ""},
      {"@n-14_`4", 14, 4, true, false, ',', ""}, {"@n-10_`2~ %~", 10, 2, true, false, ',', " %"},
      {"N12_", 12, 0, false, false, '.', ""},    {"n15_", 15, 0, false, false, '.', ""},
      {"@n10_`", 10, 0, false, false, ',', ""},  {"@n9.2-", 9, 2, true, true, '.', ""},
  };
  for (const auto& c : cases) {
    Picture p = picture(c.picture);
    EXPECT_EQ(p.kind(), Picture::Kind::Number) << c.picture;
    EXPECT_EQ(p.width(), c.width) << c.picture;
    EXPECT_EQ(p.decimals(), c.decimals) << c.picture;
    EXPECT_EQ(p.isSigned(), c.isSigned) << c.picture;
    EXPECT_EQ(p.hasGrouping(), c.grouping) << c.picture;
    EXPECT_EQ(p.decimalSeparator(), c.decimalSeparator) << c.picture;
    EXPECT_EQ(p.suffix(), c.suffix) << c.picture;
  }
  // A prefix, explicit grouping marks and a trailing minus.
  Picture money = picture("@n-~PLN ~12.`2");
  EXPECT_EQ(money.format("-1234.5"), "PLN    -1.234,50");
  std::string v;
  EXPECT_TRUE(money.parse("PLN 1.234,50", &v));
  EXPECT_EQ(v, "1234.50");
  EXPECT_EQ(picture("@n9.2-").format("-12"), "   12.00-");
  EXPECT_EQ(picture("@n9.2-").format("12"), "   12.00 ");
  // Sorting by a header needs to know what kind of value a column shows.
  EXPECT_EQ(picture("@d17").kind(), Picture::Kind::Date);
  EXPECT_EQ(picture("@t7").kind(), Picture::Kind::Time);
  EXPECT_EQ(picture("@e12.4").kind(), Picture::Kind::Exponent);
  EXPECT_EQ(picture("@s20").kind(), Picture::Kind::String);
  EXPECT_EQ(picture("K##-###K").kind(), Picture::Kind::KeyIn);
  EXPECT_EQ(picture("@D17").twoDigitYears(), TwoDigitYears::Past);
  EXPECT_EQ(picture("@d17").twoDigitYears(), TwoDigitYears::NearFuture);
  EXPECT_EQ(picture("@e12.4").format("12345.678"), "  1.2346e+04");
  EXPECT_TRUE(picture("@e12.4").parse("1,5e3", &v));
  EXPECT_EQ(v, "1500");
}

TEST(Picture, RefusesPicturesItCannotRead) {
  for (const char* text : {"", "@", "@x5", "@s", "@s0", "@s20x", "@n", "@n-", "@n12..2", "@n5.9", "@n-9.2-",
                           "@n-10_`2~ %", "@n~zł", "@n12`.`2", "@d5", "@d", "@t3", "@t", "@e", "K##", "KK",
                           "K\\K", "@n99", "@n12_`19x"}) {
    std::string error;
    EXPECT_FALSE(Picture::fromString(text, &error).has_value()) << text;
    EXPECT_NE(error.find("Nieprawidłowy format pola"), std::string::npos) << text << ": " << error;
  }
}

}  // namespace
}  // namespace slownik::rt
