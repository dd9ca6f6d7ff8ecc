#pragma once

//! The financial operations ("Operacje finansowe"): codes and names of the operations
//! financial documents are booked under, one list for every company. With GLOBALREQUEST 4
//! a picker: the chosen operation stays in the ROF: buffer.
extern "C" void RODZAJ_OPERACJI_FIN_BRW();
