#pragma once
#include <string>
#include <string_view>

#include "framework/sql/table_def.h"

namespace slownik::sql {

//! A real table of the catalogue by its SQL name, ignoring letter case; nullptr for
//! unknown names and for views. Routines take table names from their callers and
//! write only names found here into SQL text.
const TableDef* findStoredTable(std::string_view name);

//! The column that identifies one row: the table's id column, else the single column
//! of its primary key; "" when the table has neither.
std::string rowIdColumn(const TableDef& table);

}  // namespace slownik::sql
