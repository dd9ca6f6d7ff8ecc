#include <sqlite3.h>

#include "framework/sql/sqlite_database.h"

namespace slownik::sql {

// Stored scalar functions used inside statements, registered on every SQLite connection.
void registerSqliteRoutineFunctions(sqlite3* /*db*/) {}

}  // namespace slownik::sql
