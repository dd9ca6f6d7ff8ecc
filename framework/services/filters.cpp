#include "framework/services/filters.h"

#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

}  // namespace

std::string PRZYGOTUJFILTR(std::string_view text, std::string_view find, std::string_view replace) {
  if (find.empty()) return std::string(text);
  // Folding both sides keeps every position, since ASCII folding maps a byte to a byte.
  const std::string folded = sql::toUpperAscii(text);
  const std::string wanted = sql::toUpperAscii(find);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = folded.find(wanted); at != std::string::npos; at = folded.find(wanted, from)) {
    out.append(text.substr(from, at - from));
    out.append(replace);
    from = at + find.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string DODAJKOMPONENTFILTRA(std::string_view filter, std::string_view component) {
  if (isBlank(component)) return isBlank(filter) ? std::string() : std::string(filter);
  if (isBlank(filter)) return std::string(component);
  return "(" + std::string(filter) + ") and (" + std::string(component) + ")";
}

}  // namespace slownik::svc
