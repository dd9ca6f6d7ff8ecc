#pragma once
#include <span>
#include <string>
#include <string_view>

namespace slownik::documents {

//! A one- or two-letter code of a column and the text a user sees for it.
struct CodeText {
  std::string_view code;
  std::string_view text;
};

//! The text of a code ("" for a code the table does not know).
std::string_view textOfCode(std::span<const CodeText> table, std::string_view code);
//! The code of a text ("" for a text the table does not know).
std::string_view codeOfText(std::span<const CodeText> table, std::string_view text);
//! SQL giving the text of `field`'s code per row ("" for others), for a list column
//! bound under a name: CASE RTRIM(field) WHEN 'k' THEN 'kasowa' … ELSE '' END.
std::string codeTextSql(std::string_view field, std::span<const CodeText> table);

}  // namespace slownik::documents
