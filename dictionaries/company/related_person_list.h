#pragma once

//! The persons related to contractor `contractorId` for one role (`role`, "Odbiorca" for
//! the people who receive documents) and one document kind ("Lista osób odbiorców"), one
//! of whom may be the default. Contractor 0 lists the company's persons of that role and
//! document kind whatever their contractor. With GLOBALREQUEST 4 a picker: the chosen
//! person stays in the OSOP: buffer. Runs on the calling thread until the window closes.
extern "C" void OSOBA_POWIAZANA_BRW(double contractorId, const char* role, long document);
