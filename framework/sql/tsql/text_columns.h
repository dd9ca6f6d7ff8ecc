#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace slownik::sql::tsql {

//! Tells which columns hold text, so that '+' beside such a column is read as joining strings.
class TextColumns {
 public:
  virtual ~TextColumns() = default;
  //! Whether column is a text column of one of the tables that the statement names.
  //! tableCandidates holds every plain word of the statement; words that are not
  //! table names (keywords, aliases, columns) are simply not found.
  virtual bool isText(const std::vector<std::string>& tableCandidates, std::string_view column) const = 0;
};

//! The answer of the table catalogue (sql::Catalogue): Text and Memo columns are text.
const TextColumns& catalogueTextColumns();

}  // namespace slownik::sql::tsql
