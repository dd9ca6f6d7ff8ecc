#include "dictionaries/banking/locked_list.h"

#include <utility>

#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"

namespace slownik::banking {

LockedList::LockedList(engine::ListDescriptor descriptor, LockRules rules)
    : ListWindow(std::move(descriptor)),
      rules_(std::move(rules)),
      semaphore_(rules_.table, rules_.lockedMessage),
      deleter_(rules_.table, rules_.deleteLockedMessage.empty() ? rules_.lockedMessage : rules_.deleteLockedMessage) {}

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
  semaphore_.release(id);
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
  colours_.apply(row, data::field(rules_.semaforField).number(), currentUser());
}

}  // namespace slownik::banking
