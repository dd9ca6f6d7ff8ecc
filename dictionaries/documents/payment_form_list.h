#pragma once
#include <cstdint>

//! The payment forms ("Formy płatności"): the forms shared by every company and the
//! current company's, sorted by code or name as the user last chose, each switched on
//! or off with "&Aktywna" (F4). `cashAndCardOnly` 1 narrows the list to cash and card.
//! With GLOBALREQUEST 4 a picker of the active forms: it opens on the form whose name the
//! caller left in FORP:NAZWA, and the chosen form stays in the FORP: buffer.
extern "C" void FORMA_PLATNOSCI_BRW(std::uint8_t cashAndCardOnly = 0);
