#pragma once
// The VAT rates list: shows the rates and lets an authorised user switch one on or off.

extern "C" {
//! The VAT rates list window; after a rate was switched, closing rebuilds VATQ.
void VAT_BRW();
}
