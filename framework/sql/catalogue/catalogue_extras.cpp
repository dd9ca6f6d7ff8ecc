#include "framework/sql/schema.h"

namespace slownik::sql {

// Views and fixed data that the table definitions cannot express.
std::vector<MigrationExtra> catalogueMigrationExtras() { return {}; }

}  // namespace slownik::sql
