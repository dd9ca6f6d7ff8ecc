#pragma once
// The tax white list's answer to the check of one account, as the service writes it.
#include <string>

namespace slownik::test {

inline std::string whiteListAnswer(const std::string& assigned, const std::string& requestId,
                                   const std::string& requestDateTime) {
  return R"({"result":{"accountAssigned":")" + assigned + R"(","requestDateTime":")" + requestDateTime +
         R"(","requestId":")" + requestId + R"("}})";
}

}  // namespace slownik::test
