#include "engine/list_output.h"

#include <string_view>

#include "engine/list_window.h"
#include "framework/classes/locators.h"
#include "framework/classes/select_file_class.h"
#include "framework/data/globals.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/log.h"
#include "framework/services/list_print.h"
#include "framework/services/messages.h"
#include "framework/services/progress_window.h"
#include "framework/sql/thread_database.h"

namespace slownik::engine {
namespace {

constexpr const char* kList = "?LIST";
// Rows read at once for the spreadsheet and the print; a list longer than this shows
// the progress window.
constexpr int kReadPage = 500;

std::optional<rt::ListFormat> formatOf(ListWindow& list) {
  if (!list.window()) return std::nullopt;
  auto control = list.window()->control(kList);
  if (!control) return std::nullopt;
  return rt::ListFormat::parse(control->format);
}

std::vector<std::string> cellsOf(const fw::ListRow& row, const rt::ListFormat& format) {
  std::vector<std::string> cells;
  for (const auto& c : format.columns) {
    if (c.width <= 0) continue;
    cells.push_back(c.field > 0 ? c.display(row.field(c.field)) : std::string());
  }
  return cells;
}

std::string companyName() {
  sql::Database* db = sql::threadDatabase();
  if (!db) return {};
  sql::Result r;
  std::vector<sql::Param> id = {sql::Param{static_cast<long long>(data::glo().ID_FIRMY.get())}};
  if (!db->execute("SELECT NAZWA FROM FIRMA WHERE ID_FIRMY = ?", id, &r) || r.empty()) return {};
  return r.text(0, 0);
}

// The file as an address the system's program opens.
std::string fileAddress(const std::string& path) { return "file://" + path; }

}  // namespace

svc::ExportList shownColumns(ListWindow& list) {
  svc::ExportList out;
  auto format = formatOf(list);
  if (!format) return out;
  for (const auto& c : format->columns) {
    if (c.width <= 0) continue;
    out.columns.push_back({c.header, c.pictureText.empty() ? "" : "@" + c.pictureText, c.width});
  }
  return out;
}

svc::ExportList exportedRows(ListWindow& list, svc::ProgressWindow* progress, bool* cancelled) {
  if (cancelled) *cancelled = false;
  svc::ExportList out = shownColumns(list);
  auto format = formatOf(list);
  if (!format) return out;
  data::ViewManager& view = list.view();
  std::vector<data::ViewRow> page;
  int rc = view.firstPage(kReadPage, page);
  while (rc == 0 && !page.empty()) {
    for (const auto& source : page) {
      view.load(source);
      fw::ListRow row;
      list.browse().setQueueRecord(row, source);
      out.rows.push_back(cellsOf(row, *format));
    }
    if (static_cast<int>(page.size()) < kReadPage) break;
    if (progress) {
      if (!progress->isOpen()) {
        progress->open("Proszę czekać...");
        progress->setText("Odczyt listy " + (list.window() ? list.window()->title() : std::string()));
      }
      // The length of the list is not known ahead: the thermometer nears its end as
      // each read comes back full.
      const long read = static_cast<long>(out.rows.size());
      progress->setTotal(read + kReadPage);
      progress->setProgress(read);
      progress->setCounter("Wierszy: " + std::to_string(read));
      if (progress->checkCancel()) {
        if (cancelled) *cancelled = true;
        break;
      }
    }
    const std::string last = page.back().position;
    rc = view.pageAfter(last, kReadPage, page);
  }
  if (rc != 0) rt::logMessage("list rows: " + view.errorText());
  return out;
}

svc::ExportList selectedRows(ListWindow& list) {
  svc::ExportList out = shownColumns(list);
  auto format = formatOf(list);
  if (!format) return out;
  if (const fw::ListRow* row = list.browse().selectedRow()) out.rows.push_back(cellsOf(*row, *format));
  return out;
}

std::string filterDescription(ListWindow& list) {
  const fw::Locator* locator = list.browse().locator();
  auto filter = dynamic_cast<const fw::FilterLocator*>(locator);
  if (!filter || filter->text().empty()) return {};
  return std::string(filter->contains() ? "zawiera „" : "zaczyna się od „") + filter->text() + "”";
}

bool exportListToSpreadsheet(ListWindow& list) {
  fw::SelectFileClass chooser;
  chooser.init("Eksport do Excela", "Arkusz Excela (*.xlsx)|*.xlsx");
  auto path = chooser.ask(true);
  if (!path || path->empty()) return false;
  std::string file = *path;
  if (file.size() < 5 || file.compare(file.size() - 5, 5, ".xlsx") != 0) file += ".xlsx";
  bool cancelled = false;
  svc::ExportList rows;
  {
    svc::ProgressWindow progress;
    rows = exportedRows(list, &progress, &cancelled);
  }
  // The rows were read through the record buffers: the list reads its page again.
  list.reload();
  if (cancelled) {
    svc::MSG_INFORMACJA("Eksport listy został przerwany; plik nie został zapisany.");
    return false;
  }
  if (svc::EXPORTBROWSERTOEXCEL(rows, file).empty()) {
    list.warn("Nie udało się zapisać listy do pliku " + file + "!|" + rt::errorText());
    return false;
  }
  if (!rt::frontEnd().openLink(fileAddress(file)))
    svc::MSG_INFORMACJA("Lista została zapisana do pliku " + file + ".");
  return true;
}

bool printList(ListWindow& list) {
  bool cancelled = false;
  svc::ExportList rows;
  {
    svc::ProgressWindow progress;
    rows = exportedRows(list, &progress, &cancelled);
  }
  list.reload();
  if (cancelled) return false;
  svc::PrintHeader header;
  header.company = companyName();
  header.title = list.window() ? list.window()->title() : list.descriptor().procedure;
  header.date = rt::formatShortDate(rt::today());
  header.filter = filterDescription(list);
  if (!rt::printPreview(header.title, svc::printedListHtml(header, rows))) {
    list.warn("Drukowanie nie jest dostępne.");
    return false;
  }
  return true;
}

bool copySelectedRows(ListWindow& list) {
  svc::ExportList rows = selectedRows(list);
  if (rows.rows.empty()) return false;
  rt::frontEnd().setClipboardText(svc::tabSeparatedList(rows));
  return true;
}

}  // namespace slownik::engine
