#include "framework/sql/catalogue.h"

#include <algorithm>

#include "framework/sql/schema.h"
#include "framework/sql/text.h"

namespace slownik::sql {

const Catalogue& Catalogue::instance() {
  static const Catalogue catalogue;
  return catalogue;
}

Catalogue::Catalogue() {
  addFrameworkTables(tables_);
  addTaxCurrencyTables(tables_);
  addBankingTables(tables_);
  addCompanyTables(tables_);
  addDocumentTables(tables_);
  addSmsTables(tables_);
  addServiceTables(tables_);
  addRoutineTables(tables_);
}

const TableDef* Catalogue::find(std::string_view nameOrPrefix) const {
  for (const auto& t : tables_)
    if (equalsIgnoreCase(t.name, nameOrPrefix)) return &t;
  for (const auto& t : tables_)
    if (equalsIgnoreCase(t.prefix, nameOrPrefix)) return &t;
  return nullptr;
}

int Catalogue::latestMigration() const {
  int latest = 1;
  for (const auto& t : tables_) {
    latest = std::max(latest, t.since);
    for (const auto& c : t.columns) latest = std::max(latest, c.since);
  }
  // A migration may consist of statements or indexes alone.
  for (const auto& extra : migrationExtras()) latest = std::max(latest, extra.number);
  for (const auto& index : uniqueIndexes()) latest = std::max(latest, index.number);
  for (const auto& step : migrationSteps()) latest = std::max(latest, step.number);
  return latest;
}

}  // namespace slownik::sql
