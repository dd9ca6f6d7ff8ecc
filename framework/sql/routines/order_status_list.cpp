// TKB_IntS_RM_TKBM_DocStatusListInit(): the order statuses were changed; every program
// that keeps them in memory reads them again. The routine moves the list's version on,
// and a program compares the version it read with it before it hands the list out.
#include "framework/sql/routines/order_status_list.h"

#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

Status rebuildStatusList(Database& db, const std::vector<Cell>&, Result*) {
  const std::string list(kOrderStatusListName);
  if (Status s = db.execute("INSERT INTO WERSJA_LISTY (NAZWA, WERSJA) SELECT ?, 0 WHERE NOT EXISTS "
                            "(SELECT 1 FROM WERSJA_LISTY WHERE NAZWA = ?)",
                            std::vector<Param>{list, list}, nullptr);
      !s)
    return s;
  return db.execute("UPDATE WERSJA_LISTY SET WERSJA = WERSJA + 1 WHERE NAZWA = ?", std::vector<Param>{list}, nullptr);
}

}  // namespace

void registerOrderStatusRoutines(RoutineRegistry& registry) {
  registry.add("TKB_IntS_RM_TKBM_DocStatusListInit", rebuildStatusList);
}

}  // namespace slownik::sql
