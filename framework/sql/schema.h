#pragma once
#include <string>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/table_def.h"

namespace slownik::sql {

//! DDL of one table in the connection's dialect: what the table's text columns need
//! first (the collation), CREATE TABLE and its indexes.
std::vector<std::string> createTableStatements(const Dialect& dialect, const TableDef& table);
//! The column definitions (and primary key) of a table as it stands at migration `version`.
std::string tableColumnsSql(const Dialect& dialect, const TableDef& table, int version);
//! The name of a key's index: "BANKI_BAN_AK_NAZWA".
std::string indexName(const TableDef& table, const KeyDef& key);
//! CREATE INDEX of each key of the table other than the primary one.
std::vector<std::string> indexStatements(const Dialect& dialect, const TableDef& table);

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

//! Work of migration n that depends on what the database holds and so cannot be a
//! fixed script; it runs after the tables, columns and extras of n, in its transaction.
struct MigrationStep {
  int number;
  Status (*run)(Database& db, int number);
};
const std::vector<MigrationStep>& migrationSteps();

//! The migration that moves the text columns and their indexes of an older database to
//! the Polish collation (collation.h).
inline constexpr int kPolishOrderMigration = 9;
Status convertToPolishOrder(Database& db, int number);

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
