#pragma once

extern "C" {
//! Rebuilds VATQ, the process-wide list of active VAT rates: highest rate first, by code
//! within a rate. On a database error the user is told why and VATQ stays empty.
void LOADVAT();
}
