#pragma once
#include <string_view>

namespace slownik::documents {

//! Whether the code is one of those order handling is built on ("N" new, "C" partly
//! carried out, "Z" carried out, "Y" held, "A" cancelled); letter case aside.
bool isBuiltInStatusCode(std::string_view code);

}  // namespace slownik::documents
