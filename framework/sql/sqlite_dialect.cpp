#include "framework/sql/sqlite_dialect.h"

#include "framework/sql/collation.h"
#include "framework/sql/table_def.h"
#include "framework/sql/tsql/backend_spelling.h"
#include "framework/sql/tsql/translator.h"

namespace slownik::sql {

namespace {

// SQLite keeps date/times as text "YYYY-MM-DD HH:MM:SS".
class SqliteSpelling final : public tsql::BackendSpelling {
 public:
  std::string trimmedLength(const std::string& x) const override { return "length(rtrim(" + x + "))"; }
  std::string daysSince1900(const std::string& x) const override {
    return "datetime(julianday('1900-01-01') + (" + x + "))";
  }
  std::string textAsDateTime(const std::string& x) const override { return "datetime(" + x + ")"; }
  std::string currentDateTime() const override { return "datetime('now','localtime')"; }
};

}  // namespace

std::string SqliteDialect::translate(std::string_view moduleSql) const {
  return translate(moduleSql, tsql::catalogueTextColumns());
}

std::string SqliteDialect::translate(std::string_view moduleSql, const tsql::TextColumns& columns) const {
  static const SqliteSpelling spelling;
  return tsql::translate(moduleSql, spelling, columns);
}

std::string SqliteDialect::columnType(const ColumnDef& c) const {
  switch (c.type) {
    case ColumnType::Text: return "VARCHAR(" + std::to_string(c.size) + ")" + collateClause();
    case ColumnType::Memo: return "TEXT" + collateClause();
    // Never the exact spelling "INTEGER": a one-column INTEGER primary key would become
    // SQLite's row number and hand out ids by itself, which PostgreSQL never does.
    case ColumnType::Long:
    case ColumnType::Short:
    case ColumnType::Byte:
    case ColumnType::Date:
    case ColumnType::Time: return "INT";
    case ColumnType::Id: return "BIGINT";
    case ColumnType::Real: return "REAL";
    case ColumnType::Decimal: return "NUMERIC(" + std::to_string(c.size) + "," + std::to_string(c.scale) + ")";
    case ColumnType::Blob: return "BLOB";
  }
  return "TEXT";
}

}  // namespace slownik::sql
