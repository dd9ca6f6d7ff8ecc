#pragma once
#include <string>
#include <string_view>

namespace slownik::banking {

//! The bank list's named sort orders, as the drop list ?SORTOWANIE offers them and as
//! they are stored under "sortowanie": 1 "numer", 2 "nazwa", 3 "SWIFT", 4 "kod",
//! 5 "miejscowość". Order 6 (by number, incremental locator) is the fallback.
inline constexpr int kBankSortOrders = 5;
inline constexpr int kFallbackSort = 6;

//! The order's number by its name; 1 for any other name (also "").
int bankSortNumber(std::string_view name);
//! The name of order 1-5; "numer" for any other number.
std::string bankSortName(int order);

//! Directions as stored under "porządek".
inline constexpr const char* kAscending = "rosnąco";
inline constexpr const char* kDescending = "malejąco";
//! Whether a stored direction sorts descending: only "malejąco" does, so that a list
//! that never stored one sorts as its button shows (ascending).
bool isDescending(std::string_view direction);
//! The direction after the ?UPDOWN button: ascending unless it was ascending.
std::string toggledDirection(std::string_view direction);
//! The icon of ?UPDOWN for a direction.
std::string directionIcon(std::string_view direction);

//! An order text ("+BAN:NUMER_BANKU,+BAN:ID_BANKU") with its first component turned to
//! the direction; the other components keep theirs.
std::string directedOrder(std::string_view orderText, bool descending);

//! The header sorter's field check: the columns that have a sort order of their own
//! are sorted through the drop list, not by their headers.
bool isHeaderSortable(std::string_view field);

}  // namespace slownik::banking
