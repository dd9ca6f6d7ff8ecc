#pragma once
#include "framework/sql/dialect.h"

namespace slownik::sql {

class PostgresDialect final : public Dialect {
 public:
  Backend backend() const override { return Backend::Postgres; }
  std::string translate(std::string_view moduleSql) const override;
  std::string columnType(const ColumnDef& column) const override;
  std::string placeholder(int n) const override { return "$" + std::to_string(n); }
};

}  // namespace slownik::sql
