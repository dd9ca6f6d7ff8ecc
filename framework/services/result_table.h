#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/result.h"

namespace slownik::svc {

//! The rows of the last statement run into a result table (VAX or VAX2), read one
//! by one as the module reads a file: next() fills the record buffer with the next
//! row, whose fields C1, C2, … are the statement's columns in select-list order.
//! Each procedure thread has its own two tables (see VAX(), VAX2()); not shared.
class ResultTable {
 public:
  //! Takes the rows of a statement; the buffer is empty until the first next().
  void load(sql::Result rows);
  //! Moves to the next row; false (and an empty buffer) when no row is left.
  bool next();
  //! Forgets the rows and empties the buffer.
  void close();

  bool isOpen() const { return open_; }
  std::size_t rowCount() const { return rows_.rows.size(); }
  const std::vector<std::string>& columnNames() const { return rows_.columns; }
  std::size_t columnCount() const { return rows_.columns.size(); }
  //! Field n of the buffer, counted from 1 as the buffer's fields C1, C2, … are;
  //! "" for NULL, for a field the row does not have and when no row is current.
  std::string field(std::size_t n) const;
  //! Field of the buffer by its column name in the statement, ignoring case.
  std::string field(std::string_view column) const;

 private:
  sql::Result rows_;
  std::size_t next_ = 0;
  bool open_ = false;
  bool current_ = false;
};

//! This thread's result table VAX (EXECSQL and friends) and VAX2 (ESQL2).
ResultTable& VAX();
ResultTable& VAX2();

}  // namespace slownik::svc
