#pragma once
#include <functional>
#include <memory>

#include "dictionaries/banking/kir_progress.h"

namespace slownik::banking {

//! Makes the progress display of one import run (called once the file has been checked).
using KirProgressFactory = std::function<std::unique_ptr<KirProgress>()>;

//! The whole import as the menu starts it: the directory from the program parameter
//! "KIR_Katalog", the checks of the directory and of ODDZIALY.DBF with their warnings,
//! the batches behind the progress display, and the summary. Leaves GLOBALRESPONSE
//! completed when the file was read to its end, cancelled otherwise. Never throws.
void runKirImport(const KirProgressFactory& makeProgress);

}  // namespace slownik::banking

//! The exported entry: the import behind the progress window "Import banków...".
extern "C" void IMPORTKIR();
