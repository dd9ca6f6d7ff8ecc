#include "framework/data/position.h"

#include <charconv>

namespace slownik::data {

std::string encodePosition(std::span<const sql::Cell> values) {
  std::size_t size = 0;
  for (const auto& v : values) size += v ? v->size() + 4 : 2;
  std::string out;
  out.reserve(size);
  for (const auto& v : values) {
    if (!v) {
      out += "N;";
      continue;
    }
    out += std::to_string(v->size());
    out += ':';
    out += *v;
  }
  return out;
}

bool decodePosition(std::string_view position, std::vector<sql::Cell>* values) {
  values->clear();
  std::size_t i = 0;
  while (i < position.size()) {
    if (position.substr(i, 2) == "N;") {
      values->emplace_back(std::nullopt);
      i += 2;
      continue;
    }
    std::size_t length = 0;
    auto [end, ec] = std::from_chars(position.data() + i, position.data() + position.size(), length);
    std::size_t colon = static_cast<std::size_t>(end - position.data());
    if (ec != std::errc() || colon >= position.size() || position[colon] != ':' || position.size() - colon - 1 < length) {
      values->clear();
      return false;
    }
    values->emplace_back(std::string(position.substr(colon + 1, length)));
    i = colon + 1 + length;
  }
  return true;
}

}  // namespace slownik::data
