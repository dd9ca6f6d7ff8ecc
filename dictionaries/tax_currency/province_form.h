#pragma once

namespace slownik::tax_currency {

//! The province form "Wojewodztwo_Upd": the request in GLOBALREQUEST, the row in the
//! WOJEWODZTWO record buffer; answers in GLOBALRESPONSE.
void WojewodztwoUpd();

}  // namespace slownik::tax_currency
