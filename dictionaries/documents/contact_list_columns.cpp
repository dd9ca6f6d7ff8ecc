#include "dictionaries/documents/contact_list_columns.h"

#include <cctype>
#include <charconv>

#include "framework/runtime/list_format.h"
#include "framework/services/browser_columns.h"

namespace slownik::documents {
namespace {

// The fields a single-column piece takes; -1 when it isn't one readable column.
int fieldsOf(std::string_view piece) {
  auto format = rt::ListFormat::parse(piece);
  if (!format || format->columns.size() != 1) return -1;
  return format->columns.front().fieldCount();
}

std::size_t widthDigits(std::string_view piece) {
  std::size_t n = 0;
  while (n < piece.size() && std::isdigit(static_cast<unsigned char>(piece[n]))) ++n;
  return n;
}

}  // namespace

const std::vector<std::string>& contactColumnDefaults() {
  static const std::vector<std::string> columns = {
      "80L(2)|M~Nazwisko~@s50@", "70L(2)|M~Imię~@s50@",      "60L(2)|M~Telefon~@s50@", "120L(2)|M~Uwagi~@s200@",
      "100L(2)|M~E-mail~@s50@",  "60L(2)|M~Telefon 2~@s50@", "60L(2)|M~FAX~@s50@",     "80L(2)|M~Stanowisko~@s50@",
      "80L(2)|M~Tytuł~@s20@",    "70L(2)|MI~GG~@s30@",       "70L(2)|MI~Skype~@s30@"};
  return columns;
}

std::vector<std::string> configuredContactColumns(std::string_view configuration) {
  std::vector<std::string> columns = contactColumnDefaults();
  int first = 0;
  int last = 0;
  if (svc::POBIERZZAKRESKOLUMNBROWSERA(configuration, first, last) == 0) return columns;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (number < first || number > last) continue;
    std::string stored = svc::POBIERZKOLUMNEFORMAT(configuration, number);
    if (stored.empty()) continue;
    if (fieldsOf(stored) == fieldsOf(columns[i])) columns[i] = stored;
    columns[i] = withColumnWidth(columns[i], svc::POBIERZKOLUMNEROZMIAR(configuration, number));
  }
  return columns;
}

void storeContactColumns(std::string_view configuration, const std::vector<std::string>& columns) {
  for (std::size_t i = 0; i < columns.size(); ++i)
    svc::USTAWKOLUMNE(configuration, static_cast<int>(i) + 1, columns[i], columnWidth(columns[i]));
}

int columnWidth(std::string_view piece) {
  std::size_t n = widthDigits(piece);
  int width = 0;
  // Too many digits for a width leave it 0 rather than failing.
  if (std::from_chars(piece.data(), piece.data() + n, width).ec != std::errc()) return 0;
  return width;
}

std::string withColumnWidth(std::string_view piece, int width) {
  return std::to_string(width < 0 ? 0 : width) + std::string(piece.substr(widthDigits(piece)));
}

std::string listFormatOf(const std::vector<std::string>& columns) {
  std::string format;
  for (const auto& c : columns) format += c;
  return format;
}

}  // namespace slownik::documents
