#include "dictionaries/banking/bank_sort_orders.h"

#include <gtest/gtest.h>

namespace slownik::banking {
namespace {

TEST(BankSortOrders, NamesAndNumbers) {
  struct Case {
    std::string name;
    int number;
  } cases[] = {{"numer", 1}, {"nazwa", 2}, {"SWIFT", 3}, {"kod", 4}, {"miejscowość", 5},
               {"", 1},      {"Nazwa", 1}, {"swift", 1}, {"miejscowosc", 1}, {"6", 1}};
  for (const auto& c : cases) EXPECT_EQ(bankSortNumber(c.name), c.number) << c.name;
  for (int n = 1; n <= kBankSortOrders; ++n) EXPECT_EQ(bankSortNumber(bankSortName(n)), n);
  EXPECT_EQ(bankSortName(0), "numer");
  EXPECT_EQ(bankSortName(kFallbackSort), "numer");
}

TEST(BankSortOrders, Directions) {
  struct Case {
    std::string stored;
    bool descending;
    std::string toggled;
    std::string icon;
  } cases[] = {
      {"rosnąco", false, "malejąco", "~rosnaco.ico"},
      {"malejąco", true, "rosnąco", "~malejaco.ico"},
      {"", false, "rosnąco", "~rosnaco.ico"},
      {"cokolwiek", false, "rosnąco", "~rosnaco.ico"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(isDescending(c.stored), c.descending);
    EXPECT_EQ(toggledDirection(c.stored), c.toggled);
    EXPECT_EQ(directionIcon(c.stored), c.icon);
  }
}

TEST(BankSortOrders, DirectionTurnsOnlyTheFirstComponent) {
  struct Case {
    std::string order;
    bool descending;
    std::string expected;
  } cases[] = {
      {"+BAN:NUMER_BANKU,+BAN:ID_BANKU", true, "-BAN:NUMER_BANKU,+BAN:ID_BANKU"},
      {"-BAN:NUMER_BANKU,+BAN:ID_BANKU", false, "+BAN:NUMER_BANKU,+BAN:ID_BANKU"},
      {"-UPPER(BAN:NAZWA),-BAN:ID_BANKU", true, "-UPPER(BAN:NAZWA),-BAN:ID_BANKU"},
      {"+UPPER(BAN:NAZWA),-BAN:ID_BANKU", false, "+UPPER(BAN:NAZWA),-BAN:ID_BANKU"},
      {"BAN:SWIFT,+BAN:ID_BANKU", true, "-BAN:SWIFT,+BAN:ID_BANKU"},
      {"", true, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(directedOrder(c.order, c.descending), c.expected) << c.order;
}

TEST(BankSortOrders, HeadersSortOnlyColumnsWithoutAKeyOrder) {
  for (const char* keyed : {"BAN:NAZWA", "BAN:NUMER_BANKU", "BAN:SWIFT", "BAN:KOD_POCZTOWY", "BAN:MIEJSCOWOSC",
                            "ban:nazwa"})
    EXPECT_FALSE(isHeaderSortable(keyed)) << keyed;
  for (const char* free : {"BAN:ULICA_LOKAL", "BAN:TEL", "BAN:ID_BANKU", "NAZWA_BANKU"})
    EXPECT_TRUE(isHeaderSortable(free)) << free;
}

}  // namespace
}  // namespace slownik::banking
