#pragma once

//! The picker of the system's users ("Uzytkownik1_Brw"): with GLOBALREQUEST 4 the chosen
//! user is left in the UZYTKOWNIK record buffer and GLOBALRESPONSE 1; closed without a
//! choice, 2. The list opens on the user in the buffer, when there is one.
extern "C" void UZYTKOWNIK1_BRW();
