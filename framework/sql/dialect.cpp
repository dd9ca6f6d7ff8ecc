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

}  // namespace slownik::sql
