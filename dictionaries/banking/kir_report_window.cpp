#include "dictionaries/banking/kir_report_window.h"

#include <cstdlib>
#include <vector>

#include "dictionaries/banking/kir_report.h"
#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/control.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/list_format.h"
#include "framework/services/messages.h"
#include "framework/services/progress_window.h"
#include "framework/services/rights.h"
#include "framework/services/service_database.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/thread_database.h"

namespace slownik::banking {
namespace {

constexpr const char* kChanged = "?LIST";
constexpr const char* kAdded = "?LIST1";
constexpr const char* kApply = "?ZASTOSUJ";
constexpr const char* kApplyAll = "?ZASTOSUJ:WSZYSTKIE";
constexpr const char* kChangedGroup = "?GRUPA:ZMIENIONE";
constexpr const char* kAddedGroup = "?GRUPA:DODANE";

// The runtime's colours are blue-green-red.
constexpr long kRed = 0x0000FF;
constexpr long kGrey = 0x808080;
constexpr long kNone = rt::kNoColor;

// Above this many banks, applying shows its progress and may be stopped.
constexpr std::size_t kQuietApply = 20;

// The changed list's columns: the bank's number, then each value in the database and in
// the file side by side (name from column 2, street 4, postal code 6, town 8), then
// whether it was applied.
constexpr int kAppliedColumn = 10;

const sql::TableDef& reportTable() { return *sql::Catalogue::instance().find("KIR_RAPORT"); }

std::string text(const char* field) { return data::field(field).text(); }

sql::Database* database() {
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) svc::MSG_OSTRZEZENIE("Nie można połączyć się z bazą danych. Powód: " + status.message());
  return db;
}

// How many lines of each kind the report holds, and how many changes wait to be applied:
// one statement.
struct LineCounts {
  long added = 0;
  long notAdded = 0;
  long changed = 0;
  long pending = 0;
};

LineCounts countLines(long long reportId) {
  LineCounts c;
  sql::Result r;
  if (!svc::serviceExecute("SELECT RODZAJ, COUNT(*), SUM(CASE WHEN COALESCE(ZASTOSOWANO, 0) = 0 THEN 1 ELSE 0 END) "
                           "FROM KIR_RAPORT WHERE ID_IMPORTU = ? GROUP BY RODZAJ",
                           {reportId}, &r))
    return c;
  for (std::size_t row = 0; row < r.size(); ++row) {
    const std::string kind = r.text(row, 0);
    const long count = std::atol(r.text(row, 1).c_str());
    if (kind == kir_line::kAdded) c.added = count;
    if (kind == kir_line::kNotAdded) c.notAdded = count;
    if (kind == kir_line::kChanged) {
      c.changed = count;
      c.pending = std::atol(r.text(row, 2).c_str());
    }
  }
  return c;
}

}  // namespace

KirReportWindow::KirReportWindow(long long reportId)
    : ListWindow(descriptor()), reportId_(reportId), addedView_(reportTable()) {}

engine::ListDescriptor KirReportWindow::descriptor() {
  engine::ListDescriptor d;
  d.module = 106;
  d.procedure = "ImportKIR_Raport";
  d.table = "KIR_RAPORT";
  d.helpPage = "kar_fin_bank.htm";
  d.right = "Banki";
  d.rightMessage = "Brak uprawnień na dostęp do listy banków!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"+NUMER_BANKU,+NR_POZYCJI", engine::LocatorKind::Incremental, "KIRR:NUMER_BANKU", "?LOKATOR"}};
  d.columns = {"KIRR:NUMER_BANKU",  "KIRR:NAZWA_W_BAZIE", "KIRR:NAZWA",
               "KIRR:ULICA_W_BAZIE", "KIRR:ULICA_LOKAL",  "KIRR:KOD_W_BAZIE",
               "KIRR:KOD_POCZTOWY",  "KIRR:MIEJSCOWOSC_W_BAZIE", "KIRR:MIEJSCOWOSC",
               "KIRR:ZASTOSOWANO",   "KIRR:NR_POZYCJI",   "KIRR:ID_BANKU"};
  d.headerSorter = true;
  d.insertButton = false;
  d.changeButton = false;
  d.deleteButton = false;
  d.selectButton = false;
  return d;
}

void KirReportWindow::setRanges(data::ViewManager& view) {
  view.clearRanges();
  view.addRange("KIRR:ID_IMPORTU", reportId_);
  view.addRange("KIRR:RODZAJ", std::string(kir_line::kChanged));
}

void KirReportWindow::setQueueRecord(fw::ListRow& row, const data::ViewRow&) {
  const bool applied = data::field("KIRR:ZASTOSOWANO").number() != 0;
  const KirBranch file{{}, text("KIRR:NAZWA"), text("KIRR:ULICA_LOKAL"), text("KIRR:KOD_POCZTOWY"),
                       text("KIRR:MIEJSCOWOSC")};
  const StoredBank stored{0, {}, text("KIRR:NAZWA_W_BAZIE"), text("KIRR:ULICA_W_BAZIE"), text("KIRR:KOD_W_BAZIE"),
                          text("KIRR:MIEJSCOWOSC_W_BAZIE")};
  const KirDifferences d = kirDifferences(file, stored);
  // An applied line is done with: grey. Otherwise the file's values that differ are red.
  const long plain = applied ? kGrey : kNone;
  for (int column : {1, 2, 4, 6, 8, kAppliedColumn}) setColours(row, column, plain, kNone, kNone, kNone);
  const std::pair<int, bool> fileColumns[] = {{3, d.name}, {5, d.street}, {7, d.postalCode}, {9, d.town}};
  for (auto [column, differs] : fileColumns)
    setColours(row, column, applied ? kGrey : differs ? kRed : kNone, kNone, kNone, kNone);
  setText(row, kAppliedColumn, applied ? "Tak" : "");
}

void KirReportWindow::AddedList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  fw::BrowseClass::setQueueRecord(row, source);
  const bool added = text("KIRR:RODZAJ") == kir_line::kAdded;
  setText(row, 6, added ? "dodany" : "nie dodany");
  setColours(row, 6, added ? kNone : kRed, kNone, kNone, kNone);
}

int KirReportWindow::opened() {
  added_.init(kAdded, addedView_, addedQueue_, nullptr, *this);
  addedView_.addRange("KIRR:ID_IMPORTU", reportId_);
  addedView_.setSqlFilter("+A.RODZAJ<>'" + std::string(kir_line::kChanged) + "'");
  added_.addSortOrder("+NR_POZYCJI");
  for (const char* f : {"KIRR:NUMER_BANKU", "KIRR:NAZWA", "KIRR:ULICA_LOKAL", "KIRR:KOD_POCZTOWY", "KIRR:MIEJSCOWOSC",
                        "KIRR:RODZAJ"})
    added_.addField(f);
  added_.setPageSize(descriptor().pageSize);
  addedOutputs_.warn = [this](std::string_view message) { warn(message); };
  addedOutputs_.attach();
  added_.opened();
  added_.setAlerts();
  added_.resetQueue();
  describe();
  return 0;
}

// The heading line: which run this is.
void KirReportWindow::describe() {
  rt::Window* w = window();
  if (!w) return;
  sql::Result r;
  if (svc::serviceExecute("SELECT DATA_IMPORTU, CZAS_IMPORTU, PLIK FROM KIR_IMPORT WHERE ID_IMPORTU = ?", {reportId_},
                          &r) &&
      !r.empty()) {
    w->setText("?OPIS", "Import z dnia " + rt::formatShortDate(std::atoi(r.text(0, 0).c_str())) + " " +
                            rt::formatTime(std::atoi(r.text(0, 1).c_str()), false) + ", plik " + r.text(0, 2));
  }
  showCounts();
}

// The groups' captions count the lines; the buttons wait for a change not yet applied.
void KirReportWindow::showCounts() {
  rt::Window* w = window();
  if (!w) return;
  const LineCounts c = countLines(reportId_);
  w->setText(kChangedGroup, "Zmienione w pliku KIR (" + std::to_string(c.changed) + ")");
  w->setText(kAddedGroup, "Dodane z pliku KIR (" + std::to_string(c.added) + ", nie dodane: " +
                              std::to_string(c.notAdded) + ")");
  w->enable(kApply, c.pending > 0);
  w->enable(kApplyAll, c.pending > 0);
}

void KirReportWindow::apply(bool all) {
  if (svc::POBIERZUPRAWNIENIE("EBanki") != 1) {
    warn("Brak uprawnień na poprawianie banków!");
    return;
  }
  sql::Database* db = database();
  if (!db) return;
  std::vector<long> lines;
  if (all) {
    if (sql::Status s = pendingKirChanges(*db, reportId_, &lines); !s) {
      warn("Nie udało się odczytać raportu importu. Powód: " + s.message());
      return;
    }
  } else if (auto control = window()->control(kChanged)) {
    // The number of a line is carried after the list's own fields; an applied line
    // (its "Zastosowano" says so) is left out.
    auto format = rt::ListFormat::parse(control->format);
    if (!format) return;
    const std::size_t lineField = static_cast<std::size_t>(format->fieldCount);
    const std::size_t appliedField = static_cast<std::size_t>(format->columns[kAppliedColumn - 1].field - 1);
    for (int row : rt::selectedRows(*control)) {
      if (row < 1 || row > static_cast<int>(control->rows.size())) continue;
      const auto& fields = control->rows[static_cast<std::size_t>(row - 1)];
      if (fields.size() <= lineField || fields[appliedField] == "Tak") continue;
      lines.push_back(std::atol(fields[lineField].c_str()));
    }
  }
  if (lines.empty()) {
    svc::MSG_INFORMACJA(all ? "Wszystkie zmiany z pliku KIR zostały już zastosowane."
                            : "Zaznacz na liście banki, których zmiany mają być zastosowane.");
    return;
  }
  const std::string which = all ? "we wszystkich bankach tej listy" : "w zaznaczonych bankach";
  if (svc::MSG_PYTANIE("Czy zastosować dane z pliku KIR " + which + " (" + std::to_string(lines.size()) +
                       ")?|Nazwa, adres, kod pocztowy i miejscowość tych banków zostaną zastąpione danymi z pliku.") !=
      svc::kYes)
    return;

  svc::ProgressWindow progress;
  KirApplyStep step;
  if (lines.size() > kQuietApply && progress.open("Zastosowanie zmian z pliku KIR")) {
    progress.setTotal(static_cast<long>(lines.size()));
    step = [&progress](long done, long total) {
      progress.setProgress(done);
      progress.setCounter(std::to_string(done) + "/" + std::to_string(total));
      return progress.checkCancel();
    };
  }
  KirApplyOutcome outcome = applyKirChanges(*db, reportId_, lines, step);
  progress.close();
  if (!outcome.error.isOk()) warn("Zastosowanie zmian zostało przerwane z powodu błędu bazy danych. Powód: " +
                                  outcome.error.message());
  svc::MSG_INFORMACJA(kirApplyMessage(outcome));
  reload();
  showCounts();
}

int KirReportWindow::takeAccepted(const rt::Event& e) {
  if (e.control == kApply || e.control == kApplyAll) {
    apply(e.control == kApplyAll);
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

void showKirReport(long long reportId) {
  KirReportWindow window(reportId);
  window.run();
}

void showLatestKirReport() {
  sql::Database* db = database();
  if (!db) return;
  const long long reportId = latestKirImport(*db, static_cast<long long>(data::glo().ID_UZYTKOWNIKA.get()));
  if (reportId <= 0) {
    svc::MSG_INFORMACJA("Nie ma raportu importu banków z KIR.|Raport powstaje przy imporcie banków z pliku KIR.");
    return;
  }
  showKirReport(reportId);
}

}  // namespace slownik::banking
