#include "framework/data/position.h"

#include <charconv>

namespace slownik::data {

std::string encodePosition(std::span<const sql::Cell> row, std::span<const std::size_t> columns) {
  std::size_t size = 0;
  for (std::size_t c : columns) size += row[c] ? row[c]->size() + 4 : 2;
  std::string out;
  out.reserve(size);
  for (std::size_t c : columns) {
    const sql::Cell& v = row[c];
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

std::string encodePosition(std::span<const sql::Cell> values) {
  std::vector<std::size_t> all(values.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  return encodePosition(values, all);
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
