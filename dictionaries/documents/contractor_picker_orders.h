#pragma once
#include <array>
#include <string>
#include <string_view>

#include "engine/list_window.h"

namespace slownik::documents {

//! One search order of the contractor picker, as the drop list ?SORTOWANIE offers it.
struct ContractorPickerOrder {
  const char* item;             //!< the drop list's text ("nazwa (intuicja)")
  const char* key;              //!< the view's key
  engine::LocatorKind locator;  //!< how ?LOKATOR finds rows
  const char* field;            //!< the field the locator searches
  bool containsText;            //!< a filter locator matching the text anywhere in the field
  bool onlyNormalState;         //!< hides contractors whose FLAGA_STANU is not 0
  int style;                    //!< the list style (column) shown bold for the order
};

//! The seven orders in the drop list's order; the order's number is its place (from 1).
inline constexpr std::size_t kContractorPickerOrders = 7;
const std::array<ContractorPickerOrder, kContractorPickerOrders>& contractorPickerOrders();

//! The order's number by its drop-list text; 1 ("nazwa") for any other text.
int contractorPickerOrderNumber(std::string_view item);
//! The order by its number; order 1 for a number out of range.
const ContractorPickerOrder& contractorPickerOrder(int number);
//! The list styles the picker's columns carry (1..6).
inline constexpr int kContractorPickerStyles = 6;

//! The view filter (framework expression) of an order: "" or "(KON1:FLAGA_STANU=0)".
std::string contractorPickerStateFilter(int number);

//! The picture of the locator entry under an order: "@s20", or for "wyróżnik" the key-in
//! picture "K" + mask + "K" when the mask makes one (an empty mask would block typing).
std::string contractorPickerLocatorPicture(int number, std::string_view distinguisherMask);

//! The SQL condition the picker's view is limited by, without the leading "+": the
//! caller's condition, the hiding of suppliers and of recipients the user has no right to
//! see, and the rows-by-rights condition, each in parentheses and joined by "and" — an
//! "or" inside the caller's condition can never lift the rights' limits. "" when there is
//! nothing to limit.
std::string contractorPickerCondition(std::string_view callerCondition, bool maySeeSuppliers, bool maySeeRecipients,
                                      std::string_view rightsCondition);

}  // namespace slownik::documents
