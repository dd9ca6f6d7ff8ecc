#include "framework/data/file_manager.h"

#include <cstdlib>
#include <type_traits>
#include <variant>

#include "framework/data/id_reservation.h"
#include "framework/data/keys.h"
#include "framework/data/table_buffers.h"
#include "framework/data/thread_instances.h"
#include "framework/runtime/error_state.h"
#include "framework/sql/dialect.h"
#include "framework/sql/thread_database.h"

namespace slownik::data {
namespace {

// Two users priming at once get the same id; the loser takes the next one. A few
// rounds are plenty: each round sees every row committed before it.
constexpr int kInsertAttempts = 8;

std::string columnList(const sql::TableDef& table) {
  std::string s;
  for (const auto& c : table.columns) s += (s.empty() ? "" : ", ") + c.name;
  return s;
}

double nextId(const sql::Result& r) {
  double id = std::strtod(r.scalar().c_str(), nullptr);
  return id >= 1 ? id : 1;
}

sql::Database* database(FileManager& manager) {
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) manager.fail(kNoConnection, "Brak połączenia z bazą danych: " + status.message());
  return db;
}

// Whether two keys hold the same values. Key components are never binary; a binary one
// counts as changed, which only costs writing the key over itself.
bool sameKey(const std::vector<sql::Param>& a, const std::vector<sql::Param>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].index() != b[i].index()) return false;
    bool same = std::visit(
        [&](const auto& x) {
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_same_v<T, sql::Blob>) {
            return false;
          } else {
            return x == std::get<T>(b[i]);
          }
        },
        a[i]);
    if (!same) return false;
  }
  return true;
}

// Columns the row-as-read check compares: the record lock's own columns change while a
// form is open by design, and binary columns are never edited in a form.
bool isCompared(const sql::TableDef& table, const sql::ColumnDef& c) {
  if (c.type == sql::ColumnType::Blob) return false;
  if (c.name.rfind("SEMAFOR", 0) == 0) return false;
  if (const sql::KeyDef* pk = table.primaryKey())
    for (const auto& part : pk->components)
      if (part.column == c.name) return false;
  return true;
}

// The column as the record buffer sees it: NULL reads as empty or 0, a text is cut to its
// field, a decimal is rounded to its places. A row is "as read" when these agree.
std::string comparedValue(const sql::ColumnDef& c) {
  switch (c.type) {
    case sql::ColumnType::Text:
      if (c.size > 0) return "COALESCE(SUBSTR(" + c.name + ", 1, " + std::to_string(c.size) + "), '') = ?";
      return "COALESCE(" + c.name + ", '') = ?";
    case sql::ColumnType::Memo: return "COALESCE(" + c.name + ", '') = ?";
    case sql::ColumnType::Decimal:
      return "ROUND(COALESCE(" + c.name + ", 0), " + std::to_string(c.scale) + ") = CAST(? AS NUMERIC)";
    default: return "COALESCE(" + c.name + ", 0) = ?";
  }
}

}  // namespace

FileManager::FileManager(const sql::TableDef& table) : table_(&table) {}

RecordBuffer& FileManager::record() const { return buffer(*table_); }

int FileManager::fail(int code, std::string text) {
  errorCode_ = code;
  errorText_ = std::move(text);
  rt::setError(code, errorText_);
  if (errors_ && code != kRecordNotFound) errors_->fileError(table_->name, code, errorText_);
  return code;
}

int FileManager::succeed() {
  errorCode_ = 0;
  errorText_.clear();
  rt::clearError();
  return 0;
}

int FileManager::fetch(std::string_view keyName) {
  const sql::KeyDef* key = findKey(*table_, keyName);
  if (!key) return fail(kKeyUnknown, "Tabela " + table_->name + " nie ma klucza " + std::string(keyName) + ".");
  return fetch(*key);
}

int FileManager::fetch(const sql::KeyDef& key) {
  forgetKeyAsRead();
  sql::Database* db = database(*this);
  if (!db) return errorCode_;
  std::string sql = "SELECT " + columnList(*table_) + " FROM " + table_->name + " WHERE " + keyCondition(*table_, key);
  if (!key.unique) {  // the first row in the key's order, as a keyed read would give
    std::string order;
    for (const auto& part : key.components) order += (order.empty() ? "" : ", ") + part.column + (part.descending ? " DESC" : "");
    if (const sql::KeyDef* pk = uniqueKey(*table_))
      for (const auto& part : pk->components) order += ", " + part.column;
    sql += " ORDER BY " + order;
  }
  sql += " LIMIT 1";
  std::vector<sql::Param> params = keyValues(record(), key);
  sql::Result r;
  if (sql::Status s = db->execute(sql, params, &r); !s)
    return fail(kDatabaseError, "Błąd odczytu z tabeli " + table_->name + ": " + s.message());
  if (r.empty()) return fail(kRecordNotFound, "Nie znaleziono rekordu w tabeli " + table_->name + ".");
  RecordBuffer& rec = record();
  for (std::size_t i = 0; i < table_->columns.size() && i < r.rows[0].size(); ++i) rec.load(i, r.rows[0][i]);
  return succeed();
}

int FileManager::primeRecord() {
  forgetKeyAsRead();
  RecordBuffer& rec = record();
  rec.clear();
  primedId_ = 0;
  if (table_->idColumn.empty()) return succeed();
  sql::Database* db = database(*this);
  if (!db) return errorCode_;
  sql::Result r;
  if (sql::Status s = db->execute(nextIdStatement(*table_), &r); !s)
    return fail(kDatabaseError, "Błąd odczytu z tabeli " + table_->name + ": " + s.message());
  primedId_ = nextId(r);
  rec.field(table_->idColumn).set(primedId_);
  return succeed();
}

std::string FileManager::conflictingKey(sql::Database& db) {
  for (const auto& key : table_->keys) {
    if (!key.unique) continue;
    sql::Result r;
    std::vector<sql::Param> params = keyValues(record(), key);
    std::string sql = "SELECT 1 FROM " + table_->name + " WHERE " + keyCondition(*table_, key) + " LIMIT 1";
    if (db.execute(sql, params, &r) && !r.empty()) return key.name;
  }
  return {};
}

int FileManager::insertOnce(sql::Database& db, bool takeId, bool* retry) {
  *retry = false;
  RecordBuffer& rec = record();
  sql::Status written;
  {
    // Two users must not read the same maximum: the id is chosen under a lock (SQLite's
    // immediate write lock, a lock named after the table on PostgreSQL) held to the
    // commit. A row written without it (by plain SQL) still meets the primary key
    // below, and the insert tries again.
    sql::Transaction tx(db, sql::TransactionMode::Immediate);
    if (!tx.status()) return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + tx.status().message());
    if (takeId) {
      if (sql::Status s = sql::lockIdAllocation(db, table_->name); !s)
        return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
      sql::Result r;
      if (sql::Status s = db.execute(nextIdStatement(*table_), &r); !s)
        return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
      rec.field(table_->idColumn).set(nextId(r));
    }
    std::string marks;
    std::vector<sql::Param> params;
    for (std::size_t i = 0; i < table_->columns.size(); ++i) {
      marks += i ? ", ?" : "?";
      params.push_back(rec.param(i));
    }
    std::string sql = "INSERT INTO " + table_->name + " (" + columnList(*table_) + ") VALUES (" + marks + ")";
    written = db.execute(sql, params, nullptr);
    if (written) {
      if (sql::Status c = tx.commit(); !c) return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + c.message());
      primedId_ = 0;
      return succeed();
    }
  }  // rolled back here: PostgreSQL refuses every further statement in a failed transaction
  std::string key = conflictingKey(db);
  if (!key.empty()) {
    const sql::KeyDef* pk = table_->primaryKey();
    bool idClash = takeId && pk && key == pk->name;
    if (idClash) {
      *retry = true;
      return kDuplicateKey;
    }
    return fail(kDuplicateKey, "Rekord o takim kluczu już istnieje (tabela " + table_->name + ", klucz " + key + ").");
  }
  if (written.isUniqueViolation())  // a unique index of the schema that no key names
    return fail(kDuplicateKey, "Rekord o takich danych już istnieje (tabela " + table_->name + ").");
  return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + written.message());
}

int FileManager::insert() {
  forgetKeyAsRead();
  sql::Database* db = database(*this);
  if (!db) return errorCode_;
  Field id = table_->idColumn.empty() ? Field{} : record().field(table_->idColumn);
  // A primed id (or none at all) is the manager's to choose; an id the caller set
  // itself is written as it is, and a clash with it is the caller's error.
  bool takeId = id.isValid() && (id.number() <= 0 || (primedId_ > 0 && id.number() == primedId_));
  for (int attempt = 0; attempt < kInsertAttempts; ++attempt) {
    bool retry = false;
    int rc = insertOnce(*db, takeId, &retry);
    if (!retry) return rc;
    primedId_ = 0;  // the primed id is gone: take the maximum as it is now
  }
  return fail(kDuplicateKey, "Nie udało się nadać nowego identyfikatora w tabeli " + table_->name +
                                 ": zbyt wielu użytkowników dodaje rekordy jednocześnie. Spróbuj ponownie.");
}

void FileManager::setKeyAsRead(const RecordBuffer& asRead) {
  forgetKeyAsRead();
  if (const sql::KeyDef* pk = table_->primaryKey(); pk && &asRead.table() == table_) keyAsRead_ = keyValues(asRead, *pk);
}

void FileManager::setWriteCondition(std::string condition, std::vector<sql::Param> params) {
  writeCondition_ = std::move(condition);
  writeConditionParams_ = std::move(params);
}

void FileManager::setRowAsRead(const RecordBuffer& asRead) {
  std::string condition = std::move(writeCondition_);
  std::vector<sql::Param> conditionParams = std::move(writeConditionParams_);
  setKeyAsRead(asRead);
  writeCondition_ = std::move(condition);
  writeConditionParams_ = std::move(conditionParams);
  if (keyAsRead_.empty()) return;
  for (std::size_t i = 0; i < table_->columns.size(); ++i)
    if (isCompared(*table_, table_->columns[i])) rowAsRead_.push_back(asRead.param(i));
}

std::vector<sql::Param> FileManager::rowKey() const {
  if (hasKeyAsRead()) return keyAsRead_;
  const sql::KeyDef* pk = table_->primaryKey();
  return pk ? keyValues(record(), *pk) : std::vector<sql::Param>{};
}

std::string FileManager::rowCondition(std::vector<sql::Param>& params) const {
  const sql::KeyDef* pk = table_->primaryKey();
  if (!pk) return "1 = 0";
  std::string where = keyCondition(*table_, *pk);
  for (auto& p : rowKey()) params.push_back(std::move(p));
  if (rowAsRead_.empty()) return where;
  std::size_t at = 0;
  for (const auto& c : table_->columns) {
    if (!isCompared(*table_, c) || at >= rowAsRead_.size()) continue;
    where += " AND " + comparedValue(c);
    params.push_back(rowAsRead_[at++]);
  }
  if (!writeCondition_.empty()) {
    where += " AND (" + writeCondition_ + ")";
    for (const auto& p : writeConditionParams_) params.push_back(p);
  }
  return where;
}

int FileManager::missedRow(sql::Database& db) {
  const sql::KeyDef* pk = table_->primaryKey();
  if (rowAsRead_.empty() || !pk) return fail(kRecordNotFound, "Nie znaleziono rekordu w tabeli " + table_->name + ".");
  sql::Result r;
  // One probe tells the three apart: gone, no longer the writer's to write, changed.
  std::vector<sql::Param> params = writeConditionParams_;
  for (const auto& p : keyAsRead_) params.push_back(p);
  std::string held = writeCondition_.empty() ? "1" : "CASE WHEN " + writeCondition_ + " THEN 1 ELSE 0 END";
  std::string sql = "SELECT " + held + " FROM " + table_->name + " WHERE " + keyCondition(*table_, *pk) + " LIMIT 1";
  if (sql::Status s = db.execute(sql, params, &r); !s)
    return fail(kDatabaseError, "Błąd odczytu z tabeli " + table_->name + ": " + s.message());
  if (r.empty()) return fail(kRecordNotFound, "Rekord został usunięty przez innego użytkownika.");
  if (r.scalar() == "0")
    return fail(kLockLost, "Blokada rekordu została zdjęta albo przejęta, zmian nie zapisano.");
  return fail(kRecordChanged, "Rekord został zmieniony przez innego użytkownika.");
}

int FileManager::update() {
  const sql::KeyDef* pk = table_->primaryKey();
  if (!pk) return fail(kKeyUnknown, "Tabela " + table_->name + " nie ma klucza głównego.");
  sql::Database* db = database(*this);
  if (!db) return errorCode_;
  RecordBuffer& rec = record();
  std::vector<sql::Param> currentKey = keyValues(rec, *pk);
  // Found by the key it was read with, the row may take a new key (its key fields are
  // written as well); otherwise the key only finds the row.
  bool keyChanged = hasKeyAsRead() && !sameKey(keyAsRead_, currentKey);
  const std::vector<sql::Param>& readKey = hasKeyAsRead() ? keyAsRead_ : currentKey;
  std::string sets;
  std::vector<sql::Param> params;
  for (std::size_t i = 0; i < table_->columns.size(); ++i) {
    const std::string& name = table_->columns[i].name;
    bool inKey = false;
    for (const auto& part : pk->components) inKey = inKey || part.column == name;
    if (inKey && !keyChanged) continue;
    sets += (sets.empty() ? "" : ", ") + name + " = ?";
    params.push_back(rec.param(i));
  }
  if (sets.empty()) return succeed();  // nothing but the key: nothing to change
  sql::Result r;
  std::string sql = "UPDATE " + table_->name + " SET " + sets + " WHERE " + rowCondition(params);
  if (sql::Status s = db->execute(sql, params, &r); !s) {
    // A unique key other than the row's own may clash (the primary one too when the key
    // was changed); say which.
    for (const auto& key : table_->keys) {
      if (!key.unique || (key.primary && !keyChanged)) continue;
      sql::Result c;
      std::vector<sql::Param> kp = keyValues(rec, key);
      for (const auto& p : readKey) kp.push_back(p);
      std::string probe = "SELECT 1 FROM " + table_->name + " WHERE " + keyCondition(*table_, key) + " AND NOT (" +
                          keyCondition(*table_, *pk) + ") LIMIT 1";
      if (db->execute(probe, kp, &c) && !c.empty())
        return fail(kDuplicateKey, "Rekord o takim kluczu już istnieje (tabela " + table_->name + ", klucz " + key.name + ").");
    }
    if (s.isUniqueViolation())
      return fail(kDuplicateKey, "Rekord o takich danych już istnieje (tabela " + table_->name + ").");
    return fail(kDatabaseError, "Błąd zapisu do tabeli " + table_->name + ": " + s.message());
  }
  if (r.affectedRows == 0) return missedRow(*db);
  // The row is the buffer now; a second save of the same form must find it by that.
  if (!rowAsRead_.empty()) {
    setRowAsRead(rec);
  } else if (hasKeyAsRead()) {
    keyAsRead_ = std::move(currentKey);
  }
  return succeed();
}

int FileManager::remove() {
  const sql::KeyDef* pk = table_->primaryKey();
  if (!pk) return fail(kKeyUnknown, "Tabela " + table_->name + " nie ma klucza głównego.");
  sql::Database* db = database(*this);
  if (!db) return errorCode_;
  sql::Result r;
  std::vector<sql::Param> params;
  std::string where = rowCondition(params);
  if (sql::Status s = db->execute("DELETE FROM " + table_->name + " WHERE " + where, params, &r); !s)
    return fail(kDatabaseError, "Błąd usuwania z tabeli " + table_->name + ": " + s.message());
  int rc = r.affectedRows == 0 ? missedRow(*db) : succeed();
  forgetKeyAsRead();
  return rc;
}

FileManager& fileManager(const sql::TableDef& table) {
  buffer(table);  // makes the table known to this thread's lookups
  return threadInstance<FileManager>(table);
}

FileManager* fileManager(std::string_view nameOrPrefix) {
  const sql::TableDef* table = findTable(nameOrPrefix);
  return table ? &fileManager(*table) : nullptr;
}

}  // namespace slownik::data
