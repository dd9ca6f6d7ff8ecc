#pragma once
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/sql/table_def.h"

namespace slownik::sql {

//! Compact, readable table definitions:
//!   table("BANKI", "BAN").id("ID_BANKU").text("NAZWA", 50).key("BAN:KEY_ID", {"ID_BANKU"}, Primary)
class TableBuilder {
 public:
  enum KeyKind { Primary, Unique, Plain, NoCase };

  TableBuilder(std::string name, std::string prefix) {
    def_.name = std::move(name);
    def_.prefix = std::move(prefix);
  }

  //! The row id, primed with a new value on insert; NOT NULL.
  TableBuilder& id(std::string name) {
    def_.idColumn = name;
    return add(std::move(name), ColumnType::Id, 0, 0, false);
  }
  TableBuilder& ref(std::string name) { return add(std::move(name), ColumnType::Id); }  //!< id of another row
  TableBuilder& text(std::string name, int size) { return add(std::move(name), ColumnType::Text, size); }
  TableBuilder& memo(std::string name) { return add(std::move(name), ColumnType::Memo); }
  TableBuilder& longint(std::string name) { return add(std::move(name), ColumnType::Long); }
  TableBuilder& shortint(std::string name) { return add(std::move(name), ColumnType::Short); }
  TableBuilder& byte(std::string name) { return add(std::move(name), ColumnType::Byte); }
  TableBuilder& real(std::string name) { return add(std::move(name), ColumnType::Real); }
  TableBuilder& decimal(std::string name, int digits, int scale) {
    return add(std::move(name), ColumnType::Decimal, digits, scale);
  }
  TableBuilder& date(std::string name) { return add(std::move(name), ColumnType::Date); }
  TableBuilder& time(std::string name) { return add(std::move(name), ColumnType::Time); }
  TableBuilder& blob(std::string name) { return add(std::move(name), ColumnType::Blob); }
  //! Every column of another table, in its order: the columns of a view that shows
  //! that table under a second name (a second record buffer over the same rows).
  TableBuilder& columnsOf(const TableDef& other) {
    for (const auto& c : other.columns) def_.columns.push_back(c);
    return *this;
  }
  //! A decimal with no places that holds an id (a few tables keep contractor ids so).
  TableBuilder& decimalId(std::string name, int digits = 10) { return decimal(std::move(name), digits, 0); }
  //! Names the column primed with a new id on insert where it is not an id() column
  //! (a few tables number their rows with a 32-bit integer).
  TableBuilder& idColumn(std::string name) {
    def_.idColumn = std::move(name);
    return *this;
  }
  //! The last column added is an id the database hands out on insert.
  TableBuilder& generated() {
    def_.columns.back().generated = true;
    return *this;
  }
  //! The last column added may not be NULL.
  TableBuilder& notNull() {
    def_.columns.back().nullable = false;
    return *this;
  }
  //! The last column added arrives with migration n.
  TableBuilder& since(int n) {
    def_.columns.back().since = n;
    return *this;
  }
  TableBuilder& tableSince(int n) {
    def_.since = n;
    return *this;
  }
  TableBuilder& view() {
    def_.isView = true;
    return *this;
  }
  //! A key; components may start with "-" for descending order.
  TableBuilder& key(std::string name, std::initializer_list<const char*> components, KeyKind kind = Plain) {
    KeyDef k;
    k.name = std::move(name);
    for (const char* c : components) {
      std::string s(c);
      bool desc = !s.empty() && s[0] == '-';
      k.components.push_back({desc ? s.substr(1) : s, desc});
    }
    k.primary = kind == Primary;
    k.unique = kind == Primary || kind == Unique;
    k.caseInsensitive = kind == NoCase;
    def_.keys.push_back(std::move(k));
    return *this;
  }

  TableDef build() { return std::move(def_); }
  operator TableDef() { return build(); }

 private:
  TableBuilder& add(std::string name, ColumnType type, int size = 0, int scale = 0, bool nullable = true) {
    def_.columns.push_back({std::move(name), type, size, scale, nullable, 1});
    return *this;
  }
  TableDef def_;
};

inline TableBuilder table(std::string name, std::string prefix) {
  return TableBuilder(std::move(name), std::move(prefix));
}

}  // namespace slownik::sql
