#include "engine/list_output.h"

#include <algorithm>

#include "engine/list_window.h"
#include "framework/classes/browser_popup.h"
#include "framework/classes/locators.h"
#include "framework/classes/select_file_class.h"
#include "framework/data/globals.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/log.h"
#include "framework/services/list_print.h"
#include "framework/services/messages.h"
#include "framework/services/progress_window.h"
#include "framework/sql/thread_database.h"

namespace slownik::engine {
namespace {

// Rows read at once for the spreadsheet and the print; a list longer than this shows
// the progress window.
constexpr int kReadPage = 500;
constexpr int kCopyKey = rt::key::withCtrl('C');
constexpr int kPrintKey = rt::key::withCtrl('P');

std::optional<rt::ListFormat> formatOf(fw::BrowseClass& list) {
  if (!list.window()) return std::nullopt;
  auto control = list.window()->control(list.listControl());
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

// A row as the list control shows it: its cells are the list-buffer fields already laid
// out by their pictures.
std::vector<std::string> shownCellsOf(const std::vector<std::string>& row, const rt::ListFormat& format) {
  std::vector<std::string> cells;
  for (const auto& c : format.columns) {
    if (c.width <= 0) continue;
    const auto at = static_cast<std::size_t>(c.field - 1);
    cells.push_back(c.field > 0 && at < row.size() ? row[at] : std::string());
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

std::string titleOf(fw::BrowseClass& list) { return list.window() ? list.window()->title() : std::string(); }

void warnWith(const OutputWarning& warn, std::string_view text) {
  if (warn) warn(text);
  else svc::MSG_OSTRZEZENIE(text);
}

OutputWarning warningOf(ListWindow& list) {
  return [&list](std::string_view text) { list.warn(text); };
}

// The file as an address the system's program opens.
std::string fileAddress(const std::string& path) { return "file://" + path; }

// Reads every row behind a progress window; the list reads its page again afterwards,
// since the rows went through the record buffers.
svc::ExportList readAll(fw::BrowseClass& list, bool* cancelled) {
  svc::ExportList rows;
  {
    svc::ProgressWindow progress;
    rows = exportedRows(list, &progress, cancelled);
  }
  list.resetQueue();
  return rows;
}

}  // namespace

svc::ExportList shownColumns(fw::BrowseClass& list) {
  svc::ExportList out;
  auto format = formatOf(list);
  if (!format) return out;
  for (const auto& c : format->columns) {
    if (c.width <= 0) continue;
    out.columns.push_back({c.header, c.pictureText.empty() ? "" : "@" + c.pictureText, c.width});
  }
  return out;
}

svc::ExportList exportedRows(fw::BrowseClass& list, svc::ProgressWindow* progress, bool* cancelled) {
  if (cancelled) *cancelled = false;
  svc::ExportList out = shownColumns(list);
  auto format = formatOf(list);
  data::ViewManager* view = list.view();
  if (!format || !view) return out;
  std::vector<data::ViewRow> page;
  int rc = view->firstPage(kReadPage, page);
  while (rc == 0 && !page.empty()) {
    for (const auto& source : page) {
      view->load(source);
      fw::ListRow row;
      list.setQueueRecord(row, source);
      out.rows.push_back(cellsOf(row, *format));
    }
    if (static_cast<int>(page.size()) < kReadPage) break;
    if (progress) {
      if (!progress->isOpen()) {
        progress->open("Proszę czekać...");
        progress->setText("Odczyt listy " + titleOf(list));
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
    rc = view->pageAfter(last, kReadPage, page);
  }
  if (rc != 0) rt::logMessage("list rows: " + view->errorText());
  return out;
}

svc::ExportList selectedRows(fw::BrowseClass& list) {
  svc::ExportList out = shownColumns(list);
  auto format = formatOf(list);
  if (!format) return out;
  auto control = list.window()->control(list.listControl());
  if (!control) return out;
  for (int row : rt::selectedRows(*control)) {
    if (row >= 1 && row <= static_cast<int>(control->rows.size()))
      out.rows.push_back(shownCellsOf(control->rows[static_cast<std::size_t>(row - 1)], *format));
  }
  return out;
}

std::string filterDescription(fw::BrowseClass& list) {
  const fw::Locator* locator = list.locator();
  auto filter = dynamic_cast<const fw::FilterLocator*>(locator);
  if (!filter || filter->text().empty()) return {};
  return std::string(filter->contains() ? "zawiera „" : "zaczyna się od „") + filter->text() + "”";
}

bool exportListToSpreadsheet(fw::BrowseClass& list, const OutputWarning& warn) {
  fw::SelectFileClass chooser;
  chooser.init("Eksport do Excela", "Arkusz Excela (*.xlsx)|*.xlsx");
  auto path = chooser.ask(true);
  if (!path || path->empty()) return false;
  std::string file = *path;
  if (file.size() < 5 || file.compare(file.size() - 5, 5, ".xlsx") != 0) file += ".xlsx";
  bool cancelled = false;
  svc::ExportList rows = readAll(list, &cancelled);
  if (cancelled) {
    svc::MSG_INFORMACJA("Eksport listy został przerwany; plik nie został zapisany.");
    return false;
  }
  if (svc::EXPORTBROWSERTOEXCEL(rows, file).empty()) {
    warnWith(warn, "Nie udało się zapisać listy do pliku " + file + "!|" + rt::errorText());
    return false;
  }
  if (!rt::frontEnd().openLink(fileAddress(file)))
    svc::MSG_INFORMACJA("Lista została zapisana do pliku " + file + ".");
  return true;
}

bool printList(fw::BrowseClass& list, const OutputWarning& warn) {
  bool cancelled = false;
  svc::ExportList rows = readAll(list, &cancelled);
  if (cancelled) return false;
  svc::PrintHeader header;
  header.company = companyName();
  header.title = titleOf(list);
  header.date = rt::formatShortDate(rt::today());
  header.filter = filterDescription(list);
  if (!rt::printPreview(header.title, svc::printedListHtml(header, rows))) {
    warnWith(warn, "Drukowanie nie jest dostępne.");
    return false;
  }
  return true;
}

bool copySelectedRows(fw::BrowseClass& list) {
  svc::ExportList rows = selectedRows(list);
  if (rows.rows.empty()) return false;
  rt::frontEnd().setClipboardText(svc::tabSeparatedList(rows));
  return true;
}

bool exportListToSpreadsheet(ListWindow& list) { return exportListToSpreadsheet(list.browse(), warningOf(list)); }

bool printList(ListWindow& list) { return printList(list.browse(), warningOf(list)); }

bool copySelectedRows(ListWindow& list) { return copySelectedRows(list.browse()); }

// --- ListOutputs ----------------------------------------------------------------------

void addOutputItems(fw::PopupClass& popup, bool spreadsheet) {
  if (spreadsheet) popup.setIcon(popup.addItem("Eksport do Excela", kExportItem), "~export.ico");
  popup.addItem("Drukuj", kPrintItem);
}

void ListOutputs::attach() {
  if (attached_ || !list_.windowManager()) return;
  attached_ = true;
  list_.windowManager()->addItem(*this);
  // A window whose alerts are set already reserves this list's keys now.
  setAlerts();
}

void ListOutputs::addItems(fw::PopupClass& popup) const { addOutputItems(popup, spreadsheet); }

bool ListOutputs::takeChoice(const std::string& item) {
  if (item == kExportItem && spreadsheet) {
    exportListToSpreadsheet(list_, warn);
    return true;
  }
  if (item == kPrintItem) {
    printList(list_, warn);
    return true;
  }
  return false;
}

bool ListOutputs::showPopup() {
  rt::Window* w = list_.window();
  if (!w || !list_.windowManager()) return false;
  fw::PopupClass popup;
  popup.init(list_.windowManager()->sharedWindow());
  const std::pair<const char*, const std::string*> buttons[] = {{"Insert", &list_.insertControl},
                                                                {"Change", &list_.changeControl},
                                                                {"Delete", &list_.deleteControl},
                                                                {"Select", &list_.selectControl}};
  for (const auto& [name, control] : buttons) {
    if (control->empty() || !w->has(*control)) continue;
    // A button the window disabled (a list that only shows) is not offered either.
    auto c = w->control(*control);
    if (c && c->enabled && !c->hidden) popup.addItemMimic(name, *control);
  }
  addItems(popup);
  fw::USTAW4IKONYBROWSERA(popup, 1);
  const std::string chosen = popup.ask();
  if (chosen.empty()) return false;
  takeChoice(chosen);  // a button's item pressed its button already
  return true;
}

void ListOutputs::setAlerts() {
  rt::Window* w = list_.window();
  if (!w) return;
  for (int key : {kCopyKey, kPrintKey}) w->alertOn(list_.listControl(), key);
  if (ownPopup) w->alertOn(list_.listControl(), rt::key::MouseRight);
}

int ListOutputs::takeEvent(const rt::Event& e) {
  if (e.code != rt::event::AlertKey || e.control != list_.listControl()) return fw::kLevelBenign;
  switch (e.keyCode) {
    case kCopyKey:
      copySelectedRows(list_);
      return fw::kLevelNotify;
    case kPrintKey:
      printList(list_, warn);
      return fw::kLevelNotify;
    case rt::key::MouseRight:
      if (!ownPopup) return fw::kLevelBenign;
      showPopup();
      return fw::kLevelNotify;
    default:
      return fw::kLevelBenign;
  }
}

}  // namespace slownik::engine
