#pragma once

//! The SMS templates of the current company for one context ("ZAM_BRW" orders,
//! "KONTR_BRW" contractors, …), the ones this program keeps (PRGKOD 3). With
//! GLOBALREQUEST 4 a picker: the chosen template stays in the SMSSZ: record buffer.
extern "C" void SMS_SZABLON_BRW(const char* context);
