#pragma once

//! The current company's types of financial documents ("Typy dokumentów finansowych"):
//! cash desk, bank and compensation documents with their direction and default financial
//! operation. The database delivers them; the user changes them but adds and deletes none.
extern "C" void TYP_DOKUMENTU_FINANSOWEGO_BRW();
