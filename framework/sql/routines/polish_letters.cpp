#include "framework/sql/routines/polish_letters.h"

#include <cstring>

namespace slownik::sql {
namespace {

// Each Polish letter is two bytes in UTF-8; the plain letter at the same position
// replaces it.
constexpr const char* kPolish = "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
constexpr const char* kPlain = "acelnoszzACELNOSZZ";

}  // namespace

const char* polishLetters() { return kPolish; }
const char* plainLetters() { return kPlain; }

std::string withoutPolishLetters(std::string_view text) {
  static_assert(sizeof("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ") - 1 == 2 * (sizeof("acelnoszzACELNOSZZ") - 1));
  const std::size_t letters = std::strlen(kPlain);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool replaced = false;
    if (i + 1 < text.size()) {
      for (std::size_t k = 0; k < letters; ++k) {
        if (text[i] == kPolish[2 * k] && text[i + 1] == kPolish[2 * k + 1]) {
          out += kPlain[k];
          ++i;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i];
  }
  return out;
}

}  // namespace slownik::sql
