#pragma once

extern "C" {
//! Rebuilds VATQ, the process-wide list of active VAT rates: highest rate first, by code
//! within a rate. On a database error the user is told why, VATQ keeps the rates it had
//! and is marked stale: the next call, or the VAT list's opening, tries again.
void LOADVAT();
}

namespace slownik::tax_currency {
//! LOADVAT as a user starts it from the menu: it ends by telling what it loaded.
void loadVatAndTell();
}  // namespace slownik::tax_currency
