#include "framework/sql/schema.h"

namespace slownik::sql {

// Server-side functions that statements call inside SQL (PostgreSQL side).
std::vector<MigrationExtra> routineMigrationExtras() { return {}; }

}  // namespace slownik::sql
