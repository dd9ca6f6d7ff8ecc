#pragma once

//! The current company's types of trade documents ("Typy dokumentów handlowych"): the
//! database delivers them, the user renames them, changes their signatures and summing,
//! and switches them on and off; the list adds and deletes none. `filter` is empty when
//! the list opens from the menu (the window's right is asked), else an SQL condition on
//! the table's columns that the caller adds to the list's own. With GLOBALREQUEST 4 a
//! picker of the active types: the chosen row stays in the TYPDH: buffer.
extern "C" void TYP_DOKUMENTU_HANDLOWEGO_BRW(const char* filter);
