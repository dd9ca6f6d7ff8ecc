#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/sql/result.h"
#include "framework/sql/status.h"

namespace slownik::sql {

class Dialect;

enum class Backend { Sqlite, Postgres };

struct Blob {
  std::string bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};
//! A bound statement parameter; std::monostate is NULL.
using Param = std::variant<std::monostate, long long, double, std::string, Blob>;

enum class TransactionMode {
  Deferred,   //!< reads first, may write later (SQLite: BEGIN)
  Immediate,  //!< writes that read first: take the write lock at once (SQLite: BEGIN IMMEDIATE)
};

//! One connection to the database. Not thread-safe: each procedure thread has its own
//! (see threadDatabase()). Two layers of text meet here:
//!  - execute() runs backend SQL as it stands, with '?' placeholders for params;
//!  - run() takes the module's own statement text: a stored-routine call is dispatched
//!    to its C++ body, anything else is translated by the backend's dialect and executed.
class Database {
 public:
  virtual ~Database();

  virtual Backend backend() const = 0;
  const Dialect& dialect() const { return *dialect_; }
  const std::string& url() const { return url_; }

  //! Backend SQL; one statement. On failure the status carries the backend's text.
  virtual Status execute(std::string_view sql, std::span<const Param> params, Result* out) = 0;
  Status execute(std::string_view sql, Result* out = nullptr) { return execute(sql, {}, out); }
  //! Several backend statements separated by ';' (DDL scripts); no result.
  virtual Status executeScript(std::string_view sql) = 0;

  //! The module's statement text (T-SQL flavoured): routine call or translated statement.
  Status run(std::string_view moduleSql, Result* out = nullptr);

  //! Transactions nest: inner levels become savepoints. Prefer the Transaction guard.
  Status begin(TransactionMode mode = TransactionMode::Deferred);
  Status commit();
  Status rollback();
  int transactionDepth() const { return depth_; }

  //! Id of the last row inserted into a table with a generated id, where the backend has one.
  virtual long long lastInsertId() = 0;
  //! Whether the connection is usable now (PostgreSQL: the server may have gone away).
  virtual bool isConnected() const = 0;

 protected:
  Database(std::string url, std::unique_ptr<Dialect> dialect);
  virtual Status beginOutermost(TransactionMode mode) = 0;
  //! The server went away: whatever transaction was open is gone with it.
  void forgetTransactions() { depth_ = 0; }

 private:
  std::string url_;
  std::unique_ptr<Dialect> dialect_;
  int depth_ = 0;
};

//! Opens "sqlite:///path/file.db" (or "sqlite::memory:") or "postgresql://user@host:port/db".
//! A PostgreSQL URL may add "?schema=name": the connection then works in that schema,
//! creating it when missing (tests give each case a schema of its own).
std::unique_ptr<Database> openDatabase(std::string_view url, Status* status);

//! RAII transaction: begins in the constructor, rolls back on scope exit unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db, TransactionMode mode = TransactionMode::Deferred);
  ~Transaction() noexcept;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  const Status& status() const { return status_; }
  Status commit();

 private:
  Database& db_;
  Status status_;
  bool open_ = false;
};

}  // namespace slownik::sql
