#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/error_handler.h"
#include "framework/data/file_errors.h"
#include "framework/data/record_buffer.h"

namespace slownik::data {

//! Reads and writes one table's rows through the calling thread's record buffer.
//! One per thread per table (fileManager()); not thread-safe. Every operation returns
//! 0 on success, else a FileError code with a Polish text in errorText(), also set as
//! the thread's runtime error (rt::errorCode()/rt::errorText()). Values always travel
//! as bound parameters.
class FileManager {
 public:
  explicit FileManager(const sql::TableDef& table);

  const sql::TableDef& table() const { return *table_; }
  RecordBuffer& record() const;

  //! The error handler told of database failures and refused writes (not owned; may be null).
  void setErrors(ErrorHandler* errors) { errors_ = errors; }
  ErrorHandler* errors() const { return errors_; }

  //! Opening counts: the table is open while the count is above zero.
  void open() { ++openCount_; }
  void close() {
    if (openCount_ > 0) --openCount_;
  }
  bool isOpen() const { return openCount_ > 0; }
  int openCount() const { return openCount_; }

  //! Reads the first row whose key components equal the buffer's values into the
  //! buffer; not found leaves the buffer as it was.
  int fetch(const sql::KeyDef& key);
  int fetch(std::string_view keyName);
  //! Clears the buffer and gives the id column the next free id (past the rows and the
  //! reserved ids). The id is taken again inside insert()'s transaction if another user
  //! took it meanwhile.
  int primeRecord();
  //! Inserts the buffer as a new row.
  int insert();
  //! The id in the buffer is the caller's (a reserved one): insert() writes it as it is.
  void keepIdAsSet() { primedId_ = 0; }
  //! Writes the buffer over the row with the buffer's primary key, or, after
  //! setKeyAsRead, over the row with the key the record had when it was read: a form
  //! that changed a key field (a country's symbol) then writes its own row, key included.
  int update();
  //! The key of the record as it was read (the form's saved copy of it). Kept until
  //! forgetKeyAsRead or the next fetch, priming, insert or delete, so that a key from
  //! an earlier record is never used for another one; after a successful update it is
  //! the row's new key.
  void setKeyAsRead(const RecordBuffer& asRead);
  //! As setKeyAsRead, and update() and remove() also require the row to be still as it
  //! was read: a row another user changed meanwhile gives kRecordChanged ("Rekord został
  //! zmieniony przez innego użytkownika."), one deleted meanwhile kRecordNotFound ("Rekord
  //! został usunięty przez innego użytkownika."), and nothing is written. The check is part
  //! of the statement's own condition, so a row nobody touched costs nothing extra.
  //! Columns of the record lock (SEMAFOR…) are left out: the lock changes them by itself.
  void setRowAsRead(const RecordBuffer& asRead);
  void forgetKeyAsRead() {
    keyAsRead_.clear();
    rowAsRead_.clear();
    writeCondition_.clear();
    writeConditionParams_.clear();
  }
  //! After setRowAsRead: a condition (backend SQL over the table's own columns, '?' for
  //! the values) the row must also meet to be written — that the record's lock is still
  //! the writer's. Part of the statement's own WHERE, so it costs no round trip; a row it
  //! keeps from being written gives kLockLost. Forgotten with the key as read.
  void setWriteCondition(std::string condition, std::vector<sql::Param> params);
  bool hasKeyAsRead() const { return !keyAsRead_.empty(); }
  //! Deletes the row with the buffer's primary key, or, after setKeyAsRead/setRowAsRead,
  //! the row the record was read from (whatever the buffer holds now).
  int remove();

  //! The condition that finds the row to write or delete ("ID = ?", plus the row-as-read
  //! comparison after setRowAsRead), with its values.
  std::string rowCondition(std::vector<sql::Param>& params) const;
  //! The primary key of the row to write: as read, else the buffer's.
  std::vector<sql::Param> rowKey() const;
  //! Called when a write by rowCondition() touched no row: tells changed from deleted,
  //! sets the error and returns its code.
  int missedRow(sql::Database& db);

  int errorCode() const { return errorCode_; }
  const std::string& errorText() const { return errorText_; }

  // Shared with the relation manager, which deletes through the same rules.
  int fail(int code, std::string text);
  int succeed();

 private:
  int insertOnce(sql::Database& db, bool takeId, bool* retry);
  std::string conflictingKey(sql::Database& db);

  const sql::TableDef* table_;
  ErrorHandler* errors_ = nullptr;
  int openCount_ = 0;
  std::vector<sql::Param> keyAsRead_;  // empty = find the row by the buffer's own key
  std::vector<sql::Param> rowAsRead_;  // the compared columns as read; empty = no check
  std::string writeCondition_;         // "" = none
  std::vector<sql::Param> writeConditionParams_;
  double primedId_ = 0;  // id given by primeRecord(), 0 when none
  int errorCode_ = 0;
  std::string errorText_;
};

//! The calling thread's file manager of a table.
FileManager& fileManager(const sql::TableDef& table);
//! By table name or prefix; nullptr when unknown.
FileManager* fileManager(std::string_view nameOrPrefix);

}  // namespace slownik::data
