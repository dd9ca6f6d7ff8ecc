#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::sql {

using Cell = std::optional<std::string>;  // nullopt = SQL NULL; values as text

//! Rows of one statement, every value as text (numbers in their plain decimal form).
//! Statements that page or look up return few rows, so the rows are held in memory.
struct Result {
  std::vector<std::string> columns;
  std::vector<std::vector<Cell>> rows;
  long long affectedRows = 0;

  bool empty() const { return rows.empty(); }
  std::size_t size() const { return rows.size(); }
  //! Column position by name, ignoring letter case; -1 when absent.
  int columnIndex(std::string_view name) const;
  //! Text of a cell; "" for NULL or out of range.
  std::string text(std::size_t row, std::size_t column) const;
  bool isNull(std::size_t row, std::size_t column) const;
  //! First value of the first row as text, "" when there is no row.
  std::string scalar() const { return text(0, 0); }
};

}  // namespace slownik::sql
