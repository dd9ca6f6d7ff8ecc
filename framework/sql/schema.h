#pragma once
#include <string>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/table_def.h"

namespace slownik::sql {

//! DDL of one table in the connection's dialect: CREATE TABLE and its indexes.
std::vector<std::string> createTableStatements(const Dialect& dialect, const TableDef& table);

//! Brings the schema to the catalogue's latest migration. Migration n creates the
//! tables whose `since` is n, adds the columns whose `since` is n to older tables,
//! runs the extra statements registered for n and creates the unique indexes of n.
//! Applied numbers are kept in the table SCHEMA_MIGRATIONS; each migration runs in
//! its own transaction.
//! `target` stops at that migration (an older schema, for upgrade tests); 0 = the latest.
Status migrate(Database& db, int target = 0);

//! Current schema version (0 for an empty database).
int schemaVersion(Database& db);

//! Extra statements of migration n per backend (functions, views, data fixes),
//! in addition to the tables and columns that the catalogue derives.
struct MigrationExtra {
  int number;
  Backend backend;
  std::string sql;  //!< a script: statements separated by ';'
};
const std::vector<MigrationExtra>& migrationExtras();
//! The extras by their owners: views and data of the catalogue, server-side routines.
std::vector<MigrationExtra> catalogueMigrationExtras();
std::vector<MigrationExtra> routineMigrationExtras();

//! A uniqueness that a form checks before saving, kept by the database as well, so
//! that two users saving at the same moment cannot both get through the check.
struct UniqueIndex {
  int number;                        //!< migration that creates it
  std::string table;                 //!< SQL name of the table
  std::string name;                  //!< name of the index
  std::vector<std::string> columns;  //!< SQL expressions, compared as the form's check compares
  std::string where;                 //!< rows the rule covers ("" = every row)
};
const std::vector<UniqueIndex>& uniqueIndexes();

//! Creates `index`. Rows that already break the rule are left as they are: each group
//! of them is written to the log and left out of the index, so that every other value
//! is unique from now on. Used by migrate(); a failure is the database's text.
Status createUniqueIndex(Database& db, const UniqueIndex& index);

}  // namespace slownik::sql
