#pragma once
#include <string>
#include <utility>

namespace slownik::sql {

//! Outcome of a database call. Errors are values here: nothing in the SQL layer
//! throws past its own boundary, and the text is what the user finally reads.
class Status {
 public:
  Status() = default;
  //! The code of a refused duplicate in a unique index or key (SQLite's extended code;
  //! PostgreSQL's SQLSTATE 23505 is given the same one).
  static constexpr int kUniqueViolation = 2067;
  static constexpr int kPrimaryKeyViolation = 1555;

  static Status success() { return {}; }
  static Status failure(std::string message, int code = -1) { return Status(code, std::move(message)); }

  bool isOk() const { return code_ == 0; }
  explicit operator bool() const { return isOk(); }
  int code() const { return code_; }
  bool isUniqueViolation() const { return code_ == kUniqueViolation || code_ == kPrimaryKeyViolation; }
  const std::string& message() const { return message_; }

 private:
  Status(int code, std::string message) : code_(code == 0 ? -1 : code), message_(std::move(message)) {}
  int code_ = 0;
  std::string message_;
};

}  // namespace slownik::sql
