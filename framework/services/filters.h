#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! Prepares a list's order or filter text: every occurrence of find replaced by
//! replace, letters of find matched in any case (a view's order may spell its
//! prefix "PRA:" or "pra:"). Used to turn ",PRA:" into ",-PRA:" for a descending
//! order. An empty find leaves the text as it is.
std::string PRZYGOTUJFILTR(std::string_view text, std::string_view find, std::string_view replace);

//! Joins a component to a list's SQL filter by AND: "(filter) and (component)",
//! each in parentheses so that an "or" inside one cannot leak into the other.
//! An empty (or blank) side adds nothing: the other side comes back unchanged,
//! and two empty sides give "".
std::string DODAJKOMPONENTFILTRA(std::string_view filter, std::string_view component);

}  // namespace slownik::svc
