#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "framework/sql/database.h"

namespace slownik::sql {

struct ColumnDef;

//! What differs between the backends in SQL text: the translation of the module's
//! T-SQL-flavoured statements and the column types of the DDL. One subclass per backend.
class Dialect {
 public:
  virtual ~Dialect();
  virtual Backend backend() const = 0;
  //! The module's statement as this backend runs it. Text without any idiom to
  //! translate comes back unchanged; values in apostrophes are never touched.
  virtual std::string translate(std::string_view moduleSql) const = 0;
  //! The column's type in CREATE TABLE / ALTER TABLE.
  virtual std::string columnType(const ColumnDef& column) const = 0;
  //! The statement that makes the Polish text collation (collation.h) known to the
  //! database, safe to repeat; "" where each connection registers it itself.
  virtual std::string collationSetup() const = 0;
  //! The whole column definition of a generated id that is the table's primary key.
  virtual std::string generatedIdColumn(const ColumnDef& column) const = 0;
  //! Placeholder for the n-th bound parameter (1-based): "?" or "$n".
  virtual std::string placeholder(int n) const = 0;
  //! The statement that, run first in a write transaction, keeps other connections from
  //! choosing the next id of `table` until the transaction ends; "" when the backend's
  //! write transaction does so already.
  virtual std::string idLockStatement(std::string_view table) const = 0;

  static std::unique_ptr<Dialect> create(Backend backend);
};

//! Inside a write transaction, before the next id of `table` is read as max + 1: keeps
//! other connections from choosing the same id until the transaction ends.
Status lockIdAllocation(Database& db, std::string_view table);

}  // namespace slownik::sql
