#include "framework/data/id_reservation.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/data/file_errors.h"
#include "framework/data/relation_manager.h"
#include "framework/data/relations.h"
#include "framework/data/table_buffers.h"
#include "framework/sql/dialect.h"
#include "framework/sql/text.h"

namespace slownik::data {
namespace {

constexpr const char* kTable = "REZERWACJA_ID";

std::string hostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "?";
  return name;
}

// The start time of a process in clock ticks since boot ("" when it cannot be read): a
// pid alone may already belong to another program.
std::string processStart(long pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return {};
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  // Fields after the name start at the state (3rd); the start time is the 22nd.
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) return field;
  return {};
}

}  // namespace

std::string reservationOwner() {
  long pid = static_cast<long>(getpid());
  return hostName() + "|" + std::to_string(pid) + "|" + processStart(pid);
}

bool hasOwnerEnded(const std::string& owner) {
  std::size_t a = owner.find('|');
  std::size_t b = a == std::string::npos ? a : owner.find('|', a + 1);
  if (b == std::string::npos || owner.substr(0, a) != hostName()) return false;
  long pid = std::strtol(owner.c_str() + a + 1, nullptr, 10);
  if (pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return true;
  std::string started = owner.substr(b + 1);
  return !started.empty() && processStart(pid) != started;
}

std::string nextIdStatement(const sql::TableDef& table) {
  return "SELECT MAX(N) + 1 FROM (SELECT COALESCE(MAX(" + table.idColumn + "), 0) AS N FROM " + table.name +
         " UNION ALL SELECT COALESCE(MAX(ID), 0) AS N FROM " + kTable + " WHERE TABELA = " + sql::quote(table.name) +
         ") R";
}

int IdReservation::fail(int code, std::string text) {
  errorText_ = std::move(text);
  return code;
}

int IdReservation::reserve(sql::Database& db) {
  if (table_->idColumn.empty()) return fail(kKeyUnknown, "Tabela " + table_->name + " nie ma kolumny identyfikatora.");
  std::string error;
  if (int rc = cleanUpReservations(db, *table_, &error); rc != 0) return fail(rc, error);
  sql::Transaction tx(db, sql::TransactionMode::Immediate);
  if (!tx.status()) return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + tx.status().message());
  if (sql::Status s = sql::lockIdAllocation(db, table_->name); !s)
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
  sql::Result r;
  if (sql::Status s = db.execute(nextIdStatement(*table_), &r); !s)
    return fail(kDatabaseError, "Błąd odczytu z tabeli " + table_->name + ": " + s.message());
  double id = std::strtod(r.scalar().c_str(), nullptr);
  if (id < 1) id = 1;
  const sql::Param params[] = {table_->name, static_cast<long long>(id), reservationOwner()};
  if (sql::Status s = db.execute(std::string("INSERT INTO ") + kTable + " (TABELA, ID, WLASCICIEL) VALUES (?, ?, ?)",
                                 params, nullptr);
      !s)
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
  if (sql::Status s = tx.commit(); !s)
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
  id_ = id;
  return 0;
}

int IdReservation::release(sql::Database& db) {
  if (!isHeld()) return 0;
  const sql::Param params[] = {table_->name, static_cast<long long>(id_)};
  if (sql::Status s = db.execute(std::string("DELETE FROM ") + kTable + " WHERE TABELA = ? AND ID = ?", params, nullptr); !s)
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + std::string(kTable) + ": " + s.message());
  id_ = 0;
  return 0;
}

namespace {

// Deletes what was written under `id` of `table` in children it owns, and the
// reservation, inside the caller's transaction.
int removeWrittenUnder(sql::Database& db, const sql::TableDef& table, double id, std::string* error) {
  for (const Relation& rel : childRelations(table.name)) {
    if (rel.onDelete != DeleteRule::Cascade || rel.childColumns.size() != 1) continue;
    const sql::TableDef* child = findTable(rel.child);
    RelationManager* children = child ? relationManager(child->name) : nullptr;
    if (!children) continue;
    const std::vector<sql::Param> params = {static_cast<long long>(id)};
    if (int rc = children->removeRows(db, *child, rel.childColumns.front() + " = ?", params, 1); rc != 0) {
      if (error) *error = children->file().errorText();
      return rc;
    }
  }
  const sql::Param params[] = {table.name, static_cast<long long>(id)};
  if (sql::Status s = db.execute(std::string("DELETE FROM ") + kTable + " WHERE TABELA = ? AND ID = ?", params, nullptr); !s) {
    if (error) *error = "Błąd zapisu do tabeli " + std::string(kTable) + ": " + s.message();
    return kDatabaseError;
  }
  return 0;
}

}  // namespace

int IdReservation::abandon(sql::Database& db) {
  if (!isHeld()) return 0;
  sql::Transaction tx(db, sql::TransactionMode::Immediate);
  if (!tx.status()) return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + tx.status().message());
  std::string error;
  if (int rc = removeWrittenUnder(db, *table_, id_, &error); rc != 0) return fail(rc, error);
  if (sql::Status s = tx.commit(); !s)
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
  id_ = 0;
  return 0;
}

int cleanUpReservations(sql::Database& db, const sql::TableDef& table, std::string* error) {
  sql::Result held;
  const sql::Param name[] = {table.name};
  if (sql::Status s = db.execute(std::string("SELECT ID, WLASCICIEL FROM ") + kTable + " WHERE TABELA = ?", name, &held); !s) {
    if (error) *error = "Błąd odczytu z tabeli " + std::string(kTable) + ": " + s.message();
    return kDatabaseError;
  }
  for (const auto& row : held.rows) {
    if (row.size() < 2 || !row[0] || !hasOwnerEnded(row[1].value_or(""))) continue;
    {
      double id = std::strtod(row[0]->c_str(), nullptr);
      sql::Transaction tx(db, sql::TransactionMode::Immediate);
      if (!tx.status()) continue;
      // A row made with the id after all keeps its children; only the reservation goes.
      sql::Result made;
      const sql::Param key[] = {static_cast<long long>(id)};
      if (!db.execute("SELECT 1 FROM " + table.name + " WHERE " + table.idColumn + " = ?", key, &made)) continue;
      int rc = 0;
      if (made.empty()) {
        rc = removeWrittenUnder(db, table, id, error);
      } else {
        const sql::Param both[] = {table.name, static_cast<long long>(id)};
        if (!db.execute(std::string("DELETE FROM ") + kTable + " WHERE TABELA = ? AND ID = ?", both, nullptr)) rc = kDatabaseError;
      }
      if (rc != 0) return rc;
      tx.commit();
    }
  }
  return 0;
}

}  // namespace slownik::data
