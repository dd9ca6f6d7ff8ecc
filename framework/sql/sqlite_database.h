#pragma once
#include <list>
#include <string>
#include <unordered_map>

#include "framework/sql/database.h"

struct sqlite3;
struct sqlite3_stmt;

namespace slownik::sql {

//! The embedded backend: one file, WAL, foreign keys on, a busy timeout.
class SqliteDatabase final : public Database {
 public:
  //! path: a file name or ":memory:".
  static std::unique_ptr<SqliteDatabase> open(const std::string& url, const std::string& path, Status* status);
  ~SqliteDatabase() override;

  Backend backend() const override { return Backend::Sqlite; }
  using Database::execute;
  Status execute(std::string_view sql, std::span<const Param> params, Result* out) override;
  Status executeScript(std::string_view sql) override;
  long long lastInsertId() override;
  bool isConnected() const override { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

 protected:
  Status beginOutermost(TransactionMode mode) override;

 private:
  SqliteDatabase(std::string url, sqlite3* db);
  sqlite3_stmt* prepared(std::string_view sql, Status* status);

  sqlite3* db_ = nullptr;
  // Prepared statements by text, most recently used first: list and map stay in step.
  std::list<std::pair<std::string, sqlite3_stmt*>> cache_;
  std::unordered_map<std::string, std::list<std::pair<std::string, sqlite3_stmt*>>::iterator> cacheIndex_;
};

//! Scalar SQL functions every SQLite connection gets: the dialect's helpers
//! (sqlite_functions.cpp) and the stored functions (routines/).
void registerSqliteDialectFunctions(sqlite3* db);
void registerSqliteRoutineFunctions(sqlite3* db);

}  // namespace slownik::sql
