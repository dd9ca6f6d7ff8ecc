#include <algorithm>

#include "framework/sql/schema.h"

namespace slownik::sql {

const std::vector<MigrationExtra>& migrationExtras() {
  static const std::vector<MigrationExtra> extras = [] {
    std::vector<MigrationExtra> all = catalogueMigrationExtras();
    for (auto& e : routineMigrationExtras()) all.push_back(std::move(e));
    // Same number: catalogue first (routines may read its views), as listed.
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return all;
  }();
  return extras;
}

const std::vector<MigrationStep>& migrationSteps() {
  static const std::vector<MigrationStep> steps = {{kPolishOrderMigration, convertToPolishOrder}};
  return steps;
}

}  // namespace slownik::sql
