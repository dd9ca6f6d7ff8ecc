#pragma once
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>

#include "framework/sql/database.h"

namespace slownik::svc {

//! The runtime's error code after a failed SQL statement (a driver error); the
//! module only tests it for non-zero and shows the error text.
inline constexpr int kSqlErrorCode = 90;

//! Runs one backend statement with '?' parameters on this thread's connection.
//! Never throws. A failure (no connection, a database error, anything thrown
//! below) is returned and also left in the runtime error state; success leaves
//! the error state as it was, since these are the services' own bookkeeping
//! statements and not the caller's.
sql::Status serviceExecute(std::string_view backendSql, std::span<const sql::Param> params,
                           sql::Result* out = nullptr);
inline sql::Status serviceExecute(std::string_view backendSql, std::initializer_list<sql::Param> params,
                                  sql::Result* out = nullptr) {
  return serviceExecute(backendSql, std::span<const sql::Param>(params.begin(), params.size()), out);
}

//! Runs one of the module's statements (routine call or module SQL text, translated
//! for the backend) on this thread's connection; same error rules as serviceExecute().
sql::Status serviceRun(std::string_view moduleSql, sql::Result* out);

//! Runs work in one transaction on this thread's connection: committed when work
//! succeeds, rolled back otherwise. Same error rules as serviceExecute().
sql::Status serviceTransaction(const std::function<sql::Status(sql::Database&)>& work);

//! An id of the globals as a bound parameter.
inline sql::Param idParam(double id) { return static_cast<long long>(id); }

}  // namespace slownik::svc
