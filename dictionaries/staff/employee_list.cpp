#include "dictionaries/staff/employee_list.h"

#include <cstdlib>

#include "dictionaries/staff/employee_filter.h"
#include "dictionaries/staff/employee_form.h"
#include "engine/contractor_list_look.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/keys.h"
#include "framework/services/additional_tables.h"
#include "framework/services/edocuments.h"
#include "framework/services/filters.h"
#include "framework/services/messages.h"
#include "framework/services/result_table.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_parameters.h"
#include "framework/sql/text.h"

namespace slownik::staff {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kTree = "?ARCHIWUM";
constexpr const char* kSplitter = "?VSPLIT";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kDirection = "?PORZADEK";
constexpr const char* kFilter = "?FILTR";
constexpr const char* kClearFilters = "?FILTR:KASUJ";
constexpr const char* kFilterMenu = "?FILTR:MENU";
constexpr const char* kRefresh = "?ODSWIEZ";
constexpr const char* kViewButton = "?POKAZ";
constexpr const char* kTablesButton = "?TABELE";
constexpr const char* kEdocumentsButton = "?EDOKUMENTY";
// Employees carry the additional tables of this kind.
constexpr const char* kTablesKind = "Pracownik";
constexpr const char* kParameterWindow = "Pracownik_Brw";
constexpr const char* kAscending = "rosnąco";
constexpr const char* kDescending = "malejąco";
const std::vector<std::string_view> kSortNames = {"numer", "nazwisko", "pesel"};
// The column each order sorts by, as the additional tables name their records.
const std::vector<std::string> kSortColumns = {"NR_EWIDENCYJNY", "NAZWISKO", "PESEL"};
constexpr int kSortOrders = 3;

// The list's columns carry their colours: value, then four colour fields.
constexpr int kColumnFields = 5;
constexpr int kColumns = 23;
constexpr int kNameColumn = 2;
// After the coloured columns: the attachment count, with its icon where there are files.
constexpr int kAttachmentColumn = 24;
constexpr int kAttachmentIcon = 1;
constexpr long kArchivedColour = 0x808080;

constexpr const char* kDuplicateItem = "Powiel";
constexpr const char* kArchiveItem = "PrzeniesDoArchiwum";
constexpr const char* kFilterItem = "FiltrPracownika";
constexpr const char* kClearAllItem = "KasujWszystkieFiltry";
constexpr const char* kClearEmployeeItem = "KasujFiltrPracownika";
constexpr const char* kEdocumentsItem = "eDokumenty";

constexpr int kDuplicateKey = rt::key::ShiftMod + rt::key::Ins;
constexpr int kClearEmployeeKey = rt::key::CtrlMod + rt::key::F8;
constexpr int kDirectionKey = rt::key::CtrlMod + rt::key::Up;
constexpr int kViewKey = rt::key::ShiftMod + rt::key::F2;

std::string id(double value) { return sql::sqlId(value); }

engine::LockRules employeeLockRules() {
  engine::LockRules r;
  r.table = "pracownik";
  r.lockedMessage = kEmployeeLockedMessage;
  r.idField = "PRA:ID_PRACOWNIKA";
  r.primaryKey = "PRA:PK_PRACOWNIK";
  r.semaforField = "PRA:SEMAFOR";
  for (int c = 1; c <= kColumns; ++c) r.lockColumns.push_back(c);
  r.insertRight = "DPrac";
  r.insertMessage = "Brak uprawnień na dodawanie Pracowników!";
  r.changeRight = "OPrac";
  r.changeMessage = "Brak uprawnień na oglądanie Pracowników!";
  r.deleteRight = "UPrac";
  r.deleteMessage = "Brak uprawnień na usuwanie pracowników!";
  r.askBeforeRight = true;
  r.confirmDelete = [] {
    return svc::questionBox("Czy usunąć bieżącego pracownika?", rt::button::No) == rt::button::Yes;
  };
  r.logKind = "PRACOWNIK";
  return r;
}

}  // namespace

const std::vector<ArchiveEntry>& archiveEntries() {
  // "Wszystko" shows the archived employees too: limited to the current ones it would
  // say the same as "Aktualni".
  static const std::vector<ArchiveEntry> entries = {
      {"Wszystko", ""}, {"Aktualni", "A.ARCHIWUM=1"}, {"Archiwum", "A.ARCHIWUM=2"}};
  return entries;
}

EmployeeList::EmployeeList() : engine::LockedList(makeDescriptor(), employeeLockRules()) {
  registerEmployeeRelations();
  restricted_ = data::glo().KONTEKST_GNIAZDO.get() > 0;
  data::glo().KONTEKST_GNIAZDO.set(0);
  // Opened from a nest the list is there to choose from, whatever request came with it.
  if (restricted_) {
    data::GLOBALREQUEST() = data::kSelectRecord;
    openOn_ = data::field("PRA:ID_PRACOWNIKA").number();
  }
}

engine::ListDescriptor EmployeeList::makeDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 90;
  d.procedure = "Pracownik_Brw";
  d.table = "PRACOWNIK";
  d.windowKey = "Pracownik_Brw";
  d.helpPage = "kar_prac.htm";
  d.right = "Prac";
  d.rightMessage = "Brak uprawnień na dostęp do pracowników!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.companyField = "PRA:ID_FIRMY";
  d.sortOrders = {
      {"PRA:AK_PRACOWNIK_IDFIR_NR_PRACOWNI", LocatorKind::Incremental, "PRA:NR_EWIDENCYJNY", kLocator},
      {"PRA:PRACOWNIK_IDFIR_NAZWISKO_ID_PRAC", LocatorKind::Incremental, "PRA:NAZWISKO", kLocator},
      {"PRA:PRACOWNIK_IDFIR_PESEL_IDPRAC", LocatorKind::Incremental, "PRA:PESEL", kLocator},
  };
  d.columns = {"PRA:NR_EWIDENCYJNY", "PRA:NAZWISKO",   "PRA:PESEL",      "PRA:NIP",        "PRA:DATA_URODZENIA",
               "PRA:MIEJSCE_URODZ",  "PRA:NAZWISKO_RODOWE", "PRA:IMIE_OJCA", "PRA:IMIE_MATKI", "PRA:NAZWISKO_MATKI",
               "PRA:DOWOD",          "PRA:WYDANY",     "PRA:DATA_WYDANIA", "PRA:POLE1",      "PRA:POLE2",
               "PRA:POLE3",          "PRA:POLE4",      "PRA:POLE5",      "PRA:POLE6",      "PRA:POLE7",
               "PRA:POLE8",          "PRA:POLE9",      "PRA:POLE10",     "PRAZAL:LICZBA_ZALACZNIKOW",
               "PRA:SEMAFOR",        "PRA:ARCHIWUM",   "PRA:PLEW",       "PRA:ID_PRACOWNIKA"};
  d.columnConfiguration = "Pracownik_Brw";
  d.columnRight = "KonfKolPrac";
  d.columnRightMessage = "Brak uprawnień na konfigurację kolumn!";
  d.spreadsheetExport = true;
  d.form = [] { PRACOWNIK_UPD(); };
  return d;
}

// --- opening ---------------------------------------------------------------------------

int EmployeeList::opened() {
  if (restricted_) {
    for (const char* c : {"?INSERT", "?CHANGE", "?DELETE"}) {
      window()->disable(c);
      window()->hide(c);
    }
  }
  // "Tabele" only where the company defined a table for employees.
  if (svc::SPRAWDZTABELEDODATKOWE(kTablesKind) == 1) window()->unhide(kTablesButton);
  window()->setIconList(kTree, {"~folder.ico"});
  window()->setIconList(kList, {"~zalaczniki.ico"});
  engine::applyContractorListLook(*window(), {kList, kTree});
  if (splitter_.init(sharedWindow(), kSplitter, kList, kTree)) splitter_.restore(kParameterWindow);
  // The counts come with the page, one join, not a query per row.
  if (const sql::TableDef* attachments = data::findTable("PRACOWNIK_ZALACZNIK"))
    view().addJoin(*attachments, "PRAZAL:ID_PRACOWNIKA = PRA:ID_PRACOWNIKA and PRAZAL:PRGKOD = " +
                                     std::to_string(svc::kEdocumentProgram));
  std::vector<std::vector<std::string>> entries;
  for (const auto& entry : archiveEntries()) entries.push_back({entry.caption, "1"});
  window()->setRows(kTree, std::move(entries));
  window()->setSelection(kTree, 1);
  archiveFilter_ = archiveEntries().front().condition;
  FILTRPRACOWNIKA(true, &employeeFilter_);

  sort_ = engine::sortNumber(svc::POBIERZPARAMETROKNA(kParameterWindow, "sortowanie"), kSortNames, 1);
  descending_ = svc::POBIERZPARAMETROKNA(kParameterWindow, "porządek") == kDescending;
  window()->setValue(kSortList, std::string(kSortNames[static_cast<std::size_t>(sort_ - 1)]));
  showDirection();
  applyFilter();
  chooseNamedSort(sort_, kSortOrders);
  if (openOn_ > 0) {
    // The browse finds a row by the record's key, as it does for a row just saved.
    data::field("PRA:ID_PRACOWNIKA").set(openOn_);
    if (data::fileManager(table()).fetch("PRA:PK_PRACOWNIK") == 0)
      browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }
  return 0;
}

void EmployeeList::orderApplied() {
  if (!descending_) return;
  // The company leads every order and stays as it is; the columns after it turn round.
  std::string order = svc::PRZYGOTUJFILTR(view().orderText(), ",+PRA:", ",-PRA:");
  view().setOrder(order);
}

void EmployeeList::setResizeStrategies(fw::WindowResizeClass& resizer) {
  ListWindow::setResizeStrategies(resizer);
  if (window()->has(kTree)) resizer.setStrategy(kTree, fw::Anchor::End, fw::Anchor::Start, fw::Stretch::Height);
}

// --- rows ------------------------------------------------------------------------------

void EmployeeList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  LockedList::setQueueRecord(row, source);
  row.field((kNameColumn - 1) * kColumnFields + 1) = engine::trimmed(data::field("PRA:NAZWISKO").text()) + " " +
                                                       engine::trimmed(data::field("PRA:IMIE_1").text());
  setIcon(row, kAttachmentColumn,
          data::field("PRAZAL:LICZBA_ZALACZNIKOW").integer() > 0 ? kAttachmentIcon : 0);
  // Another user's lock says more than the archive: those rows keep their blue.
  if (data::field("PRA:ARCHIWUM").integer() == 2 &&
      engine::lockHolder(data::field("PRA:SEMAFOR").number(), engine::currentUser()) != engine::LockHolder::OtherUser) {
    for (int c = 1; c <= kColumns; ++c)
      setColours(row, c, kArchivedColour, rt::kNoColor, kArchivedColour, rt::kNoColor);
  }
}

double EmployeeList::selectedEmployee() {
  const fw::ListRow* row = browse().selectedRow();
  if (!row || view().fetch(row->position()) != 0) return 0;
  return data::field("PRA:ID_PRACOWNIKA").number();
}

// --- filter and order ------------------------------------------------------------------

void EmployeeList::applyFilter() {
  const std::string combined = svc::DODAJKOMPONENTFILTRA(employeeFilter_, archiveFilter_);
  view().setSqlFilter(combined.empty() ? "" : "+" + combined);
  window()->setIcon(kFilter, employeeFilter_.empty() ? "filtrno.ico" : "filtryes.ico");
}

void EmployeeList::chooseArchive(int entry) {
  const auto& entries = archiveEntries();
  if (entry < 1 || entry > static_cast<int>(entries.size())) return;
  archiveFilter_ = entries[static_cast<std::size_t>(entry - 1)].condition;
  applyFilter();
  browse().fetch(fw::FetchDirection::First);
}

void EmployeeList::openFilter() {
  std::string condition;
  if (FILTRPRACOWNIKA(false, &condition) == data::kRequestCompleted) {
    employeeFilter_ = condition;
    applyFilter();
    browse().fetch(fw::FetchDirection::First);
  }
  window()->select(kList);
}

void EmployeeList::clearEmployeeFilter() {
  rememberEmployeeFilter({});
  employeeFilter_.clear();
  applyFilter();
  browse().fetch(fw::FetchDirection::First);
  window()->select(kList);
}

void EmployeeList::chooseSort(int order) {
  sort_ = order;
  chooseNamedSort(order, kSortOrders);
}

void EmployeeList::toggleDirection() {
  descending_ = !descending_;
  showDirection();
  if (fw::Locator* l = browse().locator()) l->reset();
  browse().setSort(sort_, true);
  window()->select(kList);
}

void EmployeeList::showDirection() {
  window()->setIcon(kDirection, descending_ ? "~malejaco.ico" : "~rosnaco.ico");
  window()->setTip(kDirection, std::string(descending_ ? kDescending : kAscending) + " (Ctrl+Up)");
}

void EmployeeList::showFilterMenu() {
  fw::PopupClass menu;
  menu.init(sharedWindow());
  menu.addItem("Kasuj wszystkie filtry <Ctrl+F10>", kClearAllItem);
  menu.addItem("-");
  menu.addItem("Kasuj filtr pracownika <Ctrl+F8>", kClearEmployeeItem);
  const std::string chosen = menu.ask();
  if (chosen == kClearAllItem || chosen == kClearEmployeeItem) clearEmployeeFilter();
}

// --- events ----------------------------------------------------------------------------

void EmployeeList::setAlerts() {
  LockedList::setAlerts();
  if (!window()) return;
  for (int key : {kDuplicateKey, kClearEmployeeKey, kDirectionKey, kViewKey}) window()->alert(key);
}

int EmployeeList::takeEvent(const rt::Event& e) {
  if (e.code == rt::event::NewSelection && e.control == kTree) {
    if (auto tree = window()->control(kTree)) chooseArchive(tree->selection);
    window()->select(kList);
    return fw::kLevelNotify;
  }
  if (e.code == rt::event::AlertKey) {
    switch (e.keyCode) {
      case kDuplicateKey: duplicate(); return fw::kLevelNotify;
      case kClearEmployeeKey: clearEmployeeFilter(); return fw::kLevelNotify;
      case kDirectionKey: toggleDirection(); return fw::kLevelNotify;
      case kViewKey: showEmployee(); return fw::kLevelNotify;
      default: break;
    }
  }
  return LockedList::takeEvent(e);
}

int EmployeeList::takeAccepted(const rt::Event& e) {
  const std::string& c = e.control;
  if (c == kSortList) {
    chooseSort(engine::sortNumber(window()->value(kSortList), kSortNames, 1));
  } else if (c == kDirection) {
    toggleDirection();
  } else if (c == kFilter) {
    openFilter();
  } else if (c == kClearFilters) {
    clearEmployeeFilter();
  } else if (c == kFilterMenu) {
    showFilterMenu();
  } else if (c == kRefresh) {
    applyFilter();
    reload();
    window()->select(kList);
  } else if (c == kViewButton) {
    showEmployee();
  } else if (c == kTablesButton) {
    openTables();
  } else if (c == kEdocumentsButton) {
    openEdocuments();
  } else {
    return LockedList::takeAccepted(e);
  }
  return fw::kLevelNotify;
}

void EmployeeList::addPopupItems(fw::PopupClass& popup) {
  LockedList::addPopupItems(popup);
  popup.addItemMimic("Pokaz", kViewButton, "Pokaż");
  if (!restricted_) {
    popup.addItem("Powiel <Shift+Ins>", kDuplicateItem);
    popup.addItem("-");
    popup.addItem("Przenieś do archiwum", kArchiveItem);
  }
  popup.addItem("-");
  popup.addItem("Filtr pracownika <F8>", kFilterItem);
  popup.addItem("Kasuj filtr");
  popup.addItem("Kasuj wszystkie filtry <Ctrl+F10>", kClearAllItem, 2);
  popup.addItem("Kasuj filtr pracownika <Ctrl+F8>", kClearEmployeeItem, 2);
  popup.addItemMimic(kEdocumentsItem, kEdocumentsButton, "e-Dokumenty");
}

void EmployeeList::takePopupChoice(const std::string& item) {
  if (item == kDuplicateItem) duplicate();
  else if (item == kArchiveItem) archive();
  else if (item == kFilterItem) openFilter();
  else if (item == kClearAllItem || item == kClearEmployeeItem) clearEmployeeFilter();
  else LockedList::takePopupChoice(item);
}

// --- the form, duplicate and archive ---------------------------------------------------

int EmployeeList::run(int number, int request) {
  // Chosen from a nest the list only picks: whatever else is asked ends at once.
  if (restricted_ && (request == data::kInsertRecord || request == data::kChangeRecord ||
                      request == data::kDeleteRecord))
    return data::kRequestCompleted;
  return LockedList::run(number, request);
}

void EmployeeList::showEmployee() {
  if (svc::POBIERZUPRAWNIENIE("OPrac") != 1) {
    warn("Brak uprawnień na oglądanie Pracowników!");
    return;
  }
  if (selectedEmployee() <= 0) return;
  data::GLOBALREQUEST() = data::kViewRecord;
  data::GLOBALRESPONSE() = data::kNoResponse;
  PRACOWNIK_UPD();
  window()->select(kList);
}

std::string EmployeeList::tablesListSql() const {
  // The list's own rows in its own order: the tables window moves between them.
  std::string where = "A.ID_FIRMY=" + id(data::glo().ID_FIRMY.get());
  const std::string filter = svc::DODAJKOMPONENTFILTRA(employeeFilter_, archiveFilter_);
  if (!filter.empty()) where += " AND (" + filter + ")";
  const char* direction = descending_ ? " DESC" : " ASC";
  return "FROM PRACOWNIK A WHERE " + where + " ORDER BY A." + kSortColumns[static_cast<std::size_t>(sort_ - 1)] +
         direction + ", A.ID_PRACOWNIKA" + direction;
}

void EmployeeList::openTables() {
  const double employee = selectedEmployee();
  if (employee <= 0) return;
  svc::TABELE_DODATKOWE(kTablesKind, tablesListSql(), kSortColumns[static_cast<std::size_t>(sort_ - 1)], employee);
  window()->select(kList);
}

void EmployeeList::openEdocuments() {
  const double employee = selectedEmployee();
  if (employee <= 0) return;
  svc::EDOKVIEW(svc::kEdocumentEmployee, employee);
  // Files added or deleted change the row's attachment count.
  reload();
  window()->select(kList);
}

void EmployeeList::duplicate() {
  if (restricted_) return;
  if (svc::POBIERZUPRAWNIENIE("DPrac") != 1) {
    warn("Brak uprawnień na dodawanie Pracowników!");
    return;
  }
  const double original = selectedEmployee();
  if (original <= 0) return;
  svc::EXECSQL("call TK_PowielPracownika(" + id(data::glo().ID_FIRMY.get()) + "," + id(engine::currentUser()) + "," +
               id(original) + ")");
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    svc::CLOSESQL();
    return;
  }
  const double copy = svc::VAX().next() ? std::atof(svc::VAX().field(1).c_str()) : 0;
  svc::CLOSESQL();
  if (copy <= 0) return;
  // The copy is edited as any employee: under its lock, read under the lock.
  if (!semaphore().take(copy)) {
    semaphore().remove(copy);
    return;
  }
  data::field("PRA:ID_PRACOWNIKA").set(copy);
  if (data::fileManager(table()).fetch("PRA:PK_PRACOWNIK") != 0) {
    warn(data::fileManager(table()).errorText());
    semaphore().remove(copy);
    return;
  }
  data::GLOBALREQUEST() = kChangeOfDuplicateRequest;
  data::GLOBALRESPONSE() = data::kNoResponse;
  PRACOWNIK_UPD();
  if (data::GLOBALRESPONSE() != data::kRequestCompleted) {
    // The copy was only ever meant to become the employee the form saves.
    semaphore().remove(copy);
    reload();
  } else {
    semaphore().release(copy);
    data::field("PRA:ID_PRACOWNIKA").set(copy);
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }
  window()->select(kList);
}

void EmployeeList::archive() {
  if (restricted_) return;
  const double employee = selectedEmployee();
  if (employee <= 0) return;
  if (data::field("PRA:PLEW").integer() == 1) {
    warn("Operacja dozwolona tylko w systemie Plew.");
    return;
  }
  const bool archived = data::field("PRA:ARCHIWUM").integer() == 2;
  svc::EXECSQL("call TK_ArchiwizujPracownika(" + id(employee) + "," + (archived ? "0" : "1") + "," +
               id(engine::currentUser()) + ")");
  const bool failed = rt::errorCode() != 0;
  const std::string why = rt::errorText();
  svc::CLOSESQL();
  if (failed) {
    warn(why);
    return;
  }
  reload();
}

int EmployeeList::kill() {
  const bool open = isOpened() && browse().currentSort() > 0;
  if (LockedList::kill()) return 1;
  if (open) {
    svc::ZAPISZPARAMETROKNA(kParameterWindow, "sortowanie", std::string(kSortNames[static_cast<std::size_t>(sort_ - 1)]));
    svc::ZAPISZPARAMETROKNA(kParameterWindow, "porządek", descending_ ? kDescending : kAscending);
    splitter_.save(kParameterWindow);
  }
  return 0;
}

}  // namespace slownik::staff

extern "C" void PRACOWNIK_BRW() {
  slownik::staff::EmployeeList list;
  list.run();
}
