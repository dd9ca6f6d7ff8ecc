#pragma once

//! The current company's types of production orders ("Typy zleceń"), kept among the
//! warehouse document types as rows of the kind "Zlecenie". They come with the database:
//! the list shows them and lets the user rename them and change their signatures.
extern "C" void TYP_ZLECENIA_BRW();
