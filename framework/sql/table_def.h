#pragma once
#include <string>
#include <vector>

namespace slownik::sql {

//! Kinds of record-buffer fields and how each is stored.
enum class ColumnType {
  Text,     //!< fixed width in characters (size); VARCHAR(size)
  Long,     //!< 32-bit integer
  Short,    //!< 16-bit integer
  Byte,     //!< 0..255
  Id,       //!< row id: held as a 64-bit float with integral value, stored as BIGINT
  Real,     //!< 64-bit floating point
  Decimal,  //!< exact fixed point: size digits, scale after the point
  Date,     //!< day number (36163 = 1 January 1900), stored as an integer
  Time,     //!< runtime time value (centiseconds since midnight + 1), stored as an integer
  Blob,     //!< bytes
  Memo,     //!< text without a fixed width
};

struct ColumnDef {
  std::string name;  //!< SQL column name, upper case
  ColumnType type = ColumnType::Text;
  int size = 0;      //!< characters for Text, digits for Decimal
  int scale = 0;     //!< digits after the point for Decimal
  bool nullable = true;
  int since = 1;     //!< migration that adds the column
  bool generated = false;  //!< an id the database hands out on insert (the table's sole key)
};

struct KeyComponent {
  std::string column;
  bool descending = false;
};

struct KeyDef {
  std::string name;  //!< as the framework names it: "BAN:KEY_ID"
  std::vector<KeyComponent> components;
  bool unique = false;
  bool primary = false;
  bool caseInsensitive = false;  //!< text components compared through UPPER()
};

//! One table of the catalogue: the source of its DDL, record buffer, keys and views.
struct TableDef {
  std::string name;    //!< SQL name, upper case: "BANKI"
  std::string prefix;  //!< record prefix: "BAN"
  std::vector<ColumnDef> columns;
  std::vector<KeyDef> keys;  //!< the primary key first
  std::string idColumn;      //!< column primed with a new id on insert, if any
  bool isView = false;       //!< a view or result table: no DDL of its own
  int since = 1;             //!< migration that creates the table

  const ColumnDef* column(std::string_view name) const;
  int columnIndex(std::string_view name) const;
  const KeyDef* primaryKey() const;
  const KeyDef* key(std::string_view name) const;
};

}  // namespace slownik::sql
