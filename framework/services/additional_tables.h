#pragma once
// Additional tables: tables of rows that a company defines for the records of a kind
// ("Pracownik", "Magazyn", …), up to five named text columns each (TABELA_DODATKOWA),
// with rows per record (TABELA_DODATKOWA_WIERSZ). A list shows its button "Tabele" only
// when SPRAWDZTABELEDODATKOWE finds a table for its kind, and opens TABELE_DODATKOWE for
// the selected record.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/status.h"

namespace slownik::svc {

inline constexpr int kAdditionalColumns = 5;

struct AdditionalTable {
  double id = 0;  //!< 0 = not stored yet
  std::string name;
  std::vector<std::string> columns = std::vector<std::string>(kAdditionalColumns);  //!< "" = column not used
  //! Numbers (1..5) of the columns in use.
  std::vector<int> usedColumns() const;
};

//! The additional tables of `kind` in the current company (GLO:ID_FIRMY), by name;
//! nullopt when they can't be read (the runtime error state says why).
std::optional<std::vector<AdditionalTable>> additionalTables(std::string_view kind);
//! Replaces the tables of `kind` in the current company with `tables`: new ones are
//! added, named ones changed, missing ones deleted with their rows; one transaction.
sql::Status saveAdditionalTables(std::string_view kind, const std::vector<AdditionalTable>& tables);

//! 1 when `kind` has an additional table in the current company, else 0.
int SPRAWDZTABELEDODATKOWE(std::string_view kind);

//! The window "Tabele dodatkowe" of record `recordId` of `kind`: its rows of each table,
//! with add, change and delete. `listSql` is the calling list's query from "FROM" on
//! ("FROM PRACOWNIK A WHERE … ORDER BY …") and `labelColumn` the column it is sorted by
//! ("NR_EWIDENCYJNY"): the window names the record by it and moves to the previous and
//! next record of that list. Runs on the calling thread until the window closes.
void TABELE_DODATKOWE(std::string_view kind, std::string_view listSql, std::string_view labelColumn,
                      double recordId);

//! The administrator's window of the definitions of `kind`'s additional tables; others
//! are told that only the administrator may change them. 1 when something was saved.
int TABELE_DODATKOWE_DEFINICJE(std::string_view kind);

}  // namespace slownik::svc
