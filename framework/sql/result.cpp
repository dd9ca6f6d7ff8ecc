#include "framework/sql/result.h"

#include "framework/sql/text.h"

namespace slownik::sql {

int Result::columnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (equalsIgnoreCase(columns[i], name)) return static_cast<int>(i);
  return -1;
}

std::string Result::text(std::size_t row, std::size_t column) const {
  if (row >= rows.size() || column >= rows[row].size() || !rows[row][column]) return {};
  return *rows[row][column];
}

bool Result::isNull(std::size_t row, std::size_t column) const {
  return row >= rows.size() || column >= rows[row].size() || !rows[row][column];
}

}  // namespace slownik::sql
