// The record semaphore: the edit lock of a row in a shared dictionary, kept in the
// row's SEMAFOR column (id of the holding user; NULL or 0 when free). Every change of
// the lock is one conditional statement whose affected-row count tells the outcome,
// so two users racing for a row can never both hold it, on either backend: SQLite
// serialises writers, and PostgreSQL re-checks the condition on the row version that
// the first writer committed.
#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/routines/table_lookup.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

constexpr const char* kLockColumn = "SEMAFOR";

// The dictionaries whose rows are locked, with the tables that hold rows owned by
// one of their records (joined by the record's id column). A delete removes those
// too, so that it leaves nothing behind that points at a row no longer there.
struct LockableTable {
  const char* name;
  std::vector<const char*> ownedTables;
  bool ownsCompanyData = false;  // the company: every table carrying its ID_FIRMY
};

const std::vector<LockableTable>& lockableTables() {
  static const std::vector<LockableTable> tables = {
      {"banki", {}},
      {"tabela_odsetek", {"ODSETKI"}},
      {"urzedy", {"RACHUNEK_URZEDU"}},
      {"pracownik", {"ADRESY_PRACOWNIKA", "RACHUNEK_PRACOWNIKA", "PRACOWNIK_ZALACZNIK"}},
      {"kontrahent", {"RACHUNEK_KONTRAHENTA", "RACHUNEK_WIRTUALNY", "KONTAKT"}},
      {"firma", {}, true},
  };
  return tables;
}

// Tables that keep ID_FIRMY but are not the company's own data: the audit log must
// outlive what it tells about.
bool isKeptAfterCompanyDelete(const TableDef& table) { return equalsIgnoreCase(table.name, "LOG_ZDARZEN"); }

struct LockTarget {
  const LockableTable* kind = nullptr;
  const TableDef* table = nullptr;
  std::string idColumn;
  long long id = 0;
  long long user = 0;
};

Status resolve(const RoutineArgs& args, LockTarget* target) {
  if (Status s = args.require(3); !s) return s;
  std::string name = args.text(0);
  for (const auto& kind : lockableTables())
    if (equalsIgnoreCase(kind.name, name)) target->kind = &kind;
  if (target->kind) target->table = findStoredTable(name);
  if (!target->table || !target->table->column(kLockColumn))
    return args.failure("kartoteka \"" + name + "\" nie obsługuje blokady rekordów");
  target->idColumn = rowIdColumn(*target->table);
  if (target->idColumn.empty()) return args.failure("kartoteka \"" + name + "\" nie ma identyfikatora rekordu");
  if (Status s = args.integer(1, &target->id); !s) return s;
  if (Status s = args.integer(2, &target->user); !s) return s;
  if (target->user <= 0) return args.failure("nieprawidłowy identyfikator użytkownika");
  return {};
}

// After a conditional statement touched no row: either the row is gone, or another
// user holds it. Only the latter answers with "Lock", which the windows look for.
Status explainRefusal(Database& db, const RoutineArgs& args, const LockTarget& t, bool* rowMissing) {
  Result r;
  std::vector<Param> params = {t.id};
  Status s = db.execute("SELECT " + std::string(kLockColumn) + " FROM " + t.table->name + " WHERE " + t.idColumn + " = ?",
                        params, &r);
  if (!s) return s;
  *rowMissing = r.empty();
  if (r.empty()) return args.failure("rekord " + std::to_string(t.id) + " kartoteki \"" + args.text(0) + "\" nie istnieje");
  return Status::failure("Lock: rekord " + std::to_string(t.id) + " kartoteki \"" + args.text(0) +
                         "\" jest edytowany przez innego użytkownika (id " + r.text(0, 0) + ")");
}

std::string freeOrHeldBy() {
  return std::string("(") + kLockColumn + " IS NULL OR " + kLockColumn + " = 0 OR " + kLockColumn + " = ?)";
}

// Takes the lock when it is free or already held by the same user. The fourth
// argument (a mode the callers pass as 2) does not change what the lock means.
Status setLock(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaSemaforUstaw", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  Result r;
  std::vector<Param> params = {t.user, t.id, t.user};
  Status s = db.execute("UPDATE " + t.table->name + " SET " + kLockColumn + " = ? WHERE " + t.idColumn + " = ? AND " +
                            freeOrHeldBy(),
                        params, &r);
  if (!s) return s;
  if (r.affectedRows > 0) return {};
  bool missing = false;
  return explainRefusal(db, args, t, &missing);
}

// Releases the lock held by this user; a lock that is free or held by someone else is
// left as it is (the windows release after every form, also after an insert that
// never took the lock).
Status releaseLock(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaSemaforPoloz", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  std::vector<Param> params = {t.id, t.user};
  return db.execute("UPDATE " + t.table->name + " SET " + kLockColumn + " = 0 WHERE " + t.idColumn + " = ? AND " +
                        kLockColumn + " = ?",
                    params, nullptr);
}

Status deleteOwned(Database& db, const LockTarget& t) {
  std::vector<std::pair<const TableDef*, std::string>> owned;  // table, joining column
  if (t.kind->ownsCompanyData) {
    for (const auto& table : Catalogue::instance().tables())
      if (!table.isView && table.name != t.table->name && table.column("ID_FIRMY") && !isKeptAfterCompanyDelete(table))
        owned.emplace_back(&table, "ID_FIRMY");
  }
  for (const char* name : t.kind->ownedTables) {
    const TableDef* table = findStoredTable(name);
    if (table && table->column(t.idColumn)) owned.emplace_back(table, t.idColumn);
  }
  std::vector<Param> params = {t.id};
  for (const auto& [table, column] : owned) {
    if (Status s = db.execute("DELETE FROM " + table->name + " WHERE " + column + " = ?", params, nullptr); !s)
      return s;
  }
  return {};
}

// Deletes the record (with the rows it owns) unless another user holds its lock.
// A record that is already gone counts as deleted.
Status deleteRecord(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaZapisSkasuj", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  // Rows with ID_FIRMY 0 are shared by all companies; no company may take them along.
  if (t.kind->ownsCompanyData && t.id <= 0)
    return args.failure("firmy o identyfikatorze " + std::to_string(t.id) + " nie można usunąć");
  // Take the lock first: from here on nobody else can take it, so the owned rows
  // and the record go together, inside the routine's one transaction.
  Result r;
  std::vector<Param> lockParams = {t.user, t.id, t.user};
  Status s = db.execute("UPDATE " + t.table->name + " SET " + kLockColumn + " = ? WHERE " + t.idColumn + " = ? AND " +
                            freeOrHeldBy(),
                        lockParams, &r);
  if (!s) return s;
  if (r.affectedRows == 0) {
    bool missing = false;
    Status refusal = explainRefusal(db, args, t, &missing);
    return missing ? Status{} : refusal;
  }
  if (Status e = deleteOwned(db, t); !e) return e;
  std::vector<Param> params = {t.id};
  return db.execute("DELETE FROM " + t.table->name + " WHERE " + t.idColumn + " = ?", params, nullptr);
}

}  // namespace

void registerRecordSemaphoreRoutines(RoutineRegistry& registry) {
  registry.add("TKW_KartotekaSemaforUstaw", setLock);
  registry.add("TKW_KartotekaSemaforPoloz", releaseLock);
  registry.add("TKW_KartotekaZapisSkasuj", deleteRecord);
}

}  // namespace slownik::sql
