#include "dictionaries/documents/order_status_rules.h"

#include <array>

namespace slownik::documents {

bool isBuiltInStatusCode(std::string_view code) {
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
  if (code.size() != 1) return false;
  char c = code[0] >= 'a' && code[0] <= 'z' ? static_cast<char>(code[0] - 'a' + 'A') : code[0];
  static constexpr std::array kBuiltIn = {'N', 'C', 'Z', 'Y', 'A'};
  for (char b : kBuiltIn)
    if (b == c) return true;
  return false;
}

}  // namespace slownik::documents
