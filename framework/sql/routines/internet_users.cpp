// TK_DodajHaslo_0001_002_HASLO_INTER(contractor id): a new internet user of the
// contractor, active, with an empty password and name, e.g.
// "call TK_DodajHaslo_0001_002_HASLO_INTER(33)". Answers one row: the new user's id.
// The user form creates the row when it opens and fills it in on save.
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

constexpr const char* kRoutine = "TK_DodajHaslo_0001_002_HASLO_INTER";
Status addInternetUser(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args(kRoutine, argv);
  if (Status s = args.require(1); !s) return s;
  long long contractor = 0;
  if (Status s = args.integer(0, &contractor); !s) return s;
  Result owner;
  std::vector<Param> ownerParams = {contractor};
  if (Status s = db.execute("SELECT 1 FROM KONTRAHENT WHERE ID_KONTRAHENTA = ?", ownerParams, &owner); !s) return s;
  // A user of no contractor could never be listed, and so never removed.
  if (owner.empty()) return args.failure("nie ma kontrahenta o identyfikatorze " + std::to_string(contractor));

  // The id is chosen under a lock held to the end of the routine's transaction, so two
  // users adding at the same moment get two ids.
  if (Status s = lockIdAllocation(db, "INT_UZYTKOWNIK"); !s) return s;
  Result next;
  if (Status s = db.execute("SELECT COALESCE(MAX(ID_INT_UZYTKOWNIK), 0) + 1 FROM INT_UZYTKOWNIK", &next); !s) return s;
  const long long id = std::strtoll(next.scalar().c_str(), nullptr, 10);
  std::vector<Param> row = {id, contractor};
  if (Status s =
          db.execute("INSERT INTO INT_UZYTKOWNIK (ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE) "
                     "VALUES (?, ?, '', 1, '', '')",
                     row, nullptr);
      !s)
    return s;
  if (out) {
    out->columns = {"ID_INT_UZYTKOWNIK"};
    out->rows = {{std::to_string(id)}};
  }
  return {};
}

}  // namespace

void registerInternetUserRoutines(RoutineRegistry& registry) { registry.add(kRoutine, addInternetUser); }

}  // namespace slownik::sql
