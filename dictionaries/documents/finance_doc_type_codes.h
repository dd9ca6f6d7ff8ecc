#pragma once
#include <array>

#include "dictionaries/documents/doc_type_codes.h"

namespace slownik::documents {

//! RODZAJ_OPERACJI of financial document types as the list shows it. "g" (cash) is
//! listed but not offered by the form, which keeps it when its kind stays blank.
inline constexpr std::array<CodeText, 5> kFinanceKindTexts = {
    {{"k", "kasowa"}, {"b", "bankowa"}, {"g", "gotówkowa"}, {"c", "kompensata"}, {"i", "inna"}}};
//! The kinds the form offers.
inline constexpr std::array<CodeText, 4> kFinanceFormKinds = {
    {{"k", "kasowa"}, {"b", "bankowa"}, {"c", "kompensata"}, {"i", "inna"}}};
//! KIERUNEK: inflow, outflow, compensation.
inline constexpr std::array<CodeText, 3> kFinanceDirections = {
    {{"w", "wpływ"}, {"y", "wypływ"}, {"c", "kompensata"}}};

}  // namespace slownik::documents
