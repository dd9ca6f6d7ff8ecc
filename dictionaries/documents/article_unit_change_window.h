#pragma once

#include <string_view>

namespace slownik::documents {

//! The quantity-change window ("Zmiana ilości w jednostce"), opened by the unit chooser:
//! the position's quantity in its own unit (factor `factor`, symbol `unitSymbol`) and in
//! the unit in this thread's JEDNOSTKA buffer, either of them typed, the other following
//! through the base quantity (`baseQuantity` at opening). Returns the quantity in the
//! position's unit (4 places), also when cancelled; GLOBALRESPONSE 1 when confirmed,
//! 2 otherwise. Runs on the calling thread.
double ZMIANAILOSCIJEDNOSTKI(double quantity, double baseQuantity, double factor, std::string_view unitSymbol);

}  // namespace slownik::documents
