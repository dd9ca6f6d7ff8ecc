#pragma once

//! The company's tracking addresses ("Śledzenie adresu URL"): kept through their form,
//! sorted by name, address or date, and given a tracking key with "Generuj klucz
//! śledzący".
extern "C" void SMS_URL_BRW();
