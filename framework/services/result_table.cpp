#include "framework/services/result_table.h"

#include <utility>

namespace slownik::svc {

void ResultTable::load(sql::Result rows) {
  rows_ = std::move(rows);
  next_ = 0;
  open_ = true;
  current_ = false;
}

bool ResultTable::next() {
  current_ = open_ && next_ < rows_.rows.size();
  if (current_) ++next_;
  return current_;
}

void ResultTable::close() {
  rows_ = {};
  next_ = 0;
  open_ = false;
  current_ = false;
}

std::string ResultTable::field(std::size_t n) const {
  if (!current_ || n == 0) return {};
  return rows_.text(next_ - 1, n - 1);
}

std::string ResultTable::field(std::string_view column) const {
  int index = rows_.columnIndex(column);
  return index < 0 ? std::string() : field(static_cast<std::size_t>(index) + 1);
}

ResultTable& VAX() {
  thread_local ResultTable table;
  return table;
}

ResultTable& VAX2() {
  thread_local ResultTable table;
  return table;
}

}  // namespace slownik::svc
