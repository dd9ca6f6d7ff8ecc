#pragma once
#include <string>
#include <vector>

#include "framework/data/view_manager.h"

namespace slownik::fw {

//! One row of a list buffer: its list-buffer fields as stored text (numbered from 1, as
//! the list format numbers them: displayed values, icon numbers, colour values, hidden
//! fields), and the view row it came from (its position fetches the record again).
struct ListRow {
  std::vector<std::string> fields;
  data::ViewRow source;

  //! Field `number` (1-based); the row grows to hold it.
  std::string& field(int number);
  //! "" for a field the row does not hold.
  const std::string& field(int number) const;
  const std::string& position() const { return source.position; }
};

//! The list buffer of a list: the rows loaded now (the visible page), never the table.
class ListQueue {
 public:
  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  //! Row `n` (1-based); n must be within 1..size().
  ListRow& row(int n) { return rows_[static_cast<std::size_t>(n - 1)]; }
  const ListRow& row(int n) const { return rows_[static_cast<std::size_t>(n - 1)]; }
  std::vector<ListRow>& rows() { return rows_; }
  const std::vector<ListRow>& rows() const { return rows_; }
  void clear() { rows_.clear(); }

 private:
  std::vector<ListRow> rows_;
};

}  // namespace slownik::fw
