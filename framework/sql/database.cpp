#include "framework/sql/database.h"

#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"

namespace slownik::sql {

Database::Database(std::string url, std::unique_ptr<Dialect> dialect)
    : url_(std::move(url)), dialect_(std::move(dialect)) {}

Database::~Database() = default;

Status Database::run(std::string_view moduleSql, Result* out) {
  if (auto call = parseRoutineCall(moduleSql)) {
    return RoutineRegistry::instance().invoke(*this, *call, out);
  }
  std::string translated = dialect_->translate(moduleSql);
  return execute(translated, {}, out);
}

Status Database::begin(TransactionMode mode) {
  if (depth_ == 0) {
    Status s = beginOutermost(mode);
    if (!s) return s;
  } else {
    Status s = execute("SAVEPOINT sp" + std::to_string(depth_));
    if (!s) return s;
  }
  ++depth_;
  return {};
}

Status Database::commit() {
  if (depth_ == 0) return Status::failure("Brak otwartej transakcji");
  --depth_;
  if (depth_ == 0) return execute("COMMIT");
  return execute("RELEASE SAVEPOINT sp" + std::to_string(depth_));
}

Status Database::rollback() {
  if (depth_ == 0) return Status::failure("Brak otwartej transakcji");
  --depth_;
  if (depth_ == 0) return execute("ROLLBACK");
  Status s = execute("ROLLBACK TO SAVEPOINT sp" + std::to_string(depth_));
  if (!s) return s;
  return execute("RELEASE SAVEPOINT sp" + std::to_string(depth_));
}

Transaction::Transaction(Database& db, TransactionMode mode) : db_(db) {
  status_ = db_.begin(mode);
  open_ = status_.isOk();
}

Transaction::~Transaction() noexcept {
  if (open_) db_.rollback();
}

Status Transaction::commit() {
  if (!open_) return status_.isOk() ? Status::failure("Transakcja już zakończona") : status_;
  open_ = false;
  return db_.commit();
}

}  // namespace slownik::sql
