#pragma once
#include <cstdint>

//! The conversion history of one tracking address ("Historia śledzenia adresu URL"),
//! newest first; "Sprawdź stan śledzenia" asks the database for a new snapshot. Nothing
//! is shown, and nothing checked, for an id of 0 or less.
extern "C" void SMS_URL_HISTORIA_BRW(std::int32_t trackingUrlId);
