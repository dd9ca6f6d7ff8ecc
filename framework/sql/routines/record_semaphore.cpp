// The record semaphore: the edit lock of a row in a shared dictionary.
//
// Who holds a lock is kept in BLOKADA: the session of the program that took it, the
// window chain within that program, the user and since when. The row's own SEMAFOR
// column mirrors the user (0 when free), which is what the lists colour by.
//
// Every routine first touches the dictionary row ("SET SEMAFOR = SEMAFOR"). That takes
// the row's write lock, so the takers of one record queue up there and each decides on
// what the one before it committed: two holders can never coexist, on either backend
// (SQLite serialises writers anyway; PostgreSQL blocks the second touch until the
// first transaction ends). BLOKADA's primary key is a second guard.
//
// A lock whose session has ended is nobody's: the next taker takes it over, and the
// heartbeat of any running program releases it (TKW_KartotekaSemaforPorzadkuj).
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/company_routines.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/routines/table_lookup.h"
#include "framework/sql/schema.h"
#include "framework/sql/session.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

constexpr const char* kLockColumn = "SEMAFOR";
constexpr long long kAdministrator = 6100003;

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

struct LockTarget {
  const LockableTable* kind = nullptr;
  const TableDef* table = nullptr;
  std::string idColumn;
  std::string name;  // as the callers wrote it, in lower case for BLOKADA
  long long id = 0;
  long long user = 0;
};

Status resolveTable(const RoutineArgs& args, LockTarget* target) {
  std::string name = args.text(0);
  for (const auto& kind : lockableTables())
    if (equalsIgnoreCase(kind.name, name)) target->kind = &kind;
  if (target->kind) target->table = findStoredTable(name);
  if (!target->table || !target->table->column(kLockColumn))
    return args.failure("kartoteka \"" + name + "\" nie obsługuje blokady rekordów");
  target->idColumn = rowIdColumn(*target->table);
  if (target->idColumn.empty()) return args.failure("kartoteka \"" + name + "\" nie ma identyfikatora rekordu");
  target->name = target->kind->name;
  return args.integer(1, &target->id);
}

Status resolve(const RoutineArgs& args, LockTarget* target) {
  if (Status s = args.require(3); !s) return s;
  if (Status s = resolveTable(args, target); !s) return s;
  if (Status s = args.integer(2, &target->user); !s) return s;
  if (target->user <= 0) return args.failure("nieprawidłowy identyfikator użytkownika");
  return {};
}

// --- the holder -------------------------------------------------------------------------

// "12:30" today, "07.12.2026 12:30" on another day, by this machine's clock.
std::string sinceText(double epochSeconds) {
  if (epochSeconds <= 0) return {};
  std::time_t then = static_cast<std::time_t>(epochSeconds);
  std::time_t now = std::time(nullptr);
  std::tm t{}, today{};
  localtime_r(&then, &t);
  localtime_r(&now, &today);
  char text[64];
  if (t.tm_year == today.tm_year && t.tm_yday == today.tm_yday)
    std::snprintf(text, sizeof text, "%02d:%02d", t.tm_hour, t.tm_min);
  else
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour,
                  t.tm_min);
  return text;
}

std::string rightTrimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string userName(Database& db, long long user) {
  Result r;
  std::vector<Param> params = {user};
  if (db.execute("SELECT NAZWA, IDENTYFIKATOR FROM UZYTKOWNIK WHERE ID_UZYTKOWNIKA = ?", params, &r).isOk() &&
      !r.empty()) {
    std::string name = rightTrimmed(r.text(0, 0));
    if (name.empty()) name = rightTrimmed(r.text(0, 1));
    if (!name.empty()) return name;
  }
  return "użytkownik " + std::to_string(user);
}

// The line that names the holder: "Edytuje: Jan Nowak, stanowisko KASA1, od 12:30".
std::string holderLine(Database& db, long long user, const std::string& workstation, double since) {
  std::string line = "Edytuje: " + userName(db, user);
  if (!workstation.empty()) line += ", stanowisko " + workstation;
  if (std::string when = sinceText(since); !when.empty()) line += ", od " + when;
  return line;
}

// --- the lock as it stands ------------------------------------------------------------------

struct Holder {
  bool exists = false;  // a BLOKADA row
  long long session = 0;
  long long owner = 0;
  long long user = 0;
  long long depth = 0;
  double since = 0;
  std::string workstation;
};

struct Caller {
  long long session = currentSessionId();
  long long owner = lockOwnerOfThisThread();
};

bool isCallers(const Holder& h, const Caller& c, long long user) {
  return h.exists && h.session == c.session && h.owner == c.owner && h.user == user;
}

Status readHolder(Database& db, const LockTarget& t, Holder* h) {
  Result r;
  std::vector<Param> params = {t.name, t.id};
  Status s = db.execute(
      "SELECT b.ID_SESJI, b.WLASCICIEL, b.ID_UZYTKOWNIKA, b.GLEBOKOSC, b.OD, s.STANOWISKO FROM BLOKADA b "
      "LEFT JOIN SESJA s ON s.ID_SESJI = b.ID_SESJI WHERE b.TABELA = ? AND b.ID_REKORDU = ?",
      params, &r);
  if (!s || r.empty()) return s;
  h->exists = true;
  h->session = std::atoll(r.text(0, 0).c_str());
  h->owner = std::atoll(r.text(0, 1).c_str());
  h->user = std::atoll(r.text(0, 2).c_str());
  h->depth = std::atoll(r.text(0, 3).c_str());
  h->since = std::atof(r.text(0, 4).c_str());
  h->workstation = rightTrimmed(r.text(0, 5));
  return {};
}

// Takes the row's write lock and reads its SEMAFOR; *found false when there is no row.
Status touchRow(Database& db, const LockTarget& t, bool* found, long long* semafor) {
  Result r;
  std::vector<Param> params = {t.id};
  Status s = db.execute("UPDATE " + t.table->name + " SET " + kLockColumn + " = " + kLockColumn + " WHERE " +
                            t.idColumn + " = ?",
                        params, &r);
  if (!s) return s;
  *found = r.affectedRows > 0;
  *semafor = 0;
  if (!*found) return {};
  Result v;
  if (Status read = db.execute("SELECT " + std::string(kLockColumn) + " FROM " + t.table->name + " WHERE " +
                                   t.idColumn + " = ?",
                               params, &v);
      !read)
    return read;
  *semafor = static_cast<long long>(std::atof(v.scalar().c_str()));
  return {};
}

Status setSemafor(Database& db, const LockTarget& t, long long value) {
  std::vector<Param> params = {value, t.id};
  return db.execute("UPDATE " + t.table->name + " SET " + kLockColumn + " = ? WHERE " + t.idColumn + " = ?", params,
                    nullptr);
}

Status dropHolder(Database& db, const LockTarget& t) {
  std::vector<Param> params = {t.name, t.id};
  return db.execute("DELETE FROM BLOKADA WHERE TABELA = ? AND ID_REKORDU = ?", params, nullptr);
}

Status missingRow(const RoutineArgs& args, const LockTarget& t) {
  return args.failure("rekord " + std::to_string(t.id) + " kartoteki \"" + args.text(0) + "\" nie istnieje");
}

// The refusal that the windows recognise by "Lock"; its second line names the holder.
Status refusal(const LockTarget& t, const std::string& holder) {
  return Status::failure("Lock: rekord " + std::to_string(t.id) + " kartoteki \"" + t.name +
                         "\" jest edytowany przez innego użytkownika.|" + holder);
}

enum class Verdict { Free, Callers, Held };

// Who may have the record now. A holder whose session has ended is removed on the
// way. A SEMAFOR without a BLOKADA row was set by a write of the row itself (by a
// program or tool that knows no sessions) or before sessions existed: it holds while
// its user has a running program, and never against that user.
Status judge(Database& db, const LockTarget& t, long long semafor, const Caller& c, Holder* h, Verdict* v,
             std::string* holderText) {
  if (Status s = readHolder(db, t, h); !s) return s;
  if (h->exists) {
    if (isCallers(*h, c, t.user)) {
      *v = Verdict::Callers;
      return {};
    }
    bool alive = true;
    if (Status s = isSessionAlive(db, h->session, &alive); !s) return s;
    if (alive) {
      *v = Verdict::Held;
      *holderText = holderLine(db, h->user, h->workstation, h->since);
      return {};
    }
    if (Status s = dropHolder(db, t); !s) return s;
    *h = Holder{};
    *v = Verdict::Free;
    return {};
  }
  *v = Verdict::Free;
  if (semafor > 0 && semafor != t.user) {
    bool running = false;
    if (Status s = hasRunningSession(db, semafor, &running); !s) return s;
    // Where no program registers a session (older programs during an upgrade, tools),
    // nothing tells that the holder has gone: the lock holds as it always did.
    if (!running) {
      Result any;
      if (Status s = db.execute("SELECT COUNT(*) FROM SESJA", &any); !s) return s;
      running = std::atoll(any.scalar().c_str()) == 0;
    }
    if (running) {
      *v = Verdict::Held;
      *holderText = holderLine(db, semafor, "", 0);
    }
  }
  return {};
}

// Holds the row to the end of the transaction and judges its lock for the caller; a row
// that is gone leaves *found false and the verdict Free.
Status touchAndJudge(Database& db, const LockTarget& t, const Caller& c, bool* found, Verdict* v,
                     std::string* holder) {
  long long semafor = 0;
  if (Status s = touchRow(db, t, found, &semafor); !s || !*found) return s;
  Holder h;
  return judge(db, t, semafor, c, &h, v, holder);
}

Status takeFor(Database& db, const LockTarget& t, const Caller& c, const RoutineArgs& args) {
  bool found = false;
  Verdict v = Verdict::Free;
  std::string holder;
  if (Status s = touchAndJudge(db, t, c, &found, &v, &holder); !s) return s;
  if (!found) return missingRow(args, t);
  if (v == Verdict::Held) return refusal(t, holder);
  if (v == Verdict::Callers) {
    // A window of the chain that holds the lock takes it again (a list, then its form).
    std::vector<Param> params = {t.name, t.id};
    if (Status s = db.execute("UPDATE BLOKADA SET GLEBOKOSC = GLEBOKOSC + 1 WHERE TABELA = ? AND ID_REKORDU = ?",
                              params, nullptr);
        !s)
      return s;
  } else {
    std::vector<Param> params = {t.name, t.id, c.session, c.owner, t.user};
    if (Status s = db.execute("INSERT INTO BLOKADA (TABELA, ID_REKORDU, ID_SESJI, WLASCICIEL, ID_UZYTKOWNIKA, "
                              "GLEBOKOSC, OD) VALUES (?, ?, ?, ?, ?, 1, " +
                                  databaseNowSql(db.backend()) + ")",
                              params, nullptr);
        !s)
      return s;
  }
  return setSemafor(db, t, t.user);
}

// --- one statement where the lock is plain -----------------------------------------------
//
// Over a remote link every statement is a round trip the user waits for. On PostgreSQL
// the usual cases — taking a free lock, releasing the chain's only take — are one
// statement each, outside any transaction: the dictionary row is written first, as the
// long way touches it first, so both queue on the row alike and a second taker re-reads
// it after the first has committed. Whatever the one statement does not settle (a
// refusal, the chain's second take, a holder whose program ended, a SEMAFOR without a
// holder, a row that is gone) goes the long way, which alone refuses.

bool mayTryAtOnce(const Database& db) { return db.backend() == Backend::Postgres && db.transactionDepth() == 0; }

bool takenAtOnce(Database& db, const LockTarget& t, const Caller& c) {
  std::vector<Param> params = {t.user, t.id, t.name, t.id, t.name, t.id, c.session, c.owner, t.user};
  Result r;
  Status s = db.execute("WITH T_ AS (UPDATE " + t.table->name + " SET " + kLockColumn + " = ? WHERE " + t.idColumn +
                            " = ? AND COALESCE(" + kLockColumn + ", 0) = 0 AND NOT EXISTS (SELECT 1 FROM BLOKADA "
                            "WHERE TABELA = ? AND ID_REKORDU = ?) RETURNING " + t.idColumn +
                            ") INSERT INTO BLOKADA (TABELA, ID_REKORDU, ID_SESJI, WLASCICIEL, ID_UZYTKOWNIKA, GLEBOKOSC, "
                            "OD) SELECT ?, ?, ?, ?, ?, 1, " + databaseNowSql(db.backend()) + " FROM T_",
                        params, &r);
  return s && r.affectedRows == 1;
}

bool releasedAtOnce(Database& db, const LockTarget& t, const Caller& c) {
  std::vector<Param> params = {t.id, t.user, t.name, t.id, c.session, c.owner, t.user, t.name, c.session, c.owner};
  Result r;
  Status s = db.execute("WITH T_ AS (UPDATE " + t.table->name + " SET " + kLockColumn + " = 0 WHERE " + t.idColumn +
                            " = ? AND " + kLockColumn + " = ? AND EXISTS (SELECT 1 FROM BLOKADA WHERE TABELA = ? AND "
                            "ID_REKORDU = ? AND ID_SESJI = ? AND WLASCICIEL = ? AND ID_UZYTKOWNIKA = ? AND "
                            "GLEBOKOSC = 1) RETURNING " + t.idColumn +
                            ") DELETE FROM BLOKADA WHERE TABELA = ? AND ID_REKORDU IN (SELECT " + t.idColumn +
                            " FROM T_) AND ID_SESJI = ? AND WLASCICIEL = ?",
                        params, &r);
  return s && r.affectedRows == 1;
}

// Runs the long way of a routine in its own transaction (a savepoint inside one).
template <typename Body>
Status inTransaction(Database& db, Body body) {
  Transaction tx(db, TransactionMode::Immediate);
  if (!tx.status()) return tx.status();
  if (Status s = body(); !s) return s;
  return tx.commit();
}

// Takes the lock when it is free, or held by the calling window chain. The fourth
// argument (a mode the callers pass as 2) does not change what the lock means.
Status setLock(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaSemaforUstaw", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  const Caller caller;
  if (mayTryAtOnce(db) && takenAtOnce(db, t, caller)) return {};
  return inTransaction(db, [&] { return takeFor(db, t, caller, args); });
}

// Releases one take of the calling chain; the lock is free when its last take is
// released. A lock held by anybody else is left as it is (the windows release after
// every form, also after an insert that never took the lock).
Status releaseFor(Database& db, const LockTarget& t);
Status releaseLock(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaSemaforPoloz", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  if (mayTryAtOnce(db) && releasedAtOnce(db, t, Caller{})) return {};
  return inTransaction(db, [&] { return releaseFor(db, t); });
}

Status releaseFor(Database& db, const LockTarget& t) {
  bool found = false;
  long long semafor = 0;
  if (Status s = touchRow(db, t, &found, &semafor); !s) return s;
  if (!found) return {};
  Holder h;
  if (Status s = readHolder(db, t, &h); !s) return s;
  if (isCallers(h, Caller{}, t.user)) {
    if (h.depth > 1) {
      std::vector<Param> params = {t.name, t.id};
      return db.execute("UPDATE BLOKADA SET GLEBOKOSC = GLEBOKOSC - 1 WHERE TABELA = ? AND ID_REKORDU = ?", params,
                        nullptr);
    }
    if (Status s = dropHolder(db, t); !s) return s;
    return setSemafor(db, t, 0);
  }
  // A SEMAFOR the user's own row write set has no holder row to drop.
  if (!h.exists && semafor == t.user) return setSemafor(db, t, 0);
  return {};
}

Status deleteOwned(Database& db, const LockTarget& t) {
  // A company's data reaches past the tables it owns directly (company_routines.cpp).
  if (t.kind->ownsCompanyData) return deleteCompanyData(db, t.id);
  std::vector<std::pair<const TableDef*, std::string>> owned;  // table, joining column
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

// Deletes the record (with the rows it owns) unless somebody else holds its lock.
// A record that is already gone counts as deleted.
Status deleteRecord(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaZapisSkasuj", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  // Rows with ID_FIRMY 0 are shared by all companies; no company may take them along.
  if (t.kind->ownsCompanyData && t.id <= 0)
    return args.failure("firmy o identyfikatorze " + std::to_string(t.id) + " nie można usunąć");
  bool found = false;
  Verdict v = Verdict::Free;
  std::string holder;
  if (Status s = touchAndJudge(db, t, Caller{}, &found, &v, &holder); !s) return s;
  if (!found) return dropHolder(db, t);
  if (v == Verdict::Held) return refusal(t, holder);
  // The row is ours until the transaction ends, so the owned rows and the record go
  // together.
  if (Status s = deleteOwned(db, t); !s) return s;
  if (Status s = dropHolder(db, t); !s) return s;
  std::vector<Param> params = {t.id};
  return db.execute("DELETE FROM " + t.table->name + " WHERE " + t.idColumn + " = ?", params, nullptr);
}

// Whether the calling window chain still holds the lock it took: a form asks before it
// writes. Refused with "Lock" and the reason when the lock was cleared or taken over.
Status checkLock(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_KartotekaSemaforSprawdz", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  bool found = false;
  long long semafor = 0;
  if (Status s = touchRow(db, t, &found, &semafor); !s) return s;
  if (!found) return missingRow(args, t);
  Holder h;
  if (Status s = readHolder(db, t, &h); !s) return s;
  if (isCallers(h, Caller{}, t.user)) return {};
  if (h.exists) return refusal(t, holderLine(db, h.user, h.workstation, h.since));
  return Status::failure("Lock: blokada rekordu " + std::to_string(t.id) + " kartoteki \"" + t.name +
                         "\" została zdjęta.");
}

// The holder of a record's lock as the line the windows show ("" when free, or held
// only by a running program of the asking user's own chain).
Status whoHolds(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TKW_KartotekaSemaforKto", argv);
  if (Status s = args.require(2); !s) return s;
  LockTarget t;
  if (Status s = resolveTable(args, &t); !s) return s;
  Holder h;
  if (Status s = readHolder(db, t, &h); !s) return s;
  std::string line;
  if (h.exists) {
    bool alive = true;
    if (Status s = isSessionAlive(db, h.session, &alive); !s) return s;
    if (alive) line = holderLine(db, h.user, h.workstation, h.since);
  } else {
    Result r;
    std::vector<Param> params = {t.id};
    if (Status s = db.execute("SELECT " + std::string(kLockColumn) + " FROM " + t.table->name + " WHERE " +
                                  t.idColumn + " = ?",
                              params, &r);
        !s)
      return s;
    long long semafor = static_cast<long long>(std::atof(r.scalar().c_str()));
    if (semafor > 0) line = holderLine(db, semafor, "", 0);
  }
  if (out) {
    out->columns = {"KTO"};
    out->rows = {{line}};
  }
  return {};
}

// The administrator, or a member of a company's "Administratorzy" group. (The right
// "SYS" says only that a user may work in a company at all; every user has it.)
bool isAdministrator(Database& db, long long user) {
  if (user == kAdministrator) return true;
  Result r;
  std::vector<Param> params = {user};
  return db.execute("SELECT COUNT(*) FROM UZYTKOWNIKGRUPY g JOIN GRUPAUZYTKOWNIKOW gr ON gr.ID_GRUPY = g.ID_GRUPY "
                    "WHERE g.ID_UZYTKOWNIKA = ? AND gr.NAZWA = 'Administratorzy'",
                    params, &r)
             .isOk() &&
         std::atoll(r.scalar().c_str()) > 0;
}

// An administrator frees a lock by hand (a program that hangs, a user gone home).
// Answers the line of the holder it took the lock from. The holder's form then finds
// its lock gone when it saves.
Status clearLock(Database& db, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TKW_KartotekaSemaforZdejmij", argv);
  LockTarget t;
  if (Status s = resolve(args, &t); !s) return s;
  if (!isAdministrator(db, t.user)) return args.failure("blokadę może zdjąć tylko administrator");
  bool found = false;
  long long semafor = 0;
  if (Status s = touchRow(db, t, &found, &semafor); !s) return s;
  if (!found) return missingRow(args, t);
  Holder h;
  if (Status s = readHolder(db, t, &h); !s) return s;
  std::string line;
  if (h.exists) line = holderLine(db, h.user, h.workstation, h.since);
  else if (semafor > 0) line = holderLine(db, semafor, "", 0);
  if (Status s = dropHolder(db, t); !s) return s;
  if (Status s = setSemafor(db, t, 0); !s) return s;
  if (out) {
    out->columns = {"KTO"};
    out->rows = {{line}};
  }
  return {};
}

// Releases every lock of the given sessions and forgets them. Each record is touched
// first, like every other lock routine does, and its holder read after that, so a
// lock taken over meanwhile by somebody else is left alone.
Status releaseSessions(Database& db, const std::vector<long long>& sessions) {
  for (long long session : sessions) {
    Result locks;
    std::vector<Param> id = {session};
    if (Status s = db.execute("SELECT TABELA, ID_REKORDU FROM BLOKADA WHERE ID_SESJI = ? ORDER BY TABELA, ID_REKORDU",
                              id, &locks);
        !s)
      return s;
    for (std::size_t i = 0; i < locks.size(); ++i) {
      LockTarget t;
      for (const auto& kind : lockableTables())
        if (equalsIgnoreCase(kind.name, locks.text(i, 0))) t.kind = &kind;
      if (!t.kind || !(t.table = findStoredTable(t.kind->name))) continue;
      t.idColumn = rowIdColumn(*t.table);
      t.name = t.kind->name;
      t.id = std::atoll(locks.text(i, 1).c_str());
      bool found = false;
      long long semafor = 0;
      if (Status s = touchRow(db, t, &found, &semafor); !s) return s;
      Holder h;
      if (Status s = readHolder(db, t, &h); !s) return s;
      if (!h.exists || h.session != session) continue;
      if (Status s = dropHolder(db, t); !s) return s;
      if (found && semafor == h.user)
        if (Status s = setSemafor(db, t, 0); !s) return s;
    }
    if (Status s = db.execute("DELETE FROM BLOKADA WHERE ID_SESJI = ?", id, nullptr); !s) return s;
    if (Status s = db.execute("DELETE FROM SESJA WHERE ID_SESJI = ?", id, nullptr); !s) return s;
  }
  return {};
}

// A program's clean end: all its locks at once.
Status endSession(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TKW_SesjaZakoncz", argv);
  if (Status s = args.require(1); !s) return s;
  long long session = 0;
  if (Status s = args.integer(0, &session); !s) return s;
  return releaseSessions(db, {session});
}

// Releases the locks of every program that has ended, and forgets those programs.
Status sweepEnded(Database& db, const std::vector<Cell>&, Result*) {
  std::vector<long long> ended;
  if (Status s = endedSessions(db, &ended); !s) return s;
  return releaseSessions(db, ended);
}


// Every column of a lockable table that exists at migration 3, but its SEMAFOR.
std::string guardedColumns(const TableDef& table) {
  std::string columns;
  for (const auto& c : table.columns) {
    if (c.since > 3 || equalsIgnoreCase(c.name, kLockColumn)) continue;
    columns += (columns.empty() ? "" : ", ") + c.name;
  }
  return columns;
}

}  // namespace

const char kLockGuardMessage[] =
    "Blokada rekordu została zdjęta albo przejęta przez innego użytkownika, zmian nie zapisano.";

// A form writes the whole row back, its SEMAFOR as it read it after taking the lock.
// When the row's SEMAFOR is no longer that (an administrator cleared the lock, another
// user took it over), the write is refused by the database itself, whichever form or
// statement makes it. The lock routines set SEMAFOR alone, which this does not watch.
std::vector<MigrationExtra> recordLockGuardExtras() {
  std::string sqlite, postgres =
                          "CREATE OR REPLACE FUNCTION STRAZ_BLOKADY() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                          "RAISE EXCEPTION '" + std::string(kLockGuardMessage) + "'; END $$;";
  for (const auto& kind : lockableTables()) {
    const TableDef* table = findStoredTable(kind.name);
    if (!table || !table->column(kLockColumn)) continue;
    const std::string name = table->name + "_STRAZ_BLOKADY";
    const std::string on = " BEFORE UPDATE OF " + guardedColumns(*table) + " ON " + table->name + " FOR EACH ROW WHEN ";
    const std::string changed = "COALESCE(NEW.SEMAFOR, 0) <> COALESCE(OLD.SEMAFOR, 0)";
    sqlite += "CREATE TRIGGER " + name + on + changed + " BEGIN SELECT RAISE(ABORT, '" + kLockGuardMessage + "'); END;";
    postgres += "CREATE TRIGGER " + name + on + "(" + changed + ") EXECUTE PROCEDURE STRAZ_BLOKADY();";
  }
  return {{3, Backend::Sqlite, sqlite}, {3, Backend::Postgres, postgres}};
}

void registerRecordSemaphoreRoutines(RoutineRegistry& registry) {
  // The two open their own transaction where the one statement does not settle it.
  registry.add("TKW_KartotekaSemaforUstaw", setLock, RoutineRegistry::Access::OneStatement);
  registry.add("TKW_KartotekaSemaforPoloz", releaseLock, RoutineRegistry::Access::OneStatement);
  registry.add("TKW_KartotekaZapisSkasuj", deleteRecord);
  registry.add("TKW_KartotekaSemaforSprawdz", checkLock);
  registry.add("TKW_KartotekaSemaforZdejmij", clearLock);
  registry.add("TKW_KartotekaSemaforKto", whoHolds, RoutineRegistry::Access::ReadsOnly);
  registry.add("TKW_SesjaZakoncz", endSession);
  registry.add("TKW_KartotekaSemaforPorzadkuj", sweepEnded);
}

}  // namespace slownik::sql
