#include "dictionaries/banking/kir_import_entry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "dictionaries/banking/kir_branch_file.h"
#include "dictionaries/banking/kir_import.h"
#include "dictionaries/banking/kir_progress_window.h"
#include "dictionaries/banking/kir_report_window.h"
#include "framework/classes/select_file_class.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"

namespace slownik::banking {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDirectoryChars = 199;
constexpr const char* kFileName = "ODDZIALY.DBF";

std::string trim(std::string text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// A directory that exists and whose entries we may list.
bool isUsableDirectory(const std::string& directory) {
  std::error_code ec;
  if (!fs::is_directory(directory, ec)) return false;
  fs::directory_iterator it(directory, ec);
  return !ec;
}

// The branch file inside `directory`: the name as written, or, on file systems that
// tell letter case apart, a file of the same name in other letters ("oddzialy.dbf").
std::optional<fs::path> findBranchFile(const std::string& directory) {
  std::error_code ec;
  fs::path exact = fs::path(directory) / kFileName;
  if (fs::is_regular_file(exact, ec)) return exact;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    if (sql::equalsIgnoreCase(it->path().filename().string(), kFileName) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

// The folder of the bank-branch files, chosen in a folder dialog and stored as the
// company's "KIR_Katalog"; "" when the person cancelled or it could not be stored (told).
std::string askForDirectory() {
  fw::SelectFileClass chooser;
  chooser.init("Wybierz katalog z plikami dbf publikowanymi przez Krajową Izbę Rozliczeniową");
  chooser.setDirectoryOnly(true);
  std::optional<std::string> chosen = chooser.ask();
  if (!chosen) return {};
  std::string directory = trim(*chosen);
  if (directory.empty()) return {};
  if (sql::truncateUtf8(directory, kDirectoryChars) != directory) {
    svc::MSG_OSTRZEZENIE("Ścieżka katalogu " + directory + " jest zbyt długa (najwyżej " +
                         std::to_string(kDirectoryChars) + " znaków).");
    return {};
  }
  if (svc::USTAWPARAMKONF("s", "KIR_Katalog", directory) != 0) {
    svc::MSG_OSTRZEZENIE("Nie udało się zapisać katalogu plików KIR w parametrach firmy.");
    return {};
  }
  return directory;
}

void runChecked(const KirProgressFactory& makeProgress, const KirReportViewer& showReport) {
  std::string directory = sql::truncateUtf8(trim(svc::POBIERZPARAMKONF("s", "KIR_Katalog")), kDirectoryChars);
  if (directory.empty()) {
    // No folder set yet: the person points to it now, and it is kept for the next import.
    directory = askForDirectory();
    if (directory.empty()) return;
  }
  if (!isUsableDirectory(directory)) {
    svc::MSG_OSTRZEZENIE("Nie znaleziono katalogu " + directory + " lub katalog nie jest dostępny.");
    return;
  }
  // The parameter may be written with or without a closing separator, in either style.
  if (directory.back() != '/' && directory.back() != '\\') directory += '/';
  const std::string path = directory + kFileName;
  std::optional<fs::path> found = findBranchFile(directory);
  if (!found) {
    svc::MSG_OSTRZEZENIE("Nie znaleziono pliku " + path);
    return;
  }

  KirBranchFile::Opened opened = KirBranchFile::open(*found);
  if (opened.fault == KirFileFault::BadStructure) {
    rt::logMessage("ImportKIR: " + path + ": " + opened.why);
    svc::MSG_OSTRZEZENIE("Nieprawidłowa struktura pliku " + path);
    return;
  }
  if (!opened.file) {
    rt::logMessage("ImportKIR: " + path + ": " + opened.why);
    svc::MSG_OSTRZEZENIE("Wystąpił nieokreślony błąd przy otwarciu pliku " + path);
    return;
  }
  data::glo().OWNERNAMEDOS = path;

  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) {
    svc::MSG_OSTRZEZENIE("Nie można połączyć się z bazą danych. Powód: " + status.message());
    return;
  }

  std::unique_ptr<KirProgress> progress = makeProgress ? makeProgress() : nullptr;
  KirImport import(*db, *opened.file, progress.get());
  import.keepReport(static_cast<long long>(data::glo().ID_UZYTKOWNIKA.get()), found->string());
  if (import.prepare()) {
    while (import.importBatch()) {
    }
  }
  const KirImportState& state = import.finish();
  progress.reset();  // the window closes before the summary is shown

  if (!state.error.isOk())
    svc::MSG_OSTRZEZENIE("Import banków został przerwany z powodu błędu bazy danych. Powód: " + state.error.message());
  for (const std::string& message : kirSummaryMessages(state)) svc::MSG_INFORMACJA(message);
  const bool complete = state.error.isOk() && !state.cancelled && state.position >= state.total;
  // What a cancelled run committed is reported too.
  if (showReport && state.reportId > 0 && state.reportLines > 0) showReport(state.reportId);
  data::GLOBALRESPONSE() = complete ? data::kRequestCompleted : data::kRequestCancelled;
}

}  // namespace

void runKirImport(const KirProgressFactory& makeProgress, const KirReportViewer& showReport) {
  // Cancelled unless the run reaches the end of the file.
  data::GLOBALRESPONSE() = data::kRequestCancelled;
  try {
    runChecked(makeProgress, showReport);
  } catch (const std::exception& e) {
    // Nothing may escape into the host's thread; out of memory on a huge file ends here.
    rt::logMessage(std::string("ImportKIR: ") + e.what());
    svc::MSG_OSTRZEZENIE(std::string("Wystąpił nieokreślony błąd podczas importu banków: ") + e.what());
  }
}

}  // namespace slownik::banking

extern "C" void IMPORTKIR() {
  using namespace slownik::banking;
  runKirImport([] { return std::make_unique<KirProgressWindow>(); },
               [](long long reportId) { showKirReport(reportId); });
}
