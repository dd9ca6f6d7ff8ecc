#pragma once

namespace slownik::tax_currency {

//! The country form "Kraj_Upd": the request in GLOBALREQUEST, the row in the KRAJE
//! record buffer; answers in GLOBALRESPONSE.
void KrajUpd();

}  // namespace slownik::tax_currency
