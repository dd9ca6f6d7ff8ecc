// TK_CzyNazwaJestUnikalna(company, name, own id, table): fails with a readable text
// when another record of the table, in the same company, already has the name.
// Neither trailing blanks (fixed-width fields pad with them) nor letter case make a
// name different: the lists order names without regard to case, and the unique index
// that backs this check compares the same way.
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/routines/table_lookup.h"

namespace slownik::sql {
namespace {

Status checkNameIsUnique(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_CzyNazwaJestUnikalna", argv);
  if (Status s = args.require(4); !s) return s;
  long long company = 0, ownId = 0;
  if (Status s = args.integer(0, &company); !s) return s;
  if (Status s = args.integer(2, &ownId); !s) return s;
  std::string tableName = args.text(3);
  const TableDef* table = findStoredTable(tableName);
  std::string idColumn = table ? rowIdColumn(*table) : "";
  if (!table || !table->column("NAZWA") || idColumn.empty())
    return args.failure("kartoteka \"" + tableName + "\" nie ma nazw do sprawdzenia");
  std::string name = args.trimmedText(1);
  std::string sql = "SELECT COUNT(*) FROM " + table->name + " WHERE UPPER(RTRIM(NAZWA)) = UPPER(?) AND " + idColumn + " <> ?";
  std::vector<Param> params = {name, ownId};
  if (table->column("ID_FIRMY")) {
    sql += " AND ID_FIRMY = ?";
    params.emplace_back(company);
  }
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  if (r.scalar() != "0")
    return Status::failure("Nazwa \"" + name + "\" jest już używana przez inny zapis tej kartoteki.|Proszę wprowadzić inną nazwę.");
  return {};
}

}  // namespace

void registerNameUniquenessRoutines(RoutineRegistry& registry) {
  registry.add("TK_CzyNazwaJestUnikalna", checkNameIsUnique, RoutineRegistry::Access::ReadsOnly);
}

}  // namespace slownik::sql
