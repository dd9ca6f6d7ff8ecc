#pragma once

//! The list of the current company's warehouse document types ("Typy dokumentów
//! magazynowych"); order and production order types are not shown. `filter` is empty
//! when the list opens from the menu, else an SQL condition on the table's columns that
//! the caller adds to the list's own (the window's right is then not asked). With
//! GLOBALREQUEST 4 a picker: the chosen row stays in the TYPDMAG: buffer.
extern "C" void TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(const char* filter);
