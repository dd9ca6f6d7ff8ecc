#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/result.h"
#include "framework/sql/table_def.h"

namespace slownik::data {

class RecordBuffer;

//! A handle on one field of a record buffer. Invalid (isValid() false) when the name
//! was not found; reading an invalid field gives "" or 0 and writing it does nothing,
//! so a misspelt name never crashes a window.
class Field {
 public:
  Field() = default;
  Field(RecordBuffer* buffer, int index) : buffer_(buffer), index_(index) {}

  bool isValid() const { return buffer_ != nullptr && index_ >= 0; }
  const sql::ColumnDef* column() const;
  //! "BAN:NAZWA".
  std::string name() const;

  //! Text fields: the text; decimals: canonical text ("12.50"); numbers: plain decimal
  //! ("12", "1.5"); blobs: the bytes.
  std::string text() const;
  //! Numeric value; text and decimals are read as numbers (not a number: 0).
  double number() const;
  long long integer() const;

  //! Text is cut to the field's width in characters; numbers are parsed; decimals
  //! are rounded to their scale.
  void set(std::string_view value);
  void set(const char* value) { set(std::string_view(value)); }
  void set(double value);
  void set(long long value) { set(static_cast<double>(value)); }
  void set(int value) { set(static_cast<double>(value)); }
  void clear();

 private:
  RecordBuffer* buffer_ = nullptr;
  int index_ = -1;
};

//! The record buffer of one table: one value per catalogue column, never NULL
//! (a cleared text is "", a cleared number 0). Copyable: a form keeps a history copy
//! and a saved key this way. Not thread-safe; each thread has its own (table_buffers.h).
class RecordBuffer {
 public:
  explicit RecordBuffer(const sql::TableDef& table);

  const sql::TableDef& table() const { return *table_; }
  std::size_t size() const { return values_.size(); }
  //! Position of a field named "PRE:NAME" (this table's prefix) or "NAME", ignoring
  //! letter case; -1 when absent.
  int indexOf(std::string_view name) const;
  Field field(std::string_view name) { return Field(this, indexOf(name)); }
  Field field(std::size_t index) { return Field(this, index < size() ? static_cast<int>(index) : -1); }

  void clear();
  //! Field-by-field comparison in catalogue order: <0, 0, >0.
  int compare(const RecordBuffer& other) const;
  bool operator==(const RecordBuffer& other) const { return compare(other) == 0; }

  //! The field's value as a bound statement parameter.
  sql::Param param(std::size_t index) const;
  //! Takes a value read from the database (NULL clears the field).
  void load(std::size_t index, const sql::Cell& cell);

 private:
  friend class Field;
  struct Value {
    std::string text;   // Text, Memo, Decimal (canonical), Blob
    double number = 0;  // every numeric kind
  };
  void assignText(std::size_t index, std::string_view value);
  void assignNumber(std::size_t index, double value);

  const sql::TableDef* table_;
  std::vector<Value> values_;
};

//! Whether the column holds text (Text, Memo) rather than a number.
bool isTextColumn(const sql::ColumnDef& column);
//! Whether the column holds an integral number (Long, Short, Byte, Id, Date, Time).
bool isIntegralColumn(const sql::ColumnDef& column);

}  // namespace slownik::data
