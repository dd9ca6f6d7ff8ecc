#pragma once

namespace slownik::tax_currency {

//! Opens the country list as a picker: reads GLOBALREQUEST (4), leaves the answer in
//! GLOBALRESPONSE and the chosen country in the KRAJE record buffer. When the module
//! was built without the country list, the pick is answered as cancelled.
void callCountryPicker();

}  // namespace slownik::tax_currency
