#include "framework/services/nip.h"

#include <array>
#include <string>

namespace slownik::svc {

bool NIPOK(std::string_view nip) {
  std::size_t start = nip.find_first_not_of(" ");
  if (start == std::string_view::npos) return false;
  nip.remove_prefix(start);
  if (nip.size() >= 2 && (nip[0] == 'P' || nip[0] == 'p') && (nip[1] == 'L' || nip[1] == 'l')) nip.remove_prefix(2);

  std::string digits;
  for (char c : nip) {
    if (c == ' ' || c == '-') continue;
    if (c < '0' || c > '9') return false;
    digits += c;
  }
  if (digits.size() != 10 || digits == "0000000000") return false;

  static constexpr std::array<int, 9> kWeights{6, 5, 7, 2, 3, 4, 5, 6, 7};
  int sum = 0;
  for (std::size_t i = 0; i < kWeights.size(); ++i) sum += kWeights[i] * (digits[i] - '0');
  int check = sum % 11;
  return check != 10 && check == digits[9] - '0';
}

}  // namespace slownik::svc
