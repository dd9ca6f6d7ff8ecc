#pragma once
#include <string>
#include <string_view>

namespace slownik::rt {

//! The runtime's error code and error text of the calling thread, as the module tests
//! them after a file or SQL operation (ERRORCODE()/FILEERROR()): 0 and "" after success.
int errorCode();
const std::string& errorText();
void setError(int code, std::string_view text);
void clearError();

}  // namespace slownik::rt
