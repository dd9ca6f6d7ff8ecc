#include "dictionaries/banking/account_virtual_list.h"

#include "dictionaries/banking/account_number.h"
#include "engine/list_window.h"
#include "framework/classes/popup_class.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kList = "?LIST1";
constexpr const char* kDelete = "?DELETE:2";
constexpr const char* kDefault = "?DOMYSLNY:2";
constexpr const char* kDeleteItem = "Usun";
constexpr const char* kDefaultItem = "Domyslny";
constexpr const char* kCopyItem = "Kopiuj";
constexpr int kDefaultIcon = 1;

}  // namespace

// Rows show the default flag as the icon of their first column, without its digit.
class VirtualAccountList::Browse : public fw::BrowseClass {
 public:
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    BrowseClass::setQueueRecord(row, source);
    bool isDefault = data::field("RWI:CZY_DOMYSLNY").number() == 1;
    setIcon(row, 1, isDefault ? kDefaultIcon : 0);
    if (flagField > 0) row.field(flagField).clear();
    setText(row, 2, groupedAccountNumber(data::field("RWI:NUMER_RACHUNKU").text()));
  }
  int flagField = 0;  // the list-buffer field of the flag column's value
};

VirtualAccountList::VirtualAccountList() = default;
VirtualAccountList::~VirtualAccountList() = default;

void VirtualAccountList::start(engine::ListWindow& window, double contractor, bool readOnly) {
  const sql::TableDef* table = sql::Catalogue::instance().find("RACHUNEK_WIRTUALNY");
  rt::Window* w = window.window();
  if (!table || !w || !w->has(kList)) return;
  window_ = &window;
  readOnly_ = readOnly;
  view_ = std::make_unique<data::ViewManager>(*table);
  view_->addRange("RWI:ID_KONTRAHENTA", static_cast<long long>(contractor));
  browse_ = std::make_unique<Browse>();
  if (auto format = rt::ListFormat::parse(w->control(kList)->format); format && !format->columns.empty())
    browse_->flagField = format->columns.front().field;
  w->setIconList(kList, {"~32redchk.ico"});
  browse_->init(kList, *view_, queue_, nullptr, window);
  locator_.init("", "RWI:ID_KONTRAHENTA", *browse_);
  browse_->addSortOrder("RWI:RACHUNEKWIRTUALNY_IDKONTRAHENTA", &locator_);
  for (const char* f : {"RWI:CZY_DOMYSLNY", "RWI:NUMER_RACHUNKU", "RWI:ID_RACHUNKU"}) browse_->addField(f);
  browse_->setPageSize(window.descriptor().pageSize);
  browse_->opened();
  browse_->setAlerts();
  // The window's Del, F4 and right button belong to the first tab's list; in this list
  // they act on the virtual accounts.
  for (int key : {rt::key::Del, rt::key::F4, rt::key::MouseRight}) w->alertOn(kList, key);
  reload();
}

void VirtualAccountList::reload() {
  if (!browse_) return;
  browse_->resetQueue();
  updateButtons();
}

void VirtualAccountList::updateButtons() {
  rt::Window* w = window_ ? window_->window() : nullptr;
  if (!w || w->isClosed()) return;
  bool usable = !readOnly_ && browse_->records() > 0;
  w->enable(kDelete, usable);
  w->enable(kDefault, usable);
}

double VirtualAccountList::selectedId() {
  const fw::ListRow* row = browse_ ? browse_->selectedRow() : nullptr;
  if (!row || view_->fetch(row->position()) != 0) return 0;
  return data::field("RWI:ID_RACHUNKU").number();
}

bool VirtualAccountList::takeEvent(const rt::Event& e) {
  if (!browse_) return false;
  if (e.code == rt::event::AlertKey && e.control == kList) {
    switch (e.keyCode) {
      case rt::key::Del:
        window_->window()->post(rt::Event{rt::event::Accepted, kDelete});
        return true;
      case rt::key::F4:
        window_->window()->post(rt::Event{rt::event::Accepted, kDefault});
        return true;
      case rt::key::MouseRight:
        popup();
        return true;
      default:
        return false;
    }
  }
  if (e.code == rt::event::Accepted && e.control == kDelete) {
    remove();
    return true;
  }
  if (e.code == rt::event::Accepted && e.control == kDefault) {
    toggleDefault();
    return true;
  }
  return false;
}

void VirtualAccountList::remove() {
  if (readOnly_) return;
  double id = selectedId();
  if (id <= 0) return;
  if (svc::MSG_PYTANIE("Czy chcesz usunąć wybraną pozycję?") != svc::kYes) return;
  svc::EXECSQL("delete from RACHUNEK_WIRTUALNY where id_rachunku =" + sql::sqlId(id));
  if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
  svc::CLOSESQL();
  reload();
}

void VirtualAccountList::toggleDefault() {
  if (readOnly_) return;
  double id = selectedId();
  if (id <= 0) return;
  // Only this account's flag turns; the others keep theirs.
  const char* flag = data::field("RWI:CZY_DOMYSLNY").number() == 1 ? "0" : "1";
  svc::EXECSQL(std::string("update RACHUNEK_WIRTUALNY set czy_domyslny=") + flag +
               " from RACHUNEK_WIRTUALNY r where r.id_rachunku =" + sql::sqlId(id));
  if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
  svc::CLOSESQL();
  reload();
}

void VirtualAccountList::copyNumber() {
  if (selectedId() <= 0) return;
  rt::frontEnd().setClipboardText(fullAccountNumber({}, data::field("RWI:NUMER_RACHUNKU").text()));
}

void VirtualAccountList::popup() {
  fw::PopupClass menu;
  menu.init(window_->sharedWindow());
  menu.setIcon(menu.addItem("Usuń", kDeleteItem), "usun2.ico");
  menu.addItem("-");
  menu.addItem("Domyślny", kDefaultItem);
  menu.setIcon(menu.addItem("Kopiuj pełny nr konta", kCopyItem), "paste.ico");
  if (readOnly_ || browse_->records() == 0) {
    menu.setItemEnabled(kDeleteItem, false);
    menu.setItemEnabled(kDefaultItem, false);
  }
  std::string chosen = menu.ask();
  if (chosen == kDeleteItem) remove();
  if (chosen == kDefaultItem) toggleDefault();
  if (chosen == kCopyItem) copyNumber();
}

}  // namespace slownik::banking
