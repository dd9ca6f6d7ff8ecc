#include "dictionaries/tax_currency/currency_country_picker.h"

#include "framework/data/requests.h"

// The country list is a dictionary of its own; a weak reference lets the currency
// form be built and tested before (or without) it.
extern "C" void KRAJ_BRW() __attribute__((weak));

namespace slownik::tax_currency {

void callCountryPicker() {
  if (KRAJ_BRW) {
    KRAJ_BRW();
    return;
  }
  data::GLOBALREQUEST() = data::kNoRequest;
  data::GLOBALRESPONSE() = data::kRequestCancelled;
}

}  // namespace slownik::tax_currency
