#include "framework/sql/schema.h"

namespace slownik::sql {

// Statements that the catalogue cannot derive: SQL functions of the server,
// views, data fixes. Keep them in migration order.
const std::vector<MigrationExtra>& migrationExtras() {
  static const std::vector<MigrationExtra> extras = {};
  return extras;
}

}  // namespace slownik::sql
