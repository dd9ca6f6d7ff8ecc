#pragma once
#include "framework/sql/dialect.h"
#include "framework/sql/table_def.h"
#include "framework/sql/tsql/text_columns.h"

namespace slownik::sql {

class SqliteDialect final : public Dialect {
 public:
  Backend backend() const override { return Backend::Sqlite; }
  std::string translate(std::string_view moduleSql) const override;
  //! The same, with the knowledge of text columns given (tests use their own tables).
  std::string translate(std::string_view moduleSql, const tsql::TextColumns& columns) const;
  std::string generatedIdColumn(const ColumnDef& column) const override {
    return column.name + " INTEGER PRIMARY KEY";  // the row number: SQLite numbers it
  }
  std::string columnType(const ColumnDef& column) const override;
  std::string collationSetup() const override { return {}; }
  std::string placeholder(int) const override { return "?"; }
  //! BEGIN IMMEDIATE takes the database's write lock before anything is read.
  std::string idLockStatement(std::string_view) const override { return {}; }
};

}  // namespace slownik::sql
