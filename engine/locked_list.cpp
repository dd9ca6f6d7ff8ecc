#include "engine/locked_list.h"

#include <cstdlib>
#include <utility>

#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::engine {

namespace {

constexpr const char* kClearItem = "ZdejmijBlokade";
constexpr double kAdministrator = 6100003;

}  // namespace

LockedList::LockedList(ListDescriptor descriptor, LockRules rules)
    : ListWindow(std::move(descriptor)),
      rules_(std::move(rules)),
      semaphore_(rules_.table, rules_.lockedMessage),
      deleter_(rules_.table, rules_.deleteLockedMessage.empty() ? rules_.lockedMessage : rules_.deleteLockedMessage) {}

bool mayClearLocks() {
  if (currentUser() == kAdministrator) return true;
  // The right "SYS" only lets a user work in a company, so it is no sign of an
  // administrator; the company's "Administratorzy" group is.
  std::string member = svc::FUNCSQL(
      "select count(*) from UZYTKOWNIKGRUPY g join GRUPAUZYTKOWNIKOW gr on gr.ID_GRUPY=g.ID_GRUPY where "
      "gr.NAZWA='Administratorzy' and gr.ID_FIRMY=" +
      sql::sqlId(data::glo().ID_FIRMY.get()) + " and g.ID_UZYTKOWNIKA=" + sql::sqlId(currentUser()));
  return rt::errorCode() == 0 && std::atoi(member.c_str()) > 0;
}

bool LockedList::allowed(const std::string& right, const std::string& message) const {
  if (right.empty() || svc::POBIERZUPRAWNIENIE(right) == 1) return true;
  warn(message);
  return false;
}

int LockedList::run(int number, int request) {
  if (this->request() == data::kViewRecord) return data::kRequestCancelled;
  switch (request) {
    case data::kInsertRecord:
      return insert(number);
    case data::kChangeRecord:
      return change(number);
    case data::kDeleteRecord:
      return remove();
    default:
      return ListWindow::run(number, request);
  }
}

bool LockedList::readsRowItself(int request) const {
  return request == data::kChangeRecord && this->request() != data::kViewRecord;
}

unsigned long long LockedList::writesOfItsOwn(int request) const { return readsRowItself(request) ? 2 : 0; }

int LockedList::insert(int number) {
  if (!allowed(rules_.insertRight, rules_.insertMessage)) return data::kRequestCancelled;
  int response = ListWindow::run(number, data::kInsertRecord);
  // Releasing the new row is harmless (nobody locked it) and keeps every completed form
  // followed by a release.
  if (response == data::kRequestCompleted) semaphore_.release(data::field(rules_.idField).number());
  return response;
}

int LockedList::change(int number) {
  if (!allowed(rules_.changeRight, rules_.changeMessage)) return data::kRequestCancelled;
  const double id = data::field(rules_.idField).number();
  bool locked = semaphore_.take(id);
  svc::CLOSESQL();
  if (!locked) return data::kRequestCancelled;
  // The row was read before the lock: read it again, now that nobody else may change
  // it, so the form neither shows nor writes back another user's older values.
  data::fileManager(table()).fetch(rules_.primaryKey);
  int response = ListWindow::run(number, data::kChangeRecord);
  // The lock taken is the one released, whatever the form left in the record buffer.
  // Once it is, the row written holds no lock any more: the buffer says so too, as the
  // list may show the row from it.
  if (semaphore_.release(id) && data::field(rules_.idField).number() == id)
    data::field(rules_.semaforField).set(0);
  return response;
}

int LockedList::remove() {
  auto confirmed = [this] { return !rules_.confirmDelete || rules_.confirmDelete(); };
  if (rules_.askBeforeRight && !confirmed()) return data::kRequestCancelled;
  if (!allowed(rules_.deleteRight, rules_.deleteMessage)) return data::kRequestCancelled;
  if (!rules_.askBeforeRight && !confirmed()) return data::kRequestCancelled;
  bool removed = deleter_.remove(data::field(rules_.idField).number());
  svc::CLOSESQL();
  return removed ? data::kRequestCompleted : data::kRequestCancelled;
}

void LockedList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  ListWindow::setQueueRecord(row, source);
  if (!coloursReady_ && window()) {
    if (auto list = window()->control("?LIST")) coloursReady_ = colours_.init(list->format, rules_.lockColumns);
  }
  const double semafor = data::field(rules_.semaforField).number();
  colours_.apply(row, semafor, currentUser());
  // Rows held by somebody else are few: one question each, when the page is loaded.
  switch (lockHolder(semafor, currentUser())) {
    case LockHolder::OtherUser:
      holders_[source.position] = semaphore_.holderOf(data::field(rules_.idField).number());
      break;
    case LockHolder::CurrentUser:
      holders_[source.position] = "";
      break;
    case LockHolder::Nobody:
      holders_.erase(source.position);
      break;
  }
}

int LockedList::takeEvent(const rt::Event& e) {
  int rc = ListWindow::takeEvent(e);
  if (window() && !window()->isClosed()) showHolderTip();
  return rc;
}

void LockedList::showHolderTip() {
  auto list = window()->control("?LIST");
  if (!list) return;
  if (!listTipRead_) {
    listTip_ = list->tip;
    listTipRead_ = true;
  }
  std::string tip = listTip_;
  if (const fw::ListRow* row = browse().selectedRow()) {
    auto held = holders_.find(row->position());
    if (held != holders_.end() && !held->second.empty()) tip = held->second;
  }
  if (list->tip != tip) window()->setTip("?LIST", tip);
}

void LockedList::addPopupItems(fw::PopupClass& popup) {
  // Offered on a row that somebody holds (the administrator's own other window too).
  const fw::ListRow* row = browse().selectedRow();
  if (!row || !holders_.count(row->position()) || !mayClearLocks()) return;
  popup.addItem("Zdejmij blokadę", kClearItem);
}

void LockedList::takePopupChoice(const std::string& item) {
  if (item == kClearItem) clearSelectedLock();
}

void LockedList::clearSelectedLock() {
  const fw::ListRow* row = browse().selectedRow();
  if (!row || view().fetch(row->position()) != 0) return;
  const double id = data::field(rules_.idField).number();
  if (data::field(rules_.semaforField).number() <= 0) {
    svc::MSG_INFORMACJA("Rekord nie jest zablokowany.");
    return;
  }
  std::string holder = semaphore_.holderOf(id);
  std::string question = "Czy zdjąć blokadę rekordu?";
  if (!holder.empty()) question += "|" + holder;
  question += "|Niezapisane zmiany tego użytkownika nie zostaną zapisane.";
  if (svc::MSG_PYTANIE(question) != svc::kYes) return;
  std::string former;
  if (!semaphore_.clear(id, &former)) {
    reload();
    return;
  }
  const std::string kind = rules_.logKind.empty() ? table().name : rules_.logKind;
  svc::EXECSQL("call TK_ZapiszDoLogu(" + sql::sqlId(data::glo().ID_FIRMY.get()) + ",0," + sql::sqlId(currentUser()) +
               "," + sql::sqlId(id) + "," + sql::quote(kind) + ",2," + sql::quote("Zdjęcie blokady") + ",3," +
               sql::quote(former.empty() ? std::string("Zdjęto blokadę rekordu") : "Zdjęto blokadę. " + former) + ")");
  if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
  svc::CLOSESQL();
  reload();
}

}  // namespace slownik::engine
