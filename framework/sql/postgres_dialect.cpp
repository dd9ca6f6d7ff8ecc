#include "framework/sql/postgres_dialect.h"

#include "framework/sql/table_def.h"

namespace slownik::sql {

// FIXME: translation of the T-SQL idioms; until then statements pass unchanged.
std::string PostgresDialect::translate(std::string_view moduleSql) const { return std::string(moduleSql); }

std::string PostgresDialect::columnType(const ColumnDef& c) const {
  switch (c.type) {
    case ColumnType::Text: return "VARCHAR(" + std::to_string(c.size) + ")";
    case ColumnType::Memo: return "TEXT";
    case ColumnType::Long: return "INTEGER";
    case ColumnType::Short: return "SMALLINT";
    case ColumnType::Byte: return "SMALLINT";
    case ColumnType::Id: return "BIGINT";
    case ColumnType::Date: return "INTEGER";
    case ColumnType::Time: return "INTEGER";
    case ColumnType::Real: return "DOUBLE PRECISION";
    case ColumnType::Decimal: return "NUMERIC(" + std::to_string(c.size) + "," + std::to_string(c.scale) + ")";
    case ColumnType::Blob: return "BYTEA";
  }
  return "TEXT";
}

}  // namespace slownik::sql
