#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace slownik::tax_currency {

//! Opens the rate window for a day with a mode ("", "Pobierz z NBP", "Pobierz z ECB");
//! answers its response (1 completed, 2 cancelled).
using RateWindowCall = std::function<int(std::int32_t day, const std::string& mode)>;

//! The source code of the program parameter "WalStartSys": 0 "Pobierz z NBP",
//! -1 "Pobierz z ECB", -2 anything else (rates of any source count then).
int startupRateSource(std::string_view parameter);

//! Whether rates of `source` are quoted for `day` ("call TK_Czy_SaKursyWalut");
//! a failed query counts as no rates.
bool ratesExist(std::int32_t day, int source);

//! LADUJWALUTY with the rate window supplied by the caller (tests give their own).
void loadRates(std::string_view open, std::string_view notify, std::int32_t date, const RateWindowCall& rateWindow);

}  // namespace slownik::tax_currency

//! Makes sure exchange rates exist for a day (`date` below 1: today). With `open` a
//! non-zero number the rate window opens for the day, again while the user wants to
//! complete missing rates; otherwise the program parameter "WalStartSys" decides
//! whether to ask, download or do nothing. With `notify` a number above 0, event 1024
//! is posted to that thread at the end.
extern "C" void LADUJWALUTY(const char* open, const char* notify, std::int32_t date = 0);
