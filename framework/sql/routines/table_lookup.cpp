#include "framework/sql/routines/table_lookup.h"

#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::sql {

const TableDef* findStoredTable(std::string_view name) {
  // By name only: Catalogue::find also accepts record prefixes, which a caller's
  // table argument must never match.
  for (const auto& t : Catalogue::instance().tables())
    if (!t.isView && equalsIgnoreCase(t.name, name)) return &t;
  return nullptr;
}

std::string rowIdColumn(const TableDef& table) {
  if (!table.idColumn.empty()) return table.idColumn;
  const KeyDef* pk = table.primaryKey();
  if (pk && pk->components.size() == 1) return pk->components.front().column;
  return {};
}

}  // namespace slownik::sql
