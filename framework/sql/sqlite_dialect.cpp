#include "framework/sql/sqlite_dialect.h"

#include "framework/sql/table_def.h"

namespace slownik::sql {

// FIXME: translation of the T-SQL idioms; until then statements pass unchanged.
std::string SqliteDialect::translate(std::string_view moduleSql) const { return std::string(moduleSql); }

std::string SqliteDialect::columnType(const ColumnDef& c) const {
  switch (c.type) {
    case ColumnType::Text: return "VARCHAR(" + std::to_string(c.size) + ")";
    case ColumnType::Memo: return "TEXT";
    case ColumnType::Long:
    case ColumnType::Short:
    case ColumnType::Byte:
    case ColumnType::Id:
    case ColumnType::Date:
    case ColumnType::Time: return "INTEGER";
    case ColumnType::Real: return "REAL";
    case ColumnType::Decimal: return "NUMERIC(" + std::to_string(c.size) + "," + std::to_string(c.scale) + ")";
    case ColumnType::Blob: return "BLOB";
  }
  return "TEXT";
}

}  // namespace slownik::sql
