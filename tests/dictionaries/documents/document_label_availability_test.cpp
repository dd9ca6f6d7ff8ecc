// Where a label may be used: the DOKUMENT text, the list's filter items and a caller's kind.
#include <gtest/gtest.h>

#include "dictionaries/documents/document_label_availability.h"

namespace slownik::documents {
namespace {

TEST(DocumentLabelAvailability, TextHoldsOnePositionPerList) {
  const struct {
    const char* text;
    const char* normalised;
    bool any;
  } rows[] = {
      {"100000000", "100000000", true},
      {"000000001", "000000001", true},
      {"010101010", "010101010", true},
      {"000000000", "000000000", false},
      {"11", "110000000", true},           // a short text: the rest unavailable
      {"", "000000000", false},
      {"1x1 00000", "101000000", true},    // anything but "1" is unavailable
      {"0000000001111", "000000000", false},  // beyond nine positions nothing counts
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    LabelAvailability available = decodeLabelAvailability(r.text);
    EXPECT_EQ(encodeLabelAvailability(available), r.normalised);
    EXPECT_EQ(isAnyAvailable(available), r.any);
  }
  EXPECT_EQ(labelAvailabilityControls().front(), std::string("?DOK_MAG"));
  EXPECT_EQ(labelAvailabilityControls().back(), std::string("?TABELE_DOD"));
}

TEST(DocumentLabelAvailability, FilterItemsAndCallersKindsGiveTheFilter) {
  const struct {
    const char* item;
    int position;
    const char* filter;
  } items[] = {
      {"Wszystkie", 0, ""},
      {"Magazynowe", 1, "+SUBSTRING(dokument,1,1)='1'"},
      {"Zamowienia", 2, "+SUBSTRING(dokument,2,1)='1'"},
      {"Handlowe", 3, "+SUBSTRING(dokument,3,1)='1'"},
      {"Finansowe", 4, "+SUBSTRING(dokument,4,1)='1'"},
      {"Rozrachunki", 5, "+SUBSTRING(dokument,5,1)='1'"},
      {"Zlecenie produkcyjne", 6, "+SUBSTRING(dokument,6,1)='1'"},
      {"Artykuły", 7, "+SUBSTRING(dokument,7,1)='1'"},
      {"Kontrahenci", 8, "+SUBSTRING(dokument,8,1)='1'"},
      {"tabel dodatkowych", 0, ""},
  };
  for (const auto& r : items) {
    SCOPED_TRACE(r.item);
    EXPECT_EQ(labelFilterPosition(r.item), r.position);
    EXPECT_EQ(labelFilter(labelFilterPosition(r.item)), r.filter);
  }
  EXPECT_EQ(labelFilter(9), "+SUBSTRING(dokument,9,1)='1'");
  EXPECT_EQ(labelFilter(10), "");

  const struct {
    const char* kind;
    int position;  // 0: refused
  } kinds[] = {{"1", 1}, {"9", 9}, {" 3  ", 3}, {"0", 0}, {"10", 0}, {"", 0}, {"1' or '1'='1", 0}, {"-1", 0}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind);
    EXPECT_EQ(labelListPosition(k.kind).value_or(0), k.position);
  }
}

}  // namespace
}  // namespace slownik::documents
