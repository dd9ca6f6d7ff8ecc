#pragma once
#include <functional>
#include <string>
#include <vector>

#include "dictionaries/banking/record_semaphore.h"
#include "engine/list_window.h"

namespace slownik::banking {

//! What a list of a shared dictionary states about its rows' edit lock and the rights
//! around insert, change and delete.
struct LockRules {
  std::string table;          //!< the dictionary as the stored procedures know it ("urzedy")
  std::string lockedMessage;  //!< "Urząd jest aktualizowany przez innego użytkownika!"
  //! The refused delete's warning, where it says something else ("" = lockedMessage).
  std::string deleteLockedMessage;
  std::string idField;       //!< "URZ:ID_URZEDU"
  std::string primaryKey;    //!< "URZ:PK_URZEDY": the row is read again under the lock
  std::string semaforField;  //!< "URZ:SEMAFOR"
  //! The list's columns (from 1) coloured by the lock; they carry colours ('*').
  std::vector<int> lockColumns;
  std::string insertRight, insertMessage;
  std::string changeRight, changeMessage;
  std::string deleteRight, deleteMessage;
  //! The delete question; true goes on. Asked before the right is checked when
  //! `askBeforeRight`, else after it.
  std::function<bool()> confirmDelete;
  bool askBeforeRight = false;
};

//! A list whose rows other users may hold: every change takes the row's lock, reads the
//! row again, runs the form and releases the lock; a delete goes through the database's
//! delete-unless-locked; rows are coloured by who holds them.
class LockedList : public engine::ListWindow {
 public:
  LockedList(engine::ListDescriptor descriptor, LockRules rules);

  using engine::ListWindow::run;
  int run(int number, int request) override;
  //! Colours the row by its lock (after the list's own copying).
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;

  const RecordSemaphore& semaphore() const { return semaphore_; }

 private:
  int insert(int number);
  int change(int number);
  int remove();
  bool allowed(const std::string& right, const std::string& message) const;

  LockRules rules_;
  RecordSemaphore semaphore_;
  RecordSemaphore deleter_;  // the same lock, with the delete's own warning
  SemaphoreRowColours colours_;
  bool coloursReady_ = false;
};

}  // namespace slownik::banking
