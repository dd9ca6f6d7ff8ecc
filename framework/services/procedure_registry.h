#pragma once
// Procedures of sibling modules that the module calls by name: the contact form of a
// contractor ("KONTAKT_KONTRAHENTA_UPD"), the e-documents viewer ("EDOKVIEW"). The host
// installs a sibling's procedure under its name when it has one; a name nobody installed
// runs the default the caller passes, our own window, so that every call reaches a
// working procedure.
//
// Arguments travel as texts, as a call by name passes them (ids as plain decimals); the
// request and the answer of a form go through GLOBALREQUEST and GLOBALRESPONSE.
//
//   svc::installProcedure("EDOKVIEW", [](const svc::ProcedureArgs& a) { viewer(a[0], a[1]); });
//   svc::callProcedure("EDOKVIEW", {"Pracownik", "17"}, ourViewer);

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::svc {

using ProcedureArgs = std::vector<std::string>;
using NamedProcedure = std::function<void(const ProcedureArgs&)>;

//! Installs `procedure` under `name` (letter case ignored), replacing one installed
//! before; an empty procedure removes it, so the default runs again. Thread-safe.
void installProcedure(std::string_view name, NamedProcedure procedure);
//! Whether a procedure is installed under `name`.
bool hasInstalledProcedure(std::string_view name);
//! Runs the procedure installed under `name`, else `fallback`, on the calling thread.
//! The registry's lock is not held while it runs, so the procedure may install others.
void callProcedure(std::string_view name, const ProcedureArgs& args, const NamedProcedure& fallback);
//! Removes every installed procedure (tests).
void clearInstalledProcedures();

}  // namespace slownik::svc
