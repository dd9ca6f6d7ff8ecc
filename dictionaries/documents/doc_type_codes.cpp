#include "dictionaries/documents/doc_type_codes.h"

#include "framework/sql/text.h"

namespace slownik::documents {

std::string_view textOfCode(std::span<const CodeText> table, std::string_view code) {
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  for (const auto& c : table)
    if (c.code == code) return c.text;
  return {};
}

std::string_view codeOfText(std::span<const CodeText> table, std::string_view text) {
  for (const auto& c : table)
    if (c.text == text) return c.code;
  return {};
}

std::string codeTextSql(std::string_view field, std::span<const CodeText> table) {
  // Codes are compared as stored, letter case included ("k" and "K" are not one kind).
  std::string sql = "CASE RTRIM(" + std::string(field) + ")";
  for (const auto& c : table) sql += " WHEN " + sql::quote(c.code) + " THEN " + sql::quote(c.text);
  return sql + " ELSE '' END";
}

}  // namespace slownik::documents
