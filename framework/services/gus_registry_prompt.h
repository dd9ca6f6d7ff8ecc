#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace slownik::svc {

//! The tax number as the register wants it: ten digits, without the blanks, dashes and
//! "PL" prefix people type; nullopt when what is left is not a valid tax number.
std::optional<std::string> registryNip(std::string_view typed);

//! Asks the person for the tax number to look up ("Pobierz dane z GUS"), offering
//! `proposed`. Runs on the calling thread as a window of its own over the caller's and
//! keeps asking until the number is valid. The ten digits; nullopt = cancelled.
std::optional<std::string> askRegistryNip(std::string_view proposed);

}  // namespace slownik::svc
