#pragma once
#include <string>
#include <string_view>

namespace slownik::sql {

// A numbering definition is the row of NUMERACJA with ID_MAGAZYNU 0 and ROK 0: it holds
// the signature and the number format of one document type for every warehouse and
// year of its company. Documents keep their running numbers in rows of their own
// warehouse and year; the definition is what those rows start from.

//! The format a new definition gets: the signature, the running number and the year.
inline constexpr std::string_view kDefaultNumberFormat = "{SYGNATURA}/{NUMER}/{ROK}";

}  // namespace slownik::sql
