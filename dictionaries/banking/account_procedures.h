#pragma once
// The exported account lists and the loader of the company's default accounts.
#include <cstdint>

extern "C" {
//! The account lists: `mode` 0 (or omitted) — the list works on its own and writes the
//! owner's default account to the database; otherwise the caller's owner form holds the
//! owner's record and saves it (6: the list is read-only). With GLOBALREQUEST 4 a picker
//! of active accounts, the choice left in the account table's record buffer.
void RACHUNKI_FIRMY_BRW(std::uint8_t mode = 0);
void RACHUNKI_KONTRAHENTA_BRW(std::uint8_t mode = 0);
void RACHUNEK_PRACOWNIKA(std::uint8_t mode = 0);
void RACHUNKI_URZEDU_BRW(std::uint8_t mode = 0);
//! Loads GLO:KOLRACHBANK with the current company's default account per currency;
//! returns the number of entries.
std::int32_t LADUJDOMYSLNERACHUNKI();
}

namespace slownik::banking {
//! LADUJDOMYSLNERACHUNKI as a user starts it from the menu: it ends by telling what it loaded.
void loadDefaultAccountsAndTell();
}  // namespace slownik::banking
