#pragma once

namespace slownik::documents {

//! Runs the form of a contractor classification on GLOBALREQUEST (1, 2, 3 or 6).
void runClassificationForm();

}  // namespace slownik::documents

//! The list of contractor classifications ("Klasyfikacje kontrahentów"), one of which may
//! be the default for new contractors. The argument is accepted for the callers' sake and
//! not used. With GLOBALREQUEST 4 a picker: the chosen row stays in the KLA: buffer.
extern "C" void TYP_KONTRAHENTA_BRW(const char* unused);
