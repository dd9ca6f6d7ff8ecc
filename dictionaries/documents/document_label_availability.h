#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace slownik::documents {

//! Where a document label may be used: one "0"/"1" character per list in ETYKIETA_DOKUMENTU.DOKUMENT,
//! by position 1..9 (warehouse documents, orders, trade documents, financial documents,
//! settlements, production orders, articles, contractors, additional tables).
inline constexpr int kLabelPositions = 9;
using LabelAvailability = std::array<bool, kLabelPositions>;

//! The check boxes of the label form, position by position.
const std::array<const char*, kLabelPositions>& labelAvailabilityControls();

//! The DOKUMENT text: "1" for an available position, "0" for the others.
std::string encodeLabelAvailability(const LabelAvailability& available);
//! The positions of a DOKUMENT text; a missing or other character than "1" is unavailable.
LabelAvailability decodeLabelAvailability(std::string_view text);
bool isAnyAvailable(const LabelAvailability& available);

//! The items of the list's filter ("Wszystkie", "Magazynowe", … "Kontrahenci") with the
//! position each stands for; "Wszystkie" is 0 (no filter). Position 9 has no item.
struct LabelFilterItem {
  const char* text;
  int position;
};
inline constexpr std::array<LabelFilterItem, 9> kLabelFilterItems = {{{"Wszystkie", 0},
                                                                      {"Magazynowe", 1},
                                                                      {"Zamowienia", 2},
                                                                      {"Handlowe", 3},
                                                                      {"Finansowe", 4},
                                                                      {"Rozrachunki", 5},
                                                                      {"Zlecenie produkcyjne", 6},
                                                                      {"Artykuły", 7},
                                                                      {"Kontrahenci", 8}}};
//! The position a filter item stands for; 0 for "Wszystkie" and any unknown text.
int labelFilterPosition(std::string_view item);

//! A caller's list kind ("3", " 7 ") as a position 1..9; nullopt for anything else.
std::optional<int> labelListPosition(std::string_view listKind);

//! The list's SQL filter for a position: "+SUBSTRING(dokument,<p>,1)='1'"; "" for 0.
std::string labelFilter(int position);

}  // namespace slownik::documents
