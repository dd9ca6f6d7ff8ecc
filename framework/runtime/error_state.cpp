#include "framework/runtime/error_state.h"

namespace slownik::rt {
namespace {

struct ThreadError {
  int code = 0;
  std::string text;
};
thread_local ThreadError threadError;

}  // namespace

int errorCode() { return threadError.code; }
const std::string& errorText() { return threadError.text; }

void setError(int code, std::string_view text) {
  threadError.code = code;
  threadError.text = std::string(text);
}

void clearError() {
  threadError.code = 0;
  threadError.text.clear();
}

}  // namespace slownik::rt
