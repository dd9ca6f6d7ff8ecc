// Warehouse routines:
//   TK_UsunMagazyn(warehouse, user) removes a warehouse with what hangs on it only, and
//   refuses one that still holds articles;
//   RM_StartSynchro(company, kind, warehouse) with kind 1 gives the warehouse every article
//   that the other warehouses of the company sharing its synchronisation mark hold and it
//   lacks (matched by catalogue index).
#include <string>
#include <vector>

#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

constexpr long long kArticleSynchronisation = 1;

Status countOf(Database& db, const std::string& sql, const std::vector<Param>& params, long long* out) {
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  *out = r.empty() ? 0 : std::stoll(r.scalar().empty() ? "0" : r.scalar());
  return {};
}

Status deleteWarehouse(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_UsunMagazyn", argv);
  if (Status s = args.require(1); !s) return s;
  long long warehouse = 0;
  if (Status s = args.integer(0, &warehouse); !s) return s;
  long long found = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM MAGAZYN WHERE ID_MAGAZYNU = ?", {warehouse}, &found); !s) return s;
  // Gone already (another user deleted it): what the caller asked for holds.
  if (found == 0) return {};
  // Articles carry stock and document history: a warehouse holding any stays, the user
  // has to move or remove them first instead of losing them with the warehouse.
  long long articles = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = ?", {warehouse}, &articles); !s)
    return s;
  if (articles > 0)
    return Status::failure("Magazyn zawiera artykuły (" + std::to_string(articles) +
                           ") - nie można go usunąć.");
  const char* const dependents[] = {"DELETE FROM VEX_A4B_SYSTEMY WHERE ID_MAGAZYNU = ?",
                                    "DELETE FROM NUMERACJA WHERE ID_MAGAZYNU = ?",
                                    "DELETE FROM MAGAZYN WHERE ID_MAGAZYNU = ?"};
  for (const char* sql : dependents) {
    std::vector<Param> params = {warehouse};
    if (Status s = db.execute(sql, params, nullptr); !s) return s;
  }
  return {};
}

Status startSynchronisation(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("RM_StartSynchro", argv);
  if (Status s = args.require(3); !s) return s;
  long long company = 0, kind = 0, warehouse = 0;
  if (Status s = args.integer(0, &company); !s) return s;
  if (Status s = args.integer(1, &kind); !s) return s;
  if (Status s = args.integer(2, &warehouse); !s) return s;
  if (kind != kArticleSynchronisation) return args.failure("nieznany rodzaj synchronizacji " + std::to_string(kind));
  Result mark;
  std::vector<Param> own = {warehouse, company};
  if (Status s = db.execute("SELECT RTRIM(COALESCE(WYROZNIK_SYNCHRONIZACJI, '')) FROM MAGAZYN "
                            "WHERE ID_MAGAZYNU = ? AND ID_FIRMY = ?",
                            own, &mark);
      !s)
    return s;
  // No such warehouse in the company, or one not synchronised: nothing to share.
  if (mark.empty() || mark.scalar().empty()) return {};
  // One source row per catalogue index the warehouse lacks: the oldest article under it.
  Result missing;
  std::vector<Param> params = {company, mark.scalar(), warehouse, warehouse};
  if (Status s = db.execute(
          "SELECT MIN(A.ID_ARTYKULU) FROM ARTYKUL A JOIN MAGAZYN M ON M.ID_MAGAZYNU = A.ID_MAGAZYNU "
          "WHERE M.ID_FIRMY = ? AND RTRIM(M.WYROZNIK_SYNCHRONIZACJI) = ? AND M.ID_MAGAZYNU <> ? "
          "AND NOT EXISTS (SELECT 1 FROM ARTYKUL B WHERE B.ID_MAGAZYNU = ? "
          "AND RTRIM(B.INDEKS_KATALOGOWY) = RTRIM(A.INDEKS_KATALOGOWY)) "
          "GROUP BY RTRIM(A.INDEKS_KATALOGOWY) ORDER BY 1",
          params, &missing);
      !s)
    return s;
  if (missing.empty()) return {};
  long long next = 0;
  if (Status s = countOf(db, "SELECT COALESCE(MAX(ID_ARTYKULU), 0) + 1 FROM ARTYKUL", {}, &next); !s) return s;
  for (std::size_t i = 0; i < missing.size(); ++i) {
    std::vector<Param> copy = {next++, warehouse, std::stoll(missing.text(i, 0))};
    if (Status s = db.execute(
            "INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, ID_KATEGORII, ID_JEDNOSTKI, INDEKS_KATALOGOWY, "
            "INDEKS_HANDLOWY, NAZWA, KOD_VAT, SYM_WALUTY, CENA_ZAKUPU_WAL, CENA_ZAKUPU) "
            "SELECT ?, ?, ID_KATEGORII, ID_JEDNOSTKI, INDEKS_KATALOGOWY, INDEKS_HANDLOWY, NAZWA, KOD_VAT, "
            "SYM_WALUTY, CENA_ZAKUPU_WAL, CENA_ZAKUPU FROM ARTYKUL WHERE ID_ARTYKULU = ?",
            copy, nullptr);
        !s)
      return s;
  }
  return {};
}

}  // namespace

void registerWarehouseRoutines(RoutineRegistry& registry) {
  registry.add("TK_UsunMagazyn", deleteWarehouse);
  registry.add("RM_StartSynchro", startSynchronisation);
}

}  // namespace slownik::sql
