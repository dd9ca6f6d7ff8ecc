#pragma once
#include <string>
#include <string_view>

namespace slownik::banking {

//! Rights to one cash desk are granted per desk: a DOSTEP row whose ID_OBIEKTU is the
//! desk's id. A list of cash desks filters by them, so that it asks the database once
//! per page instead of the rights service once per row.

//! The cash desks the user may see in a list: both "OKasy" and "Kasy" for the desk.
//! Empty for the administrator.
std::string cashDeskRowFilter(std::string_view idColumn = "KAS:ID_KASY");

}  // namespace slownik::banking
