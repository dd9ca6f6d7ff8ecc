#pragma once

//! The document labels of the current company ("Lista etykiet"), each row drawn in the
//! label's own colours. `listKind` empty (or null): the whole dictionary with a filter by
//! the list a label is available in; a position "1".."9": only the labels available
//! there, without the filter. With GLOBALREQUEST 4 a picker: the chosen label stays in
//! the ETYD: buffer.
extern "C" void ETYKIETA_DOKUMENTU_BRW(const char* listKind);
