#include "dictionaries/banking/account_list.h"

#include <cstdlib>

#include "dictionaries/banking/account_form.h"
#include "dictionaries/banking/account_number.h"
#include "dictionaries/banking/account_white_list.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/list_format.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kDefaultButton = "?DOMYSLNY";
constexpr const char* kHeading = "?NAGLOWEK:TEKST";
constexpr const char* kDefaultItem = "Domyslny";
constexpr const char* kCopyItem = "Kopiuj";
constexpr const char* kWhiteListItem = "BialaLista";
constexpr int kDefaultIcon = 1;
constexpr int kNumberColumn = 3;  // "Numer rachunku"

}  // namespace

AccountList::AccountList(const AccountOwner& owner, int mode)
    : ListWindow(makeDescriptor(owner)), owner_(owner), mode_(mode), defaults_(owner, mode) {}

engine::ListDescriptor AccountList::makeDescriptor(const AccountOwner& owner) {
  engine::ListDescriptor d;
  d.module = owner.listModule;
  d.procedure = owner.listProcedure;
  d.table = owner.table;
  d.helpPage = owner.helpPage;
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{owner.numberKey, engine::LocatorKind::Step, owner.field("NUMER_RACHUNKU"), ""}};
  d.columns = {"BAN1:NAZWA", owner.field("LK"), owner.field("NUMER_RACHUNKU"), owner.field("SYM_WALUTY")};
  if (owner.isCompany()) d.columns.insert(d.columns.end(), {owner.field("SYM_KRAJU"), owner.field("DOMYSLNY_WAL")});
  d.columns.insert(d.columns.end(), {owner.field("NAZWA"), owner.field("ID_RACHUNKU")});
  d.headerSorter = true;
  d.form = [&owner] { runAccountForm(owner); };
  return d;
}

// --- opening -------------------------------------------------------------------------------

int AccountList::init() {
  loadOwner();
  if (owner_.isCompany() && mode_ != kReadOnlyMode && !mayEditCompanyData()) mode_ = kReadOnlyMode;
  defaults_.setMode(mode_);
  return ListWindow::init();
}

void AccountList::loadOwner() {
  const sql::TableDef* table = sql::Catalogue::instance().find(owner_.ownerTable);
  if (!table) return;
  // Without a mode the list works on its own: the company is the current one, and the
  // other owners' rows are read again so that their default account is the stored one.
  // With a mode the caller's form holds the record, perhaps changed and not yet saved.
  if (mode_ != 0) return;
  if (owner_.isCompany()) data::field(owner_.ownerField(owner_.ownerColumn)).set(data::glo().ID_FIRMY.get());
  data::fileManager(*table).fetch(owner_.ownerPrimaryKey());
}

bool AccountList::mayEditCompanyData() const {
  double user = data::glo().ID_UZYTKOWNIKA.get();
  // Users up to the administrator are not asked for the right to edit the company's data.
  if (user <= svc::kAdminUserId) return true;
  std::string count = svc::FUNCSQL(
      "select count(1) from DOSTEP d inner join UZYTKOWNIKGRUPY u on (d.id_grupy=u.id_grupy) where "
      "d.kod='EDanePodm' and d.id_firmy=" +
      sql::sqlId(data::field("FIR:ID_FIRMY").number()) +
      " and d.rodzaj_dostepu>0 and u.id_uzytkownika=" + sql::sqlId(user));
  return std::atof(count.c_str()) > 0;
}

void AccountList::setRanges(data::ViewManager& view) {
  view.addRange(owner_.field(owner_.ownerColumn), static_cast<long long>(defaults_.ownerId()));
  if (const sql::TableDef* banks = sql::Catalogue::instance().find("BANKI1"))
    view.addJoin(*banks, "BAN1:ID_BANKU = " + owner_.field("ID_BANKU"));
  // A picker offers only the accounts that may still be used.
  if (request() == data::kSelectRecord) view.setSqlFilter("+A.AKTYWNY<>0");
}

int AccountList::opened() {
  rt::Window* w = window();
  w->setIconList(kList, {"~32redchk.ico"});
  w->setText(kHeading, heading());
  if (owner_.kind == OwnerKind::Contractor) {
    virtualAccounts_ = std::make_unique<VirtualAccountList>();
    virtualAccounts_->start(*this, defaults_.ownerId(), mode_ == kReadOnlyMode);
  }
  reload();
  updateButtons();
  return 0;
}

std::string AccountList::heading() const {
  switch (owner_.kind) {
    case OwnerKind::Company:
      return data::field("FIR:NAZWA").text();
    case OwnerKind::Contractor:
      return data::field("KON:NAZWA").text();
    case OwnerKind::Employee:
      return engine::trimmed(data::field("PRA:NAZWISKO").text()) + " " + data::field("PRA:IMIE_1").text();
    case OwnerKind::TaxOffice:
      return data::field("URZ:NAZWA").text();
  }
  return {};
}

void AccountList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  ListWindow::setQueueRecord(row, source);
  setIcon(row, 1, defaults_.isDefault(data::field(owner_.field("ID_RACHUNKU")).number()) ? kDefaultIcon : 0);
  setText(row, kNumberColumn, groupedAccountNumber(data::field(owner_.field("NUMER_RACHUNKU")).text()));
  if (owner_.isCompany()) {
    setIcon(row, 6, data::field(owner_.field("DOMYSLNY_WAL")).number() == 1 ? kDefaultIcon : 0);
    hideText(row, 6);
  }
}

void AccountList::updateButtons() {
  rt::Window* w = window();
  if (!w || w->isClosed()) return;
  // The list manager enables its buttons as rows come and go; a read-only list keeps
  // them off whatever it shows.
  if (mode_ == kReadOnlyMode) {
    for (const char* button : {"?INSERT", "?CHANGE", "?DELETE", kDefaultButton}) w->disable(button);
    return;
  }
  w->enable(kDefaultButton, !owner_.defaultNeedsRows || browse().records() > 0);
}

// --- events ------------------------------------------------------------------------------

int AccountList::takeEvent(const rt::Event& e) {
  if (virtualAccounts_ && virtualAccounts_->takeEvent(e)) {
    virtualAccounts_->updateButtons();
    return fw::kLevelNotify;
  }
  int rc = ListWindow::takeEvent(e);
  if (!isClosing()) {
    updateButtons();
    if (virtualAccounts_) virtualAccounts_->updateButtons();
  }
  return rc;
}

int AccountList::takeAccepted(const rt::Event& e) {
  if (e.control == kDefaultButton) {
    toggleDefault();
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

void AccountList::addPopupItems(fw::PopupClass& popup) {
  popup.addItem("-");
  popup.addItemMimic(kDefaultItem, kDefaultButton, "Domyślny");
  popup.setIcon(popup.addItem("Kopiuj pełny nr konta", kCopyItem), "paste.ico");
  if (owner_.checksWhiteList()) popup.addItem("Sprawdź na białej liście", kWhiteListItem);
}

void AccountList::takePopupChoice(const std::string& item) {
  if (item == kCopyItem) copyNumber();
  if (item == kWhiteListItem) checkOnWhiteList();
}

void AccountList::checkOnWhiteList() {
  double account = selectedAccount();
  if (account <= 0) return;
  checkSavedAccount(owner_, account, data::field(owner_.field("LK")).text(),
                    data::field(owner_.field("NUMER_RACHUNKU")).text());
}

double AccountList::selectedAccount() {
  const fw::ListRow* row = browse().selectedRow();
  if (!row || view().fetch(row->position()) != 0) return 0;
  return data::field(owner_.field("ID_RACHUNKU")).number();
}

void AccountList::toggleDefault() {
  if (mode_ == kReadOnlyMode) return;
  double account = selectedAccount();
  if (account <= 0) return;
  defaults_.toggle(account);
  reload();
}

void AccountList::copyNumber() {
  if (selectedAccount() <= 0) return;
  rt::frontEnd().setClipboardText(
      fullAccountNumber(data::field(owner_.field("LK")).text(), data::field(owner_.field("NUMER_RACHUNKU")).text()));
}

// --- the form and what follows it -----------------------------------------------------------

int AccountList::run(int number, int request) {
  if (mode_ == kReadOnlyMode && request != data::kViewRecord) return data::kRequestCancelled;
  // The list fetched the row before calling: its id is known now, and after a delete only now.
  double account = data::field(owner_.field("ID_RACHUNKU")).number();
  int response = ListWindow::run(number, request);
  if (response == data::kRequestCompleted) {
    if (request == data::kInsertRecord) account = data::field(owner_.field("ID_RACHUNKU")).number();
    afterForm(request, account);
  }
  return response;
}

void AccountList::afterForm(int request, double account) {
  bool wasDefault = defaults_.isDefault(account);
  if (request == data::kDeleteRecord && wasDefault) defaults_.clear();
  writeLog(request);
  if (request == data::kInsertRecord && ownerAccountCount() == 1) defaults_.set(account);
  if (request == data::kChangeRecord && wasDefault && data::field(owner_.field("AKTYWNY")).number() == 0)
    defaults_.clear();
}

void AccountList::writeLog(int request) {
  // The entry's text names the account; the warehouse stands in both of its id places,
  // as the readers of the log have always found it.
  std::string label = data::field(owner_.field("LK")).text() + " " + data::field(owner_.field("NUMER_RACHUNKU")).text();
  const std::string warehouse = sql::sqlId(data::field("MAG:ID_MAGAZYNU").number());
  svc::EXECSQL("call TK_ZapiszDoLogu(" + sql::sqlId(data::glo().ID_FIRMY.get()) + "," + warehouse + "," +
               sql::sqlId(data::glo().ID_UZYTKOWNIKA.get()) + "," + warehouse + ",'" + owner_.logCode + "'," +
               std::to_string(request) + "," + sql::quote(label) + ",3)");
  svc::CLOSESQL();
}

int AccountList::ownerAccountCount() const {
  std::string sql = "select count(1) from " + sql::toLowerAscii(owner_.table) + " where " +
                    sql::toLowerAscii(owner_.ownerColumn) + "=" + sql::sqlId(defaults_.ownerId());
  if (request() == data::kSelectRecord) sql += " and aktywny<>0";
  return std::atoi(svc::FUNCSQL(sql).c_str());
}

// --- closing -------------------------------------------------------------------------------

void AccountList::closeActions() {
  if (owner_.isCompany()) loadDefaultAccounts();
  svc::CLOSESQL();
}

void runAccountList(const AccountOwner& owner, int mode) {
  AccountList list(owner, mode);
  list.run();
}

}  // namespace slownik::banking
