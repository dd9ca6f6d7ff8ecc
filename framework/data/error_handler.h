#pragma once
#include <string_view>

namespace slownik::data {

//! What a file manager tells when one of its operations fails. The module's error
//! handler (the host's, or the module's own) implements it; file managers only keep
//! a pointer to it, never own it.
class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  //! A database failure or a refused write on `table`; `code` is the runtime error
  //! code the caller also finds in rt::errorCode(), `text` the Polish message.
  virtual void fileError(std::string_view table, int code, std::string_view text) = 0;
};

}  // namespace slownik::data
