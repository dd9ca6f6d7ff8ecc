#pragma once
#include "framework/sql/database.h"
#include "framework/sql/table_def.h"

namespace slownik::test {

//! A table with every kind of field: id, texts (one nullable order column), decimal,
//! numbers, date, blob and memo; keys on id (primary), NUMER (unique), NAZWA (no case)
//! and KOD.
const sql::TableDef& personTable();
//! Parent, child and grandchild tables for the referential rules.
const sql::TableDef& parentTable();
const sql::TableDef& childTable();
const sql::TableDef& grandchildTable();
const sql::TableDef& noteTable();  //!< refers to the parent; cleared on delete

//! Creates the tables in the database; false (with a test failure) when it cannot.
bool createTestTables(sql::Database& db);

}  // namespace slownik::test
