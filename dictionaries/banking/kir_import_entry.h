#pragma once
#include <functional>
#include <memory>

#include "dictionaries/banking/kir_progress.h"

namespace slownik::banking {

//! Makes the progress display of one import run (called once the file has been checked).
using KirProgressFactory = std::function<std::unique_ptr<KirProgress>()>;
//! Shows the report of a finished run (its KIR_IMPORT id) once the summary was read.
using KirReportViewer = std::function<void(long long reportId)>;

//! The whole import as the menu starts it: the directory from the program parameter
//! "KIR_Katalog", the checks of the directory and of ODDZIALY.DBF with their warnings,
//! the batches behind the progress display, the summary, and the run's report when it
//! has anything to show (banks added, not added, or changed in the file) and a viewer is
//! given. Leaves GLOBALRESPONSE completed when the file was read to its end, cancelled
//! otherwise. Never throws.
void runKirImport(const KirProgressFactory& makeProgress, const KirReportViewer& showReport = {});

}  // namespace slownik::banking

//! The exported entry: the import behind the progress window "Import banków...".
extern "C" void IMPORTKIR();
