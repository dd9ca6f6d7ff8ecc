#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql {

//! The literal arguments of one routine call, read by position with the routine's
//! name in every error text, so that a malformed call tells the user what is wrong
//! instead of failing somewhere inside the body.
class RoutineArgs {
 public:
  RoutineArgs(std::string_view routine, const std::vector<Cell>& args) : routine_(routine), args_(args) {}

  //! Fails unless at least n arguments were given.
  Status require(std::size_t n) const;
  bool has(std::size_t i) const { return i < args_.size(); }

  //! Argument i as a whole number (ids, dates, codes). NULL reads as 0; text that
  //! is not a number, or a fraction, is an error.
  Status integer(std::size_t i, long long* out) const;
  //! Argument i as a number; NULL reads as 0.
  Status number(std::size_t i, double* out) const;
  //! Argument i as text; NULL reads as "".
  std::string text(std::size_t i) const;
  //! Argument i as text without trailing blanks (fixed-width fields pad with them).
  std::string trimmedText(std::size_t i) const;

  Status failure(const std::string& message) const;

 private:
  std::string routine_;
  const std::vector<Cell>& args_;
};

}  // namespace slownik::sql
