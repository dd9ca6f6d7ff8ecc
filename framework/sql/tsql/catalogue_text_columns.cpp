#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"
#include "framework/sql/tsql/text_columns.h"

namespace slownik::sql::tsql {
namespace {

class CatalogueTextColumns final : public TextColumns {
 public:
  bool isText(const std::vector<std::string>& tableCandidates, std::string_view column) const override {
    const Catalogue& catalogue = Catalogue::instance();
    for (const auto& word : tableCandidates) {
      const TableDef* table = catalogue.find(word);
      // find() also answers record prefixes; only a table's own name counts here.
      if (!table || !equalsIgnoreCase(table->name, word)) continue;
      for (const auto& c : table->columns) {
        if (equalsIgnoreCase(c.name, column)) {
          if (c.type == ColumnType::Text || c.type == ColumnType::Memo) return true;
          break;
        }
      }
    }
    return false;
  }
};

}  // namespace

const TextColumns& catalogueTextColumns() {
  static const CatalogueTextColumns columns;
  return columns;
}

}  // namespace slownik::sql::tsql
