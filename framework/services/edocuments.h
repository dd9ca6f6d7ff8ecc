#pragma once
// E-documents: files attached to a record of a kind ("Firma", "Pracownik", …), kept in
// the database (EDOKUMENT) so that every user sees them. EDOKVIEW opens the viewer: the
// one a host installed under that name (svc::installProcedure, arguments kind and id),
// else ours. The attachment counts that the company and employee lists show ("Zał.",
// FIRMA_ZALACZNIK and PRACOWNIK_ZALACZNIK) follow every add and delete.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::svc {

inline constexpr const char* kEdocumentViewerProcedure = "EDOKVIEW";
//! Kinds whose attachment counts are kept for their lists.
inline constexpr const char* kEdocumentCompany = "Firma";
inline constexpr const char* kEdocumentEmployee = "Pracownik";
//! The program code under which this module keeps its attachment counts (PRGKOD).
inline constexpr int kEdocumentProgram = 3;
//! The largest file that can be attached.
inline constexpr long long kEdocumentMaxBytes = 64LL * 1024 * 1024;

//! The e-documents viewer of record `recordId` of `kind`, on the calling thread until
//! it closes: the installed sibling's, else edocumentsWindow().
void EDOKVIEW(std::string_view kind, double recordId);
//! Our viewer ("e-Dokumenty"): lists the record's files; adds one (file dialog), opens one
//! (written to a temporary file and opened with the desktop's program for it), saves one
//! under a chosen name, deletes one.
void edocumentsWindow(std::string_view kind, double recordId);

struct Edocument {
  double id = 0;
  std::string fileName;
  long long size = 0;
  long day = 0;  //!< day number it was added
};
//! The record's files by name; nullopt when they can't be read (runtime error state).
std::optional<std::vector<Edocument>> edocuments(std::string_view kind, double recordId);
//! Stores the file at `path` for the record; its id, or 0 with the reason in *error.
double addEdocument(std::string_view kind, double recordId, const std::string& path, std::string* error);
//! Writes the stored file `id` to `path`; false with the reason in *error.
bool saveEdocumentAs(double id, const std::string& path, std::string* error);
//! Writes the stored file `id` into a temporary folder of this program, under its own
//! name; the file's path, or "" with the reason in *error.
std::string edocumentTemporaryFile(double id, std::string* error);
//! Removes the temporary files this program wrote for opening (when the module ends).
void removeEdocumentTemporaryFiles();
//! Deletes the stored file `id` (of the record); false with the reason in *error.
bool deleteEdocument(std::string_view kind, double recordId, double id, std::string* error);

}  // namespace slownik::svc
