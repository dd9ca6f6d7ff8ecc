#include <gtest/gtest.h>

#include <set>

#include "framework/runtime/keys.h"

namespace slownik::rt {
namespace {

// Every Polish letter, in either case, is a key of its own that lists and locators take
// as a letter: one code per letter, named by its capital, and typing back that capital.
TEST(PolishLetterKeys, EachLetterHasOneCodeForBothCasesAndTypesItsCapital) {
  const char* letters[][2] = {{"ą", "Ą"}, {"ć", "Ć"}, {"ę", "Ę"}, {"ł", "Ł"}, {"ń", "Ń"},
                              {"ó", "Ó"}, {"ś", "Ś"}, {"ź", "Ź"}, {"ż", "Ż"}};
  std::set<int> codes;
  for (const auto& [lower, upper] : letters) {
    SCOPED_TRACE(upper);
    auto small = keyOfCharacter(lower);
    auto capital = keyOfCharacter(upper);
    ASSERT_TRUE(small && capital);
    EXPECT_EQ(*small, *capital);
    EXPECT_TRUE(key::isPolishLetter(*small));
    codes.insert(*small);
    EXPECT_EQ(characterOfKey(*small), upper);
    EXPECT_EQ(keyName(*small), upper);
    EXPECT_EQ(keyFromName(upper), *small);
    EXPECT_EQ(keyFromName(std::string("Ctrl+") + upper), key::withCtrl(*small));
    // A code with Ctrl or Alt held is a command, not typing.
    EXPECT_EQ(characterOfKey(key::withCtrl(*small)), "");
    EXPECT_EQ(characterOfKey(key::withAlt(*small)), "");
  }
  EXPECT_EQ(codes.size(), 9u);
  // None of them is a key that already means something else.
  for (int k : {key::F1, key::F12, key::Del, key::History & 0xFF, int('Z'), int('9')})
    EXPECT_EQ(codes.count(key::base(k)), 0u) << k;
}

TEST(PolishLetterKeys, PlainCharactersKeepTheirOwnKeysAndOthersHaveNone) {
  EXPECT_EQ(keyOfCharacter("a"), key::letter('A'));
  EXPECT_EQ(keyOfCharacter("Z"), key::letter('Z'));
  EXPECT_EQ(keyOfCharacter("7"), int('7'));
  EXPECT_EQ(keyOfCharacter(" "), key::Space);
  EXPECT_EQ(characterOfKey(key::letter('K')), "K");
  EXPECT_EQ(characterOfKey(key::Space), " ");
  for (const char* other : {"", "é", "ß", "€", "ab", "ąą", "!", "\t"}) EXPECT_FALSE(keyOfCharacter(other)) << other;
  EXPECT_EQ(characterOfKey(key::F2), "");
  EXPECT_EQ(characterOfKey(key::Enter), "");
}

}  // namespace
}  // namespace slownik::rt
