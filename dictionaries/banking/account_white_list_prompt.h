#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slownik::banking {

//! What the person asked the white list about.
struct WhiteListQuestion {
  std::string nip;  //!< ten digits
  std::int32_t day = 0;
};

//! Asks for the tax number to check the account against (offering `proposedNip`) and the
//! day of the check (offering today). A window of its own over the caller's, on the
//! calling thread; asks again until the number is valid and the day is not in the
//! future. nullopt = cancelled.
std::optional<WhiteListQuestion> askWhiteListQuestion(std::string_view proposedNip);

}  // namespace slownik::banking
