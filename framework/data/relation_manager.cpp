#include "framework/data/relation_manager.h"

#include "framework/data/keys.h"
#include "framework/data/relations.h"
#include "framework/data/table_buffers.h"
#include "framework/data/thread_instances.h"
#include "framework/sql/thread_database.h"

namespace slownik::data {
namespace {

// Relations never form deep chains here; a cycle declared by mistake must not recurse forever.
constexpr int kMaxDepth = 16;

std::string equalsCondition(const std::vector<std::string>& columns) {
  std::string s;
  for (const auto& c : columns) s += (s.empty() ? "" : " AND ") + c + " = ?";
  return s;
}

sql::Param asParam(const sql::Cell& cell) {
  if (!cell) return std::monostate{};
  return *cell;
}

}  // namespace

RelationManager::RelationManager(const sql::TableDef& table) : table_(&table) {}

int RelationManager::open() {
  if (openCount_++ > 0) return 0;
  file().open();
  openedRelated_.clear();
  if (openRelated_) {
    for (const auto& name : relatedTables(table_->name)) {
      if (const sql::TableDef* related = findTable(name)) {
        fileManager(*related).open();
        openedRelated_.push_back(related);
      }
    }
  }
  return 0;
}

int RelationManager::close() {
  if (openCount_ == 0) return 0;
  if (--openCount_ > 0) return 0;
  for (const sql::TableDef* related : openedRelated_) fileManager(*related).close();
  openedRelated_.clear();
  file().close();
  return 0;
}

int RelationManager::removeRows(sql::Database& db, const sql::TableDef& table, const std::string& where,
                                const std::vector<sql::Param>& params, int depth) {
  FileManager& main = file();
  if (depth > kMaxDepth)
    return main.fail(kDatabaseError, "Nie można usunąć rekordu: zbyt głęboko powiązane rekordy (tabela " + table.name + ").");
  for (const Relation& rel : childRelations(table.name)) {
    const sql::TableDef* child = findTable(rel.child);
    if (!child || rel.parentColumns.size() != rel.childColumns.size()) continue;
    std::string parentCols;
    for (const auto& c : rel.parentColumns) parentCols += (parentCols.empty() ? "" : ", ") + c;
    sql::Result parents;
    if (sql::Status s = db.execute("SELECT DISTINCT " + parentCols + " FROM " + table.name + " WHERE " + where, params, &parents); !s)
      return main.fail(kDatabaseError, "Błąd usuwania z tabeli " + table.name + ": " + s.message());
    std::string childWhere = equalsCondition(rel.childColumns);
    for (const auto& row : parents.rows) {
      std::vector<sql::Param> values;
      for (const auto& cell : row) values.push_back(asParam(cell));
      switch (rel.onDelete) {
        case DeleteRule::Restrict: {
          sql::Result found;
          if (sql::Status s = db.execute("SELECT 1 FROM " + child->name + " WHERE " + childWhere + " LIMIT 1", values, &found); !s)
            return main.fail(kDatabaseError, "Błąd odczytu z tabeli " + child->name + ": " + s.message());
          if (!found.empty())
            return main.fail(kRowReferenced, "Nie można usunąć rekordu z tabeli " + table.name +
                                                 ", ponieważ są z nim powiązane rekordy w tabeli " + child->name + ".");
          break;
        }
        case DeleteRule::Cascade:
          if (int rc = removeRows(db, *child, childWhere, values, depth + 1); rc != 0) return rc;
          break;
        case DeleteRule::Clear: {
          std::string sets;
          std::vector<sql::Param> all;
          for (const auto& c : rel.childColumns) {
            const sql::ColumnDef* def = child->column(c);
            sets += (sets.empty() ? "" : ", ") + c + " = ?";
            all.push_back(def && isTextColumn(*def) ? sql::Param(std::string()) : sql::Param(0LL));
          }
          for (auto& v : values) all.push_back(v);
          if (sql::Status s = db.execute("UPDATE " + child->name + " SET " + sets + " WHERE " + childWhere, all, nullptr); !s)
            return main.fail(kDatabaseError, "Błąd zapisu do tabeli " + child->name + ": " + s.message());
          break;
        }
      }
    }
  }
  sql::Result r;
  if (sql::Status s = db.execute("DELETE FROM " + table.name + " WHERE " + where, params, &r); !s)
    return main.fail(kDatabaseError, "Błąd usuwania z tabeli " + table.name + ": " + s.message());
  if (depth == 0 && r.affectedRows == 0)
    return main.fail(kRecordNotFound, "Nie znaleziono rekordu w tabeli " + table.name + ".");
  return 0;
}

int RelationManager::remove() {
  FileManager& main = file();
  const sql::KeyDef* pk = table_->primaryKey();
  if (!pk) return main.fail(kKeyUnknown, "Tabela " + table_->name + " nie ma klucza głównego.");
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) return main.fail(kNoConnection, "Brak połączenia z bazą danych: " + status.message());
  sql::Transaction tx(*db, sql::TransactionMode::Immediate);
  if (!tx.status()) return main.fail(kDatabaseError, "Błąd usuwania z tabeli " + table_->name + ": " + tx.status().message());
  // The row the record was read from (when a form said so), and only while it is still
  // as read: a row another user changed or deleted meanwhile is left alone. Writing the
  // key over itself also holds the row against other writers until the commit.
  std::vector<sql::Param> params;
  std::string where = main.rowCondition(params);
  const std::string& keyColumn = pk->components.front().column;
  sql::Result held;
  if (sql::Status s = db->execute("UPDATE " + table_->name + " SET " + keyColumn + " = " + keyColumn + " WHERE " + where,
                                  params, &held);
      !s)
    return main.fail(kDatabaseError, "Błąd usuwania z tabeli " + table_->name + ": " + s.message());
  if (held.affectedRows == 0) {
    int rc = main.missedRow(*db);
    main.forgetKeyAsRead();
    return rc;
  }
  where = keyCondition(*table_, *pk);
  params = main.rowKey();
  main.forgetKeyAsRead();
  if (int rc = removeRows(*db, *table_, where, params, 0); rc != 0) return rc;
  if (sql::Status s = tx.commit(); !s)
    return main.fail(kDatabaseError, "Błąd usuwania z tabeli " + table_->name + ": " + s.message());
  return main.succeed();
}

RelationManager& relationManager(const sql::TableDef& table) {
  buffer(table);
  return threadInstance<RelationManager>(table);
}

RelationManager* relationManager(std::string_view nameOrPrefix) {
  const sql::TableDef* table = findTable(nameOrPrefix);
  return table ? &relationManager(*table) : nullptr;
}

}  // namespace slownik::data
