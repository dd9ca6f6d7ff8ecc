#pragma once
#include <string>

namespace slownik::sql::tsql {

//! How a backend writes the few idioms whose translation differs between backends.
//! Everything else the translator does the same for every backend. Implementations
//! hold no state, so one instance serves every thread.
class BackendSpelling {
 public:
  virtual ~BackendSpelling() = default;
  //! LEN(x): the length of x in characters, trailing blanks not counted.
  virtual std::string trimmedLength(const std::string& x) const = 0;
  //! CAST(x AS datetime) of a number: x days (fraction = time of day) after 1900-01-01 00:00.
  virtual std::string daysSince1900(const std::string& x) const = 0;
  //! CAST(x AS datetime) of text such as '2024-05-01 12:30:00'.
  virtual std::string textAsDateTime(const std::string& x) const = 0;
  //! GETDATE(): the local date and time now.
  virtual std::string currentDateTime() const = 0;
};

}  // namespace slownik::sql::tsql
