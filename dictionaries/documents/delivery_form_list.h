#pragma once

//! The delivery forms of company `companyId` (a number as text; empty or not a number:
//! company 0), "Lista form". System forms, used by the internet shop integration, can't be
//! deleted. With GLOBALREQUEST 4 a picker: the chosen form stays in the FORD: buffer.
extern "C" void FORMA_DOSTAWY_BRW(const char* companyId);
