#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/file_manager.h"

namespace slownik::data {

//! A table together with the tables related to it (relations.h): opening and
//! closing them together, and deleting a row under the referential rules.
//! One per thread per table (relationManager()); not thread-safe.
class RelationManager {
 public:
  explicit RelationManager(const sql::TableDef& table);

  const sql::TableDef& table() const { return *table_; }
  FileManager& file() const { return fileManager(*table_); }

  //! Whether open() opens the related tables' file managers too (it does by default).
  void setOpenRelated(bool on = true) { openRelated_ = on; }
  bool opensRelated() const { return openRelated_; }

  //! Counted: the first open() opens the table's file manager (and, when set, those of
  //! the related tables known to this database); the last close() closes what was opened.
  int open();
  int close();
  int openCount() const { return openCount_; }

  //! Deletes the row with the buffer's primary key in one transaction: rows of
  //! cascading relations go with it, clearing relations have their columns cleared,
  //! and a restricting relation with rows refuses the whole delete with a Polish text.
  int remove();
  //! Deletes the rows of `table` that `where` finds, under the same rules, inside the
  //! caller's transaction (depth 0: none found is an error). 0 or a FileError.
  int removeRows(sql::Database& db, const sql::TableDef& table, const std::string& where,
                 const std::vector<sql::Param>& params, int depth);

 private:
  const sql::TableDef* table_;
  bool openRelated_ = true;
  int openCount_ = 0;
  std::vector<const sql::TableDef*> openedRelated_;
};

//! The calling thread's relation manager of a table.
RelationManager& relationManager(const sql::TableDef& table);
//! By table name or prefix; nullptr when unknown.
RelationManager* relationManager(std::string_view nameOrPrefix);

}  // namespace slownik::data
