#include "framework/sql/table_def.h"

#include "framework/sql/text.h"

namespace slownik::sql {

int TableDef::columnIndex(std::string_view name) const {
  // "BAN:NAZWA" and "NAZWA" name the same column.
  if (auto colon = name.rfind(':'); colon != std::string_view::npos) name = name.substr(colon + 1);
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (equalsIgnoreCase(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

const ColumnDef* TableDef::column(std::string_view name) const {
  int i = columnIndex(name);
  return i < 0 ? nullptr : &columns[static_cast<std::size_t>(i)];
}

const KeyDef* TableDef::primaryKey() const {
  for (const auto& k : keys)
    if (k.primary) return &k;
  return nullptr;
}

const KeyDef* TableDef::key(std::string_view name) const {
  for (const auto& k : keys)
    if (equalsIgnoreCase(k.name, name)) return &k;
  return nullptr;
}

}  // namespace slownik::sql
