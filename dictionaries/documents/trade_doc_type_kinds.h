#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "dictionaries/documents/doc_type_codes.h"

namespace slownik::documents {

//! Kinds of trade documents: the form's text and the stored KOD_RODZAJU.
inline constexpr std::array<CodeText, 4> kTradeKinds = {{{"z", "zakup"},
                                                          {"s", "sprzedaż"},
                                                          {"kz", "korekta zakupu"},
                                                          {"ks", "korekta sprzedaży"}}};

//! KLASA_RODZAJU of a kind code: 3 purchase, 1 sale (101 for the signature "FN"),
//! 4 purchase correction, 2 sale correction; nullopt for an unknown code.
std::optional<int> tradeKindClass(std::string_view code, std::string_view signature);

//! How the signature fixes the summing field: "PR" and "DRS" sum gross only; corrections
//! ("FVk", "FZk", "PRk") and "N" have no summing of their own.
enum class SummingRule { Free, GrossOnly, Hidden };
SummingRule tradeSummingRule(std::string_view signature);

}  // namespace slownik::documents
