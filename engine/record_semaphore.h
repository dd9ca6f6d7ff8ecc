#pragma once
#include <string>
#include <vector>

#include "framework/classes/list_queue.h"
#include "framework/runtime/list_format.h"
#include "framework/sql/database.h"

namespace slownik::engine {

//! How one semaphore statement ended.
enum class LockOutcome {
  Done,    //!< the lock was taken, released, or the record deleted
  Locked,  //!< another user holds the record (the database's text contains "Lock")
  Failed,  //!< any other database failure (a missing record, a lost connection)
};

struct LockResult {
  LockOutcome outcome = LockOutcome::Done;
  std::string errorText;  //!< the database's text; "" when Done
  //! Locked: the line that names the holder ("Edytuje: Jan Nowak, stanowisko KASA1,
  //! od 12:30"); "" when the database did not name one.
  std::string holder;
  bool isDone() const { return outcome == LockOutcome::Done; }
};

//! The warning of a refusal: the dictionary's own first line, then the holder's line.
std::string refusalText(const std::string& lockedMessage, const LockResult& result);

//! The edit lock of the rows of a shared dictionary (banks, interest tables, tax offices,
//! employees, companies, contractors). The lock belongs to the program's session and to
//! the window chain (this thread) that took it; the row's SEMAFOR column shows its user.
//! It is driven only by the database's stored procedures, which queue the takers of a
//! record on its row, so two holders can never coexist:
//!   take    "call TKW_KartotekaSemaforUstaw('<table>',<id>,<user>,2)"  before a change
//!   release "call TKW_KartotekaSemaforPoloz('<table>',<id>,<user>)"    after the form
//!   remove  "call TKW_KartotekaZapisSkasuj('<table>',<id>,<user>)"     the delete itself
//!
//! The try… members only run the statement on the calling thread's connection and tell
//! the outcome; take/release/remove are what a list does: the current user
//! (GLO:ID_UZYTKOWNIKA), and a warning when it fails — `lockedMessage` when another user
//! holds the record, else the database's own text. Nothing throws.
//!
//! Holds no state beyond its two texts: any thread may use its own copy or a shared one.
class RecordSemaphore {
 public:
  //! `table` is the dictionary's name as the stored procedures know it ("banki");
  //! `lockedMessage` the dictionary's warning ("Bank jest aktualizowany przez innego
  //! użytkownika!").
  RecordSemaphore(std::string table, std::string lockedMessage);

  std::string takeStatement(double id, double user) const;
  std::string releaseStatement(double id, double user) const;
  std::string removeStatement(double id, double user) const;

  LockResult tryTake(double id, double user) const;
  LockResult tryRelease(double id, double user) const;
  LockResult tryRemove(double id, double user) const;

  //! Takes the lock for the current user; false (after the warning) when it can't.
  bool take(double id) const;
  //! Releases the current user's lock and closes the statement; false after a warning.
  bool release(double id) const;
  //! Deletes the record unless another user holds it; false after the warning.
  bool remove(double id) const;

  //! The condition a form adds to its write of the record (backend SQL, '?' values put
  //! in *params): that this window chain still holds the lock it took, so a lock cleared
  //! or taken over meanwhile — also by the same user's other program — keeps the row
  //! from being written, at no cost of its own.
  std::string heldCondition(double id, std::vector<sql::Param>* params) const;
  //! The holder's line of a record's lock ("" when free or unknown). One statement.
  std::string holderOf(double id) const;
  //! Frees another user's lock by hand (administrators only, the database checks it)
  //! and answers the line of the holder it was taken from; false after a warning.
  bool clear(double id, std::string* formerHolder) const;

  const std::string& table() const { return table_; }
  const std::string& lockedMessage() const { return lockedMessage_; }

 private:
  LockResult run(const std::string& statement) const;
  bool warnUnlessDone(const LockResult& result) const;

  std::string table_;
  std::string lockedMessage_;
};

//! The current user as the semaphore knows it (GLO:ID_UZYTKOWNIKA).
double currentUser();

//! Whether this thread's windows hold the lock of a record of `table` (taken through
//! RecordSemaphore::take and not yet released).
bool isHeldOnThisThread(const std::string& table, double id);

//! Who holds a row's lock, from its SEMAFOR value, as seen by `user`.
enum class LockHolder { Nobody, CurrentUser, OtherUser };
LockHolder lockHolder(double semafor, double user);

//! The four colours of a list cell: text, background, selected text, selected background
//! (rt::kNoColor = the list's own).
struct CellColours {
  long text;
  long back;
  long selectedText;
  long selectedBack;
  bool operator==(const CellColours&) const = default;
};
//! Rows locked by another user are blue (selected: a lighter blue), rows the user holds
//! red; free rows keep the list's colours.
CellColours semaphoreColours(LockHolder holder);

//! Colours the chosen columns of list rows by their lock. Columns are counted from 1 in
//! list order and must carry cell colours ('*' in the list format); others are ignored.
//! Used by a list's setQueueRecord on its procedure thread.
class SemaphoreRowColours {
 public:
  //! Reads where each column keeps its colours; false when the format can't be read.
  bool init(const std::string& listFormat, std::vector<int> columns);
  //! Every '*' column of the format gets the colours: the chosen ones by the lock,
  //! the others the list's own.
  void apply(fw::ListRow& row, double semafor, double user) const;

 private:
  std::vector<int> colouredColumns_;  // colour fields of the chosen columns
  std::vector<int> plainColumns_;     // colour fields of the other '*' columns
};

}  // namespace slownik::engine
