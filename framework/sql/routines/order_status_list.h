#pragma once
#include <string_view>

namespace slownik::sql {

//! WERSJA_LISTY.NAZWA of the order statuses: its WERSJA grows each time the statuses
//! were changed (TKB_IntS_RM_TKBM_DocStatusListInit).
inline constexpr std::string_view kOrderStatusListName = "STATUSY_ZAMOWIEN";

}  // namespace slownik::sql
