#include "dictionaries/documents/contact_list_columns.h"

#include "engine/list_columns.h"

namespace slownik::documents {

const std::vector<std::string>& contactColumnDefaults() {
  static const std::vector<std::string> columns = {
      "80L(2)|M~Nazwisko~@s50@", "70L(2)|M~Imię~@s50@",      "60L(2)|M~Telefon~@s50@", "120L(2)|M~Uwagi~@s200@",
      "100L(2)|M~E-mail~@s50@",  "60L(2)|M~Telefon 2~@s50@", "60L(2)|M~FAX~@s50@",     "80L(2)|M~Stanowisko~@s50@",
      "80L(2)|M~Tytuł~@s20@",    "70L(2)|MI~GG~@s30@",       "70L(2)|MI~Skype~@s30@"};
  return columns;
}

// The contact list builds its format from pieces of its own, so it keeps them through
// the same column configuration as every other list.
std::vector<std::string> configuredContactColumns(std::string_view configuration) {
  return engine::configuredPieces(configuration, contactColumnDefaults());
}

void storeContactColumns(std::string_view configuration, const std::vector<std::string>& columns) {
  engine::storePieces(configuration, columns);
}

int columnWidth(std::string_view piece) { return engine::pieceWidth(piece); }

std::string withColumnWidth(std::string_view piece, int width) { return engine::withPieceWidth(piece, width); }

std::string listFormatOf(const std::vector<std::string>& columns) {
  std::string format;
  for (const auto& c : columns) format += c;
  return format;
}

}  // namespace slownik::documents
