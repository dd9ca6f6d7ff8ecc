#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! The current user's stored parameter of a window ("" if none). Window names match
//! in any letter case ("Bank_Brw" = "BANK_BRW"); parameter names match exactly.
std::string POBIERZPARAMETROKNA(std::string_view window, std::string_view name);

//! Stores (replaces) the current user's parameter of a window. 0 on success, else
//! the runtime error code (the text in the runtime error state).
int ZAPISZPARAMETROKNA(std::string_view window, std::string_view name, std::string_view value);

}  // namespace slownik::svc
