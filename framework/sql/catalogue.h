#pragma once
#include <string_view>
#include <vector>

#include "framework/sql/table_def.h"

namespace slownik::sql {

//! Every table the module uses. Built once, read-only afterwards, so any thread may read it.
class Catalogue {
 public:
  static const Catalogue& instance();

  const std::vector<TableDef>& tables() const { return tables_; }
  //! By SQL name or by record prefix, ignoring letter case; nullptr when unknown.
  const TableDef* find(std::string_view nameOrPrefix) const;
  //! Highest migration number any table, column, extra statement or unique index asks for.
  int latestMigration() const;

 private:
  Catalogue();
  std::vector<TableDef> tables_;
};

//! Table definitions, one function per subsystem (framework/sql/catalogue/*.cpp).
void addFrameworkTables(std::vector<TableDef>& tables);
void addTaxCurrencyTables(std::vector<TableDef>& tables);
void addBankingTables(std::vector<TableDef>& tables);
void addCompanyTables(std::vector<TableDef>& tables);
void addDocumentTables(std::vector<TableDef>& tables);
void addSmsTables(std::vector<TableDef>& tables);
//! Tables private to the framework's own services and routines (settings, audit log).
void addServiceTables(std::vector<TableDef>& tables);
void addRoutineTables(std::vector<TableDef>& tables);

}  // namespace slownik::sql
