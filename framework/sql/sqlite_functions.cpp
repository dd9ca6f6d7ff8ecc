#include <sqlite3.h>

#include "framework/sql/sqlite_database.h"

namespace slownik::sql {

// Functions the translated statements call on SQLite, where it lacks them.
void registerSqliteDialectFunctions(sqlite3* /*db*/) {}

}  // namespace slownik::sql
