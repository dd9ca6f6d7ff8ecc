#include "engine/list_columns.h"

#include <cctype>
#include <charconv>

#include "engine/list_output.h"
#include "engine/list_window.h"
#include "framework/runtime/list_format.h"
#include "framework/services/browser_columns.h"
#include "framework/services/column_dialog.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"

namespace slownik::engine {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kColumnsItem = "KonfiguracjaKolumn";

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The fields a single-column piece takes; -1 when it isn't one readable column.
int fieldsOf(std::string_view piece) {
  auto format = rt::ListFormat::parse(piece);
  if (!format || format->columns.size() != 1) return -1;
  return format->columns.front().fieldCount();
}

std::size_t widthDigits(std::string_view piece) {
  std::size_t n = 0;
  while (n < piece.size() && isDigit(piece[n])) ++n;
  return n;
}

std::string joined(const std::vector<std::string>& pieces) {
  std::string format;
  for (const auto& p : pieces) format += p;
  return format;
}

std::string listFormat(ListWindow& list) {
  if (!list.window()) return {};
  auto control = list.window()->control(kList);
  return control ? control->format : std::string();
}

}  // namespace

std::vector<std::string> columnPieces(std::string_view format) {
  auto parsed = rt::ListFormat::parse(format);
  if (!parsed || !parsed->groups.empty()) return {};
  // A column starts with its width: a number outside the headers, pictures, indents and
  // field numbers, which may hold digits of their own.
  std::vector<std::size_t> starts;
  bool inNumber = false;
  std::size_t i = 0;
  auto skipTo = [&](char closing, std::size_t from) {
    std::size_t end = format.find(closing, from);
    i = end == std::string_view::npos ? format.size() : end + 1;
  };
  while (i < format.size()) {
    const char c = format[i];
    if (isDigit(c)) {
      if (!inNumber) starts.push_back(i);
      inNumber = true;
      ++i;
      continue;
    }
    inNumber = false;
    if (c == '~') {
      skipTo('~', i + 1);
    } else if (c == '(') {
      skipTo(')', i + 1);
    } else if (c == '#') {
      skipTo('#', i + 1);
    } else if (c == '@') {
      // A picture may carry a literal between tildes, which may hold an '@'.
      std::size_t j = i + 1;
      while (j < format.size() && format[j] != '@') {
        if (format[j] == '~') {
          std::size_t close = format.find('~', j + 1);
          j = close == std::string_view::npos ? format.size() : close;
        }
        ++j;
      }
      i = j + 1;
    } else {
      ++i;
    }
  }
  if (starts.size() != parsed->columns.size()) return {};
  std::vector<std::string> pieces;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    std::size_t end = k + 1 < starts.size() ? starts[k + 1] : format.size();
    pieces.emplace_back(format.substr(starts[k], end - starts[k]));
  }
  return pieces;
}

int pieceWidth(std::string_view piece) {
  std::size_t n = widthDigits(piece);
  int width = 0;
  // Too many digits for a width leave it 0 rather than failing.
  if (std::from_chars(piece.data(), piece.data() + n, width).ec != std::errc()) return 0;
  return width;
}

std::string withPieceWidth(std::string_view piece, int width) {
  return std::to_string(width < 0 ? 0 : width) + std::string(piece.substr(widthDigits(piece)));
}

std::vector<std::string> configuredPieces(std::string_view configuration, const std::vector<std::string>& defaults) {
  std::vector<std::string> pieces = defaults;
  int first = 0;
  int last = 0;
  if (svc::POBIERZZAKRESKOLUMNBROWSERA(configuration, first, last) == 0) return pieces;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (number < first || number > last) continue;
    std::string stored = svc::POBIERZKOLUMNEFORMAT(configuration, number);
    if (stored.empty()) continue;
    if (fieldsOf(stored) == fieldsOf(pieces[i])) pieces[i] = stored;
    pieces[i] = withPieceWidth(pieces[i], svc::POBIERZKOLUMNEROZMIAR(configuration, number));
  }
  return pieces;
}

int storePieces(std::string_view configuration, const std::vector<std::string>& pieces) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (int rc = svc::USTAWKOLUMNE(configuration, static_cast<int>(i) + 1, pieces[i], pieceWidth(pieces[i])); rc != 0)
      return rc;
  }
  return 0;
}

void applyListColumns(ListWindow& list) {
  const std::string& configuration = list.descriptor().columnConfiguration;
  if (configuration.empty() || !list.window()) return;
  const std::string format = listFormat(list);
  const std::vector<std::string> defaults = columnPieces(format);
  if (defaults.empty()) return;
  int first = 0;
  int last = 0;
  // A layout never stored yet is stored as the resource gives it, so that the
  // configuration dialog has the columns to offer at once.
  if (svc::POBIERZZAKRESKOLUMNBROWSERA(configuration, first, last) == 0) {
    storePieces(configuration, defaults);
    return;
  }
  std::string configured = joined(configuredPieces(configuration, defaults));
  if (configured != format) list.window()->setFormat(kList, configured);
}

void storeListColumns(ListWindow& list) {
  const std::string& configuration = list.descriptor().columnConfiguration;
  if (configuration.empty()) return;
  std::vector<std::string> pieces = columnPieces(listFormat(list));
  if (!pieces.empty()) storePieces(configuration, pieces);
}

void addListColumnItems(ListWindow& list, fw::PopupClass& popup) {
  const ListDescriptor& d = list.descriptor();
  addOutputItems(popup, d.spreadsheetExport);
  if (!d.columnConfiguration.empty())
    popup.setIcon(popup.addItem("Konfiguracja kolumn", kColumnsItem), "~_konfkol.ico");
}

bool takeListColumnChoice(ListWindow& list, const std::string& item) {
  const ListDescriptor& d = list.descriptor();
  if (item == kExportItem && d.spreadsheetExport) {
    exportListToSpreadsheet(list);
    return true;
  }
  if (item == kPrintItem) {
    printList(list);
    return true;
  }
  if (item != kColumnsItem || d.columnConfiguration.empty()) return false;
  if (!d.columnRight.empty() && svc::POBIERZUPRAWNIENIE(d.columnRight) != 1) {
    list.warn(d.columnRightMessage);
    return true;
  }
  // The dialog shows what is stored: the layout as the user has it now goes there first.
  storeListColumns(list);
  if (svc::KONFIGURACJA_KOLUMN(d.columnConfiguration) == 1) {
    applyListColumns(list);
    list.reload();
  }
  return true;
}

}  // namespace slownik::engine
