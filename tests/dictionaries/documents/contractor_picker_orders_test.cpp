// The contractor picker's rules that need no window: its orders, the locator's picture and
// the condition its rows are limited by.
#include <gtest/gtest.h>

#include "dictionaries/documents/contractor_picker_orders.h"

namespace slownik::documents {
namespace {

TEST(ContractorPickerOrders, ItemsNumberTheOrdersAndUnknownTextsFallBackToName) {
  const struct {
    const char* item;
    int number;
    const char* stateFilter;
    int boldStyle;
  } rows[] = {
      {"nazwa", 1, "", 1},
      {"nazwa (intuicja)", 2, "", 1},
      {"nip", 3, "(KON1:FLAGA_STANU=0)", 2},
      {"miejscowość", 4, "(KON1:FLAGA_STANU=0)", 3},
      {"kod pocztowy", 5, "(KON1:FLAGA_STANU=0)", 4},
      {"numer", 6, "(KON1:FLAGA_STANU=0)", 5},
      {"wyróżnik", 7, "(KON1:FLAGA_STANU=0)", 6},
      {"", 1, "", 1},
      {"NIP", 1, "", 1},
      {"miejscowosc", 1, "", 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.item);
    int number = contractorPickerOrderNumber(r.item);
    EXPECT_EQ(number, r.number);
    EXPECT_EQ(contractorPickerStateFilter(number), r.stateFilter);
    EXPECT_EQ(contractorPickerOrder(number).style, r.boldStyle);
  }
  EXPECT_STREQ(contractorPickerOrder(0).item, "nazwa");
  EXPECT_STREQ(contractorPickerOrder(8).item, "nazwa");
  EXPECT_TRUE(contractorPickerOrder(2).containsText);
  EXPECT_EQ(contractorPickerOrder(2).locator, engine::LocatorKind::Filter);
}

TEST(ContractorPickerOrders, OnlyTheDistinguisherTakesTheKeyInMask) {
  EXPECT_EQ(contractorPickerLocatorPicture(7, "<<##"), "K<<##K");
  EXPECT_EQ(contractorPickerLocatorPicture(7, ""), "@s20") << "an empty mask would take no typing";
  EXPECT_EQ(contractorPickerLocatorPicture(1, "<<##"), "@s20");
  EXPECT_EQ(contractorPickerLocatorPicture(6, "<<##"), "@s20");
}

TEST(ContractorPickerOrders, ConditionJoinsEachPartInParentheses) {
  const struct {
    const char* caller;
    bool suppliers;
    bool recipients;
    const char* rights;
    const char* expected;
  } rows[] = {
      {"", true, true, "", ""},
      {"   ", true, true, "", ""},
      {"A.OPERATOR_PLATNOSCI=1", true, true, "", "A.OPERATOR_PLATNOSCI=1"},
      {"", false, true, "", "isnull(A.DOSTAWCA,0)<>1"},
      {"", true, false, "", "isnull(A.ODBIORCA,0)<>1"},
      {"", true, true, "A.ID_KONTRAHENTA in (1,2)", "A.ID_KONTRAHENTA in (1,2)"},
      {"A.X=1 or A.Y=2", false, true, "", "(A.X=1 or A.Y=2) and (isnull(A.DOSTAWCA,0)<>1)"},
      {"A.X=1", false, false, "1=0",
       "(((A.X=1) and (isnull(A.DOSTAWCA,0)<>1)) and (isnull(A.ODBIORCA,0)<>1)) and (1=0)"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.caller);
    EXPECT_EQ(contractorPickerCondition(r.caller, r.suppliers, r.recipients, r.rights), r.expected);
  }
}

}  // namespace
}  // namespace slownik::documents
