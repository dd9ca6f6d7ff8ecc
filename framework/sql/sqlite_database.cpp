#include "framework/sql/sqlite_database.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

#include "framework/sql/collation.h"
#include "framework/sql/dialect.h"
#include "framework/sql/table_changes.h"

namespace slownik::sql {
namespace {

constexpr std::size_t kCacheSize = 64;
constexpr int kBusyTimeoutMs = 15000;

std::string errorText(sqlite3* db) { return db ? sqlite3_errmsg(db) : "SQLite: brak połączenia"; }

std::string realText(double v) {
  char buf[64];
  if (v == std::trunc(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v);
  else
    std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

}  // namespace

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& url, const std::string& path, Status* status) {
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    if (status) *status = Status::failure("Nie można otworzyć bazy " + path + ": " + errorText(db));
    sqlite3_close(db);
    return nullptr;
  }
  // Before anything reads the schema: its text columns and indexes sort in this collation.
  if (!registerSqliteCollation(db)) {
    if (status) *status = Status::failure("Nie można przygotować polskiego porządku tekstów (ICU) dla bazy " + path + ".");
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db, 1);
  auto result = std::unique_ptr<SqliteDatabase>(new SqliteDatabase(url, db));
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA foreign_keys=ON", "PRAGMA synchronous=NORMAL"}) {
    Status s = result->execute(pragma);
    if (!s) {
      if (status) *status = s;
      return nullptr;
    }
  }
  registerSqliteDialectFunctions(db);
  registerSqliteRoutineFunctions(db);
  if (status) *status = {};
  return result;
}

SqliteDatabase::SqliteDatabase(std::string url, sqlite3* db)
    : Database(std::move(url), Dialect::create(Backend::Sqlite)), db_(db) {}

SqliteDatabase::~SqliteDatabase() {
  for (auto& [text, stmt] : cache_) sqlite3_finalize(stmt);
  sqlite3_close_v2(db_);
}

sqlite3_stmt* SqliteDatabase::prepared(std::string_view sql, Status* status) {
  std::string key(sql);
  if (auto it = cacheIndex_.find(key); it != cacheIndex_.end()) {
    cache_.splice(cache_.begin(), cache_, it->second);
    sqlite3_stmt* stmt = it->second->second;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return stmt;
  }
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v3(db_, key.c_str(), static_cast<int>(key.size()), SQLITE_PREPARE_PERSISTENT, &stmt, &tail) !=
      SQLITE_OK) {
    *status = Status::failure(errorText(db_), sqlite3_extended_errcode(db_));
    return nullptr;
  }
  if (!stmt) {  // only a comment or blanks
    *status = {};
    return nullptr;
  }
  cache_.emplace_front(key, stmt);
  cacheIndex_[key] = cache_.begin();
  if (cache_.size() > kCacheSize) {
    sqlite3_finalize(cache_.back().second);
    cacheIndex_.erase(cache_.back().first);
    cache_.pop_back();
  }
  return stmt;
}

Status SqliteDatabase::execute(std::string_view sql, std::span<const Param> params, Result* out) {
  if (!db_) return Status::failure("SQLite: brak połączenia");
  Status status;
  sqlite3_stmt* stmt = prepared(sql, &status);
  if (!stmt) return status;
  for (std::size_t i = 0; i < params.size(); ++i) {
    int n = static_cast<int>(i + 1);
    const Param& p = params[i];
    if (std::holds_alternative<std::monostate>(p))
      sqlite3_bind_null(stmt, n);
    else if (auto v = std::get_if<long long>(&p))
      sqlite3_bind_int64(stmt, n, *v);
    else if (auto d = std::get_if<double>(&p))
      sqlite3_bind_double(stmt, n, *d);
    else if (auto s = std::get_if<std::string>(&p))
      sqlite3_bind_text(stmt, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else if (auto b = std::get_if<Blob>(&p))
      sqlite3_bind_blob(stmt, n, b->bytes.data(), static_cast<int>(b->bytes.size()), SQLITE_TRANSIENT);
  }
  Result local;
  Result& r = out ? *out : local;
  r = Result{};
  // The first step may prepare a cached statement afresh (the schema changed under it):
  // only then are its columns known.
  int rc = sqlite3_step(stmt);
  int columns = sqlite3_column_count(stmt);
  for (int c = 0; c < columns; ++c) r.columns.emplace_back(sqlite3_column_name(stmt, c));
  for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
    if (!out) continue;
    std::vector<Cell> row;
    row.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
      switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_NULL: row.emplace_back(std::nullopt); break;
        case SQLITE_FLOAT: row.emplace_back(realText(sqlite3_column_double(stmt, c))); break;
        case SQLITE_BLOB: {
          auto data = static_cast<const char*>(sqlite3_column_blob(stmt, c));
          row.emplace_back(std::string(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, c))));
          break;
        }
        default: {
          auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
          row.emplace_back(std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, c))));
        }
      }
    }
    r.rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    Status failure = Status::failure(errorText(db_), sqlite3_extended_errcode(db_));
    sqlite3_reset(stmt);
    return failure;
  }
  r.affectedRows = sqlite3_changes64(db_);
  sqlite3_reset(stmt);
  noteStatement(sql);
  return {};
}

Status SqliteDatabase::executeScript(std::string_view sql) {
  noteUnknownChange();
  std::string text(sql);
  char* error = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : errorText(db_);
    sqlite3_free(error);
    return Status::failure(message);
  }
  return {};
}

long long SqliteDatabase::lastInsertId() { return sqlite3_last_insert_rowid(db_); }

Status SqliteDatabase::beginOutermost(TransactionMode mode) {
  return execute(mode == TransactionMode::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

}  // namespace slownik::sql
