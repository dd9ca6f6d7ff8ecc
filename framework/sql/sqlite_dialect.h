#pragma once
#include "framework/sql/dialect.h"

namespace slownik::sql {

class SqliteDialect final : public Dialect {
 public:
  Backend backend() const override { return Backend::Sqlite; }
  std::string translate(std::string_view moduleSql) const override;
  std::string columnType(const ColumnDef& column) const override;
  std::string placeholder(int) const override { return "?"; }
};

}  // namespace slownik::sql
