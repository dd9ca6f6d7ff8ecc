#include "framework/sql/postgres_dialect.h"

#include "framework/sql/collation.h"
#include "framework/sql/table_def.h"
#include "framework/sql/text.h"
#include "framework/sql/tsql/backend_spelling.h"
#include "framework/sql/tsql/translator.h"

namespace slownik::sql {

namespace {

class PostgresSpelling final : public tsql::BackendSpelling {
 public:
  // rtrim() takes text only; T-SQL's LEN also measures numbers by their digits.
  std::string trimmedLength(const std::string& x) const override {
    return "length(rtrim(CAST(" + x + " AS text)))";
  }
  std::string daysSince1900(const std::string& x) const override {
    return "(TIMESTAMP '1900-01-01' + (" + x + ") * INTERVAL '1 day')";
  }
  std::string textAsDateTime(const std::string& x) const override { return "CAST(" + x + " AS timestamp)"; }
  std::string currentDateTime() const override { return "LOCALTIMESTAMP"; }
};

}  // namespace

std::string PostgresDialect::translate(std::string_view moduleSql) const {
  return translate(moduleSql, tsql::catalogueTextColumns());
}

std::string PostgresDialect::translate(std::string_view moduleSql, const tsql::TextColumns& columns) const {
  static const PostgresSpelling spelling;
  return tsql::translate(moduleSql, spelling, columns);
}

std::string PostgresDialect::columnType(const ColumnDef& c) const {
  switch (c.type) {
    case ColumnType::Text: return "VARCHAR(" + std::to_string(c.size) + ")" + collateClause();
    case ColumnType::Memo: return "TEXT" + collateClause();
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

// ICU's Polish tailoring, deterministic: LIKE keeps working on the collated columns and
// equal means the same bytes. Letter case is left to the orders that fold it (UPPER()).
std::string PostgresDialect::collationSetup() const {
  return "CREATE COLLATION IF NOT EXISTS " + std::string(kCollationName) + " (provider = icu, locale = 'pl-PL')";
}

std::string PostgresDialect::idLockStatement(std::string_view table) const {
  return "SELECT pg_advisory_xact_lock(hashtext(" + quote(toUpperAscii(table)) + "))";
}

}  // namespace slownik::sql
