#include "framework/classes/error_class.h"

#include <memory>

#include "framework/runtime/log.h"

namespace slownik::fw {
namespace {

thread_local std::unique_ptr<ErrorStatusClass> threadStatus;

void report(std::string_view table, int code, std::string_view text) {
  auto& status = threadErrorStatus();
  std::string procedure = status.procedure();
  rt::logMessage((procedure.empty() ? std::string("(bez procedury)") : procedure) + ": " +
                 (table.empty() ? std::string() : std::string(table) + ": ") + std::string(text) + " (" +
                 std::to_string(code) + ")");
  status.add({std::move(procedure), std::string(table), code, std::string(text)});
}

}  // namespace

void ErrorStatusClass::add(Report report) {
  last_ = std::move(report);
  ++count_;
}

std::optional<ErrorStatusClass::Report> ErrorStatusClass::last() const { return last_; }

void ErrorStatusClass::clear() {
  last_.reset();
  count_ = 0;
}

ErrorStatusClass& threadErrorStatus() {
  if (!threadStatus) threadStatus = std::make_unique<ErrorStatusClass>();
  return *threadStatus;
}

bool hasThreadErrorStatus() { return threadStatus != nullptr; }

void constructThreadErrorStatus() { threadStatus = std::make_unique<ErrorStatusClass>(); }

void destroyThreadErrorStatus() { threadStatus.reset(); }

void ErrorClass::setProcedureName(std::string_view name) {
  auto& status = threadErrorStatus();
  if (name.empty()) {
    status.leaveProcedure();
  } else {
    status.enterProcedure(std::string(name));
  }
}

std::string ErrorClass::procedureName() const { return threadErrorStatus().procedure(); }

void ErrorClass::fileError(std::string_view table, int code, std::string_view text) { report(table, code, text); }

void ErrorClass::sqlError(int code, std::string_view text) { report({}, code, text); }

}  // namespace slownik::fw
