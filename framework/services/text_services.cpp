#include "framework/services/text_services.h"

#include <array>
#include <utility>

namespace slownik::svc {

std::string REPLACEPROC2(std::string_view text, std::string_view find, std::string_view replace) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(find); at != std::string_view::npos; at = text.find(find, from)) {
    out.append(text.substr(from, at - from));
    out.append(replace);
    from = at + find.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string REPLACEALLSPACE(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {  // U+00A0
      space = true;
      ++i;
    }
    if (space) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += static_cast<char>(c);
  }
  return out;
}

std::string upperPolish(std::string_view text) {
  // Lower and upper UTF-8 forms of the Polish letters outside ASCII.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kPolish{{
      {"ą", "Ą"}, {"ć", "Ć"}, {"ę", "Ę"}, {"ł", "Ł"}, {"ń", "Ń"}, {"ó", "Ó"}, {"ś", "Ś"}, {"ź", "Ź"}, {"ż", "Ż"},
  }};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') {
      out += static_cast<char>(c - 'a' + 'A');
      ++i;
      continue;
    }
    bool replaced = false;
    for (const auto& [lower, upper] : kPolish) {
      if (text.substr(i, lower.size()) == lower) {
        out += upper;
        i += lower.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

}  // namespace slownik::svc
