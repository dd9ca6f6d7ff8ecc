#include "framework/data/keys.h"

#include "framework/sql/text.h"

namespace slownik::data {
namespace {

std::string_view withoutPrefix(std::string_view name) {
  std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

const sql::KeyDef* findKey(const sql::TableDef& table, std::string_view name) {
  if (std::size_t colon = name.find(':'); colon != std::string_view::npos &&
                                          !sql::equalsIgnoreCase(name.substr(0, colon), table.prefix))
    return nullptr;
  for (const auto& key : table.keys) {
    if (sql::equalsIgnoreCase(withoutPrefix(key.name), withoutPrefix(name))) return &key;
  }
  return nullptr;
}

const sql::KeyDef* uniqueKey(const sql::TableDef& table) {
  if (const sql::KeyDef* pk = table.primaryKey()) return pk;
  for (const auto& key : table.keys)
    if (key.unique) return &key;
  return nullptr;
}

std::vector<sql::Param> keyValues(const RecordBuffer& buffer, const sql::KeyDef& key) {
  std::vector<sql::Param> values;
  for (const auto& part : key.components) {
    int i = buffer.table().columnIndex(part.column);
    if (i < 0) {
      values.emplace_back(std::monostate{});
      continue;
    }
    values.push_back(buffer.param(static_cast<std::size_t>(i)));
  }
  return values;
}

std::string keyCondition(const sql::TableDef& table, const sql::KeyDef& key) {
  std::string sql;
  for (const auto& part : key.components) {
    if (!sql.empty()) sql += " AND ";
    const sql::ColumnDef* c = table.column(part.column);
    bool upper = key.caseInsensitive && c && isTextColumn(*c);
    // The database folds both sides, so the comparison agrees with the key's index
    // for every letter the database knows, not only ASCII.
    sql += upper ? "UPPER(" + part.column + ") = UPPER(?)" : part.column + " = ?";
  }
  return sql;
}

}  // namespace slownik::data
