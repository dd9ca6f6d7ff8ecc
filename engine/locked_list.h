#pragma once
#include <functional>
#include <string>
#include <vector>

#include <map>

#include "engine/list_window.h"
#include "engine/record_semaphore.h"

namespace slownik::engine {

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
  //! What the audit log calls the dictionary ("BANKI"); "" = the table's name.
  std::string logKind;
};

//! Whether the current user may free other users' locks by hand: the administrator
//! (Admin, 6100003) or a member of the current company's group "Administratorzy".
bool mayClearLocks();

//! A list whose rows other users may hold: every change takes the row's lock, reads the
//! row again, runs the form and releases the lock; a delete goes through the database's
//! delete-unless-locked; rows are coloured by who holds them, and the list's tool tip
//! names the holder of the selected row. An administrator's popup has "Zdejmij
//! blokadę", which frees the selected row's lock and writes the audit log.
//!
//! A dictionary that overrides takeEvent, addPopupItems or takePopupChoice calls this
//! class's version, not ListWindow's.
class LockedList : public ListWindow {
 public:
  LockedList(ListDescriptor descriptor, LockRules rules);

  using ListWindow::run;
  int run(int number, int request) override;
  //! A change reads the row again once the lock is taken.
  bool readsRowItself(int request) const override;
  //! A change takes the row's lock and releases it: two writes of the row besides the form's.
  unsigned long long writesOfItsOwn(int request) const override;
  //! Colours the row by its lock (after the list's own copying).
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  //! After the event: the tool tip of the list names the selected row's holder.
  int takeEvent(const rt::Event& e) override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;

  const RecordSemaphore& semaphore() const { return semaphore_; }

 private:
  int insert(int number);
  int change(int number);
  int remove();
  bool allowed(const std::string& right, const std::string& message) const;
  void clearSelectedLock();
  void showHolderTip();

  LockRules rules_;
  RecordSemaphore semaphore_;
  RecordSemaphore deleter_;  // the same lock, with the delete's own warning
  SemaphoreRowColours colours_;
  bool coloursReady_ = false;
  // The loaded rows that somebody holds, by row position: the holder's line for rows
  // of other users, "" for the user's own.
  std::map<std::string, std::string> holders_;
  std::string listTip_;  // the list's own tip, shown on rows nobody else holds
  bool listTipRead_ = false;
};

}  // namespace slownik::engine
