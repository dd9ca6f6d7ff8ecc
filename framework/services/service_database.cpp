#include "framework/services/service_database.h"

#include <exception>
#include <string>

#include "framework/runtime/error_state.h"
#include "framework/sql/thread_database.h"

namespace slownik::svc {
namespace {

sql::Status fail(sql::Status status) {
  rt::setError(kSqlErrorCode, status.message());
  return status;
}

// Whatever the layers below throw becomes an error value here, so that no
// service call can end the procedure thread or the process.
template <typename Body>
sql::Status guarded(Body&& body) {
  try {
    sql::Status status;
    sql::Database* db = sql::threadDatabase(&status);
    if (!db) return fail(status.isOk() ? sql::Status::failure("Brak połączenia z bazą danych") : status);
    sql::Status s = body(*db);
    return s.isOk() ? s : fail(s);
  } catch (const std::exception& e) {
    return fail(sql::Status::failure(std::string("Błąd wewnętrzny: ") + e.what()));
  } catch (...) {
    return fail(sql::Status::failure("Błąd wewnętrzny"));
  }
}

}  // namespace

sql::Status serviceExecute(std::string_view backendSql, std::span<const sql::Param> params, sql::Result* out) {
  return guarded([&](sql::Database& db) { return db.execute(backendSql, params, out); });
}

sql::Status serviceRun(std::string_view moduleSql, sql::Result* out) {
  return guarded([&](sql::Database& db) { return db.run(moduleSql, out); });
}

sql::Status serviceTransaction(const std::function<sql::Status(sql::Database&)>& work) {
  return guarded([&](sql::Database& db) {
    sql::Transaction tx(db, sql::TransactionMode::Immediate);
    if (!tx.status()) return tx.status();
    sql::Status s = work(db);
    if (!s) return s;  // the guard rolls back
    return tx.commit();
  });
}

}  // namespace slownik::svc
