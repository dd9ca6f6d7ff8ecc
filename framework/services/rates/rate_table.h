#pragma once
#include <functional>
#include <string>
#include <vector>

namespace slownik::svc {

//! One currency of a central bank's table, in units of the base currency per one unit.
struct CurrencyRate {
  std::string code;  //!< ISO symbol: "USD"
  double mid = 0;    //!< average (reference) rate
  double bid = 0;    //!< buying rate, 0 when the bank gives none
  double ask = 0;    //!< selling rate, 0 when the bank gives none
};

//! A bank's table for one day.
struct RateTable {
  long day = 0;  //!< day number of the quotation
  std::vector<CurrencyRate> rates;
  const CurrencyRate* find(const std::string& code) const {
    for (const auto& r : rates)
      if (r.code == code) return &r;
    return nullptr;
  }
};

//! Outcome of asking a bank: the table, or why there is none.
struct RateFetch {
  bool ok = false;
  bool cancelled = false;  //!< the person stopped it; `error` says so
  RateTable table;
  std::string error;  //!< Polish text for the user when !ok
};

//! Told before each request to a bank what is asked for ("2026-12-08", a file's name) and
//! how many requests came before it; answers false to stop there (the person cancelled).
using RateProgress = std::function<bool(const std::string& what, int done)>;

//! The text of a download the person stopped.
inline constexpr const char* kRatesCancelled = "Pobieranie kursów walut zostało przerwane.";

//! Where the banks are asked. Tests point these at a local server.
struct RateSources {
  std::string nbpBase = "https://api.nbp.pl";
  std::string ecbBase = "https://www.ecb.europa.eu/stats/eurofxref";
};
//! The program parameters that name the banks' addresses (the user's own setting, then
//! the company's), for an office behind a mirror or a proxy.
inline constexpr const char* kNbpAddressParameter = "NBP_Adres";
inline constexpr const char* kEcbAddressParameter = "ECB_Adres";
//! The addresses in force: each program parameter that is filled in, else what
//! setRateSources() gave (at start: the real banks, or SLOWNIK_NBP_URL / SLOWNIK_ECB_URL).
RateSources rateSources();
void setRateSources(RateSources sources);

//! Day numbers (1 = 28 December 1800) and ISO dates "YYYY-MM-DD".
std::string isoDate(long day);
long dayFromIso(const std::string& iso);  //!< 0 when the text is not a date

}  // namespace slownik::svc
