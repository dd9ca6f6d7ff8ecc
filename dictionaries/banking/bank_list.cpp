#include "dictionaries/banking/bank_list.h"

#include "dictionaries/banking/bank_form.h"
#include "dictionaries/banking/bank_sort_orders.h"
#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/banking/kir_report_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"
#include "framework/services/window_parameters.h"

namespace slownik::banking {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kDirectionButton = "?UPDOWN";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kParameterWindow = "Bank_Brw";
constexpr const char* kImportItem = "Importuj";
constexpr const char* kReportItem = "RaportImportu";

}  // namespace

namespace {

engine::LockRules bankLockRules() {
  engine::LockRules r;
  r.table = "banki";
  r.lockedMessage = "Bank jest aktualizowany przez innego użytkownika!";
  r.idField = "BAN:ID_BANKU";
  r.primaryKey = "BAN:PK_BANKI";
  r.semaforField = "BAN:SEMAFOR";
  // The columns that change colour with the lock: "Nazwa banku", "Nr banku", "Miejscowość".
  r.lockColumns = {1, 2, 6};
  r.insertRight = "DBanki";
  r.insertMessage = "Brak uprawnień na dodawanie banków!";
  r.changeRight = "OBanki";
  r.changeMessage = "Brak uprawnień na oglądanie banków!";
  r.deleteRight = "UBanki";
  r.deleteMessage = "Brak uprawnień na usuwanie banków!";
  r.confirmDelete = [] { return svc::MSG_PYTANIE("Czy usunąć ten bank?") == svc::kYes; };
  r.logKind = "BANKI";
  return r;
}

}  // namespace

BankList::BankList() : engine::LockedList(makeDescriptor(), bankLockRules()) {}

engine::ListDescriptor BankList::makeDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 15;
  d.procedure = "Banki_Brw";
  d.table = "BANKI";
  d.windowKey = "Banki";
  d.helpPage = "kar_fin_bank.htm";
  d.right = "Banki";
  d.rightMessage = "Brak uprawnień na dostęp do listy banków!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {
      {"BAN:AK_BANKI_NUMER_BANKI", LocatorKind::Filter, "BAN:NUMER_BANKU", kLocator},
      {"BAN:AK_NAZWA", LocatorKind::Filter, "BAN:NAZWA", kLocator},
      {"BAN:AK_SWIFT", LocatorKind::Step, "BAN:SWIFT", ""},
      {"BAN:AK_KOD", LocatorKind::Step, "BAN:KOD_POCZTOWY", ""},
      {"BAN:AK_MIEJSCOWOSC", LocatorKind::Step, "BAN:MIEJSCOWOSC", ""},
      {"BAN:AK_BANKI_NUMER_BANKI", LocatorKind::Incremental, "BAN:NUMER_BANKU", kLocator},
  };
  d.columns = {"BAN:NAZWA",       "BAN:NUMER_BANKU", "BAN:SWIFT",       "BAN:ULICA_LOKAL", "BAN:KOD_POCZTOWY",
               "BAN:MIEJSCOWOSC", "BAN:SEMAFOR",     "BAN:FLAGA_STANU", "BAN:ID_BANKU"};
  d.headerSorter = true;
  d.form = [] { BANKI_UPD(); };
  return d;
}

// --- opening and closing ------------------------------------------------------------

int BankList::opened() {
  int order = bankSortNumber(svc::POBIERZPARAMETROKNA(kParameterWindow, "sortowanie"));
  direction_ = isDescending(svc::POBIERZPARAMETROKNA(kParameterWindow, "porządek")) ? kDescending : kAscending;
  window()->setValue(kSortList, bankSortName(order));
  window()->setIcon(kDirectionButton, directionIcon(direction_));
  browse().setSort(order);
  showSortStyles(order);
  browse().resetQueue();  // loads the first page in the key order …
  applyDirection();       // … and turns it to the stored direction
  return 0;
}

void BankList::closeActions() {
  if (!isOpened()) return;
  svc::ZAPISZPARAMETROKNA(kParameterWindow, "sortowanie", bankSortName(browse().currentSort()));
  svc::ZAPISZPARAMETROKNA(kParameterWindow, "porządek", direction_);
}

// --- sorting -------------------------------------------------------------------------

void BankList::chooseSort(int order) {
  // A filter typed for the old order would go on hiding rows under the new one.
  if (fw::Locator* l = browse().locator()) l->reset();
  browse().setSort(order);
  showSortStyles(order);
  applyDirection();
}

void BankList::showSortStyles(int order) {
  showSortColumn(order, kBankSortOrders);
  // Steps locate by the typed character on the list; only the others read the entry.
  window()->enable(kLocator, order == 1 || order == 2 || order == kFallbackSort);
}

void BankList::toggleDirection() {
  direction_ = toggledDirection(direction_);
  window()->setIcon(kDirectionButton, directionIcon(direction_));
  applyDirection();
}

void BankList::applyDirection() {
  if (headerSorter() && !headerSorter()->orderText().empty()) return;
  std::string order = view().orderText();
  std::string wanted = directedOrder(order, isDescending(direction_));
  if (wanted == order || view().setOrder(wanted) != 0) return;
  browse().fetch(fw::FetchDirection::First);
}

bool BankList::isHeaderClickOnKeyedColumn(const rt::Event& e) {
  if (e.code != rt::event::MouseDown || e.control != kList || !e.inHeader) return false;
  const auto& columns = descriptor().columns;
  return e.column >= 1 && e.column <= static_cast<int>(columns.size()) &&
         !isHeaderSortable(columns[static_cast<std::size_t>(e.column - 1)]);
}

// --- events ----------------------------------------------------------------------------

int BankList::takeEvent(const rt::Event& e) {
  // The keyed columns sort through the drop list: their headers don't take clicks.
  if (isHeaderClickOnKeyedColumn(e)) return fw::kLevelNotify;
  return engine::LockedList::takeEvent(e);
}

void BankList::orderApplied() {
  // Whenever the key order is applied again (a Shift+click on a header gives the list its
  // own order back) the stored direction goes with it; the list loads its page right after.
  if (headerSorter() && !headerSorter()->orderText().empty()) return;
  std::string order = view().orderText();
  std::string wanted = directedOrder(order, isDescending(direction_));
  if (wanted != order) view().setOrder(wanted);
}

int BankList::takeAccepted(const rt::Event& e) {
  if (e.control == kSortList) {
    chooseSort(bankSortNumber(window()->value(kSortList)));
    return fw::kLevelNotify;
  }
  if (e.control == kDirectionButton) {
    toggleDirection();
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

void BankList::addPopupItems(fw::PopupClass& popup) {
  engine::LockedList::addPopupItems(popup);
  std::string name = popup.addItem("Importuj banki z KIR", kImportItem);
  popup.setIcon(name, "~import.ico");
  popup.addItem("Raport ostatniego importu z KIR", kReportItem);
}

void BankList::takePopupChoice(const std::string& item) {
  engine::LockedList::takePopupChoice(item);
  if (item == kReportItem) {
    showLatestKirReport();
  } else if (item == kImportItem) {
    IMPORTKIR();
  } else {
    return;
  }
  // The report may have applied changes to banks.
  reload();
}

}  // namespace slownik::banking

extern "C" void BANKI_BRW() {
  slownik::banking::BankList list;
  list.run();
}
