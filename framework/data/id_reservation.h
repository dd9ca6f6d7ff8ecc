#pragma once
// An id set aside for a row that is still being made. A form whose child lists write
// rows before the form itself is saved (a new tax office's bank accounts, the periods of
// a new interest table) reserves its row's id first: the child rows are written under
// that id, no other user's insert takes it meanwhile, and the row is later inserted with
// exactly that id. Given up, the child rows go with the reservation; left behind by a
// program that ended, they are removed by the next program that reserves an id of the
// same table. Until then they are under an id no row has, so no list shows them.
#include <string>

#include "framework/sql/database.h"
#include "framework/sql/table_def.h"

namespace slownik::data {

class IdReservation {
 public:
  explicit IdReservation(const sql::TableDef& table) : table_(&table) {}

  //! Sets aside the table's next free id (past every row and every other reservation),
  //! after cleaning up what ended programs left. 0, else a FileError with errorText().
  int reserve(sql::Database& db);
  double id() const { return id_; }
  bool isHeld() const { return id_ > 0; }
  //! The row was inserted with id(): the reservation is no longer needed.
  int release(sql::Database& db);
  //! The row will not be made: the rows of the table's owned (cascading) children written
  //! under id() are deleted together with the reservation, in one transaction.
  int abandon(sql::Database& db);

  const std::string& errorText() const { return errorText_; }

 private:
  int fail(int code, std::string text);

  const sql::TableDef* table_;
  double id_ = 0;
  std::string errorText_;
};

//! What identifies this program among the holders of reservations.
std::string reservationOwner();
//! Whether the program named by reservationOwner() text has ended. Only programs of
//! this workstation can be told; others count as running.
bool hasOwnerEnded(const std::string& owner);
//! Removes the reservations of `table` whose programs have ended, with their child rows
//! (unless the row was made after all: then only the reservation goes). 0 or a FileError.
int cleanUpReservations(sql::Database& db, const sql::TableDef& table, std::string* error = nullptr);

//! The next free id of a table as one statement: past its rows and its reservations.
std::string nextIdStatement(const sql::TableDef& table);

}  // namespace slownik::data
