#include "framework/sql/catalogue.h"
#include "framework/sql/catalogue/table_builder.h"

namespace slownik::sql {

void addRoutineTables(std::vector<TableDef>& tables) { (void)tables; }

}  // namespace slownik::sql
