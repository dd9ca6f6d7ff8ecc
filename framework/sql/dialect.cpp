#include "framework/sql/dialect.h"

#include "framework/sql/postgres_dialect.h"
#include "framework/sql/sqlite_dialect.h"

namespace slownik::sql {

Dialect::~Dialect() = default;

std::unique_ptr<Dialect> Dialect::create(Backend backend) {
  switch (backend) {
    case Backend::Sqlite: return std::make_unique<SqliteDialect>();
    case Backend::Postgres: return std::make_unique<PostgresDialect>();
  }
  return nullptr;
}

Status lockIdAllocation(Database& db, std::string_view table) {
  std::string lock = db.dialect().idLockStatement(table);
  return lock.empty() ? Status{} : db.execute(lock);
}

}  // namespace slownik::sql
