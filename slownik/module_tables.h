#pragma once
#include <span>
#include <string_view>

namespace slownik {

//! The tables whose file managers the module takes at SLOWNIK_INIT and gives the error
//! handler, in the order it gives it.
std::span<const std::string_view> moduleTables();

}  // namespace slownik
