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
//! and runs the extra statements registered for n. Applied numbers are kept in
//! the table SCHEMA_MIGRATIONS; each migration runs in its own transaction.
Status migrate(Database& db);

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

}  // namespace slownik::sql
