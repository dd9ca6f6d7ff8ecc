#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "framework/services/rates/rate_period.h"

namespace slownik::tax_currency {

//! "Pobierz kursy za okres…" of the currency list: asks for the period in a window of its
//! own (proposing the first of `day`'s month to `day`), downloads the banks' tables behind
//! the progress window, whose "Anuluj" stops it keeping the days stored, and tells what was
//! stored. Returns the number of tables stored (the list then shows them).
int downloadRatePeriodWindow(std::int32_t day);

//! What the person is told after a period download.
std::string ratePeriodReport(const svc::RatePeriod& period, const svc::RatePeriodDownload& result);

}  // namespace slownik::tax_currency
