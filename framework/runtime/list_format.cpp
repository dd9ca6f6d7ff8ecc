#include "framework/runtime/list_format.h"

#include <algorithm>

namespace slownik::rt {

namespace {
// Dialog units an icon takes with its margins: a column this narrow has room for nothing else.
constexpr int kIconOnlyWidth = 16;
}  // namespace

std::string ListColumn::display(std::string_view stored) const {
  if (stored.empty()) return {};
  if (icon || transparentIcon) {
    // The number behind an icon is what chose it; text beside it would be cut to "0…".
    if (width <= kIconOnlyWidth) return {};
  }
  if ((icon || transparentIcon) && picture.isNumeric()) {
    auto number = Decimal::parse(stored);
    if (number && number->isZero()) return {};
  }
  std::string shown = picture.format(stored);
  const auto first = shown.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return shown.substr(first, shown.find_last_not_of(' ') - first + 1);
}

int ListColumn::fieldCount() const {
  return 1 + (cellColours ? 4 : 0) + (icon || transparentIcon ? 1 : 0) + (tree ? 1 : 0);
}

namespace {

// Reads one list-format string; remembers the first error with its position.
class ListFormatReader {
 public:
  explicit ListFormatReader(std::string_view text) : s_(text) {}

  std::optional<ListFormat> read(std::string* error) {
    ListFormat out;
    int openGroup = -1;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '[') {
        if (openGroup >= 0) return failAt(error, "grupa wewnątrz grupy");
        openGroup = static_cast<int>(out.columns.size());
        ++pos_;
      } else if (c == ']') {
        if (openGroup < 0) return failAt(error, "znak ']' bez otwierającego '['");
        if (openGroup == static_cast<int>(out.columns.size())) return failAt(error, "pusta grupa");
        ++pos_;
        ListGroup group;
        group.firstColumn = openGroup;
        group.columnCount = static_cast<int>(out.columns.size()) - openGroup;
        if (!readGroupTail(&group)) return failAt(error, why_);
        int index = static_cast<int>(out.groups.size());
        for (int i = group.firstColumn; i < group.firstColumn + group.columnCount; ++i) {
          out.columns[static_cast<std::size_t>(i)].group = index;
        }
        out.groups.push_back(std::move(group));
        openGroup = -1;
      } else if (isDigit(c)) {
        ListColumn column;
        if (!readColumn(&column)) return failAt(error, why_);
        out.columns.push_back(std::move(column));
      } else {
        return failAt(error, "oczekiwano szerokości kolumny");
      }
    }
    if (openGroup >= 0) return failAt(error, "brak zamykającego znaku ']'");
    if (out.columns.empty()) return failAt(error, "brak kolumn");
    assignFields(&out);
    return out;
  }

 private:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  bool failWith(std::string why) {
    why_ = std::move(why);
    return false;
  }

  std::optional<ListFormat> failAt(std::string* error, const std::string& why) {
    if (error) {
      // Positions count characters, not bytes: headers are Polish.
      std::size_t chars = 0;
      for (std::size_t i = 0; i < std::min(pos_, s_.size()); ++i) {
        if ((static_cast<unsigned char>(s_[i]) & 0xC0) != 0x80) ++chars;
      }
      *error = "Błąd w formacie listy na pozycji " + std::to_string(chars + 1) + ": " + why;
    }
    return std::nullopt;
  }

  bool readNumber(int* value) {
    std::size_t start = pos_;
    int v = 0;
    while (pos_ < s_.size() && isDigit(s_[pos_])) {
      if (v > 100000) return failWith("za duża liczba");
      v = v * 10 + (s_[pos_++] - '0');
    }
    if (pos_ == start) return failWith("oczekiwano liczby");
    *value = v;
    return true;
  }

  // "(n)" after an alignment or a style letter.
  bool readParenthesised(int* value) {
    if (pos_ >= s_.size() || s_[pos_] != '(') return failWith("oczekiwano znaku '('");
    ++pos_;
    if (!readNumber(value)) return false;
    if (pos_ >= s_.size() || s_[pos_] != ')') return failWith("brak zamykającego znaku ')'");
    ++pos_;
    return true;
  }

  bool readAlignment(ListAlignment* alignment) {
    if (pos_ >= s_.size()) return false;
    switch (s_[pos_]) {
      case 'L': *alignment = ListAlignment::Left; break;
      case 'R': *alignment = ListAlignment::Right; break;
      case 'C': *alignment = ListAlignment::Center; break;
      case 'D': *alignment = ListAlignment::Decimal; break;
      default: return false;
    }
    ++pos_;
    return true;
  }

  // "~header~" optionally followed by the header's own alignment and indent.
  bool readHeader(std::string* header, ListAlignment* alignment, int* indent) {
    std::size_t close = s_.find('~', pos_ + 1);
    if (close == std::string_view::npos) return failWith("brak zamykającego znaku '~'");
    *header = std::string(s_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    if (readAlignment(alignment)) {
      *indent = 0;
      if (pos_ < s_.size() && s_[pos_] == '(' && !readParenthesised(indent)) return false;
    }
    return true;
  }

  // Flags may stand before the header and again after the picture.
  bool readFlags(ListColumn* column) {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      switch (c) {
        case '|': column->rightBorder = true; break;
        case 'M': column->resizable = true; break;
        case 'F': column->fixed = true; break;
        case 'I': column->icon = true; break;
        case 'J': column->transparentIcon = true; break;
        case 'T': column->tree = true; break;
        case '*': column->cellColours = true; break;
        case '/': column->lineBreakAfter = true; break;
        case 'Z':
          ++pos_;
          if (!readParenthesised(&column->style)) return false;
          continue;
        case '#': {
          std::size_t numberAt = ++pos_;
          int n = 0;
          if (!readNumber(&n)) return false;
          if (pos_ >= s_.size() || s_[pos_] != '#') return failWith("brak zamykającego znaku '#'");
          if (n < 1) {
            pos_ = numberAt;
            return failWith("numer pola musi być większy od zera");
          }
          ++pos_;
          column->field = n;
          column->explicitField = true;
          continue;
        }
        default:
          if (c == '~' || c == '@' || c == '[' || c == ']' || isDigit(c)) return true;
          return failWith(std::string("nieznany znacznik '") + c + "'");
      }
      ++pos_;
    }
    return true;
  }

  bool readPicture(ListColumn* column) {
    std::size_t start = pos_;
    std::size_t i = pos_ + 1;
    // The picture may carry a literal between tildes, which may hold any character.
    while (i < s_.size() && s_[i] != '@') {
      if (s_[i] == '~') {
        std::size_t close = s_.find('~', i + 1);
        if (close == std::string_view::npos) return failWith("brak zamykającego znaku '~' w formacie pola");
        i = close;
      }
      ++i;
    }
    if (i >= s_.size()) return failWith("brak zamykającego znaku '@'");
    column->pictureText = std::string(s_.substr(start + 1, i - start - 1));
    std::string why;
    auto picture = Picture::fromString(column->pictureText, &why);
    if (!picture) return failWith(why);
    column->picture = *picture;
    pos_ = i + 1;
    return true;
  }

  bool readColumn(ListColumn* column) {
    if (!readNumber(&column->width)) return false;
    if (!readAlignment(&column->alignment)) return failWith("oczekiwano wyrównania L, R, C lub D");
    if (pos_ < s_.size() && s_[pos_] == '(' && !readParenthesised(&column->indent)) return false;
    column->headerAlignment = column->alignment;
    column->headerIndent = column->indent;
    if (!readFlags(column)) return false;
    if (pos_ < s_.size() && s_[pos_] == '~' &&
        !readHeader(&column->header, &column->headerAlignment, &column->headerIndent)) {
      return false;
    }
    if (pos_ < s_.size() && s_[pos_] == '@' && !readPicture(column)) return false;
    return readFlags(column);
  }

  bool readGroupTail(ListGroup* group) {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '|') {
        group->rightBorder = true;
      } else if (c == 'M') {
        group->resizable = true;
      } else if (c == 'F') {
        group->fixed = true;
      } else if (c == '~') {
        return readHeader(&group->header, &group->headerAlignment, &group->headerIndent);
      } else if (c == '[' || isDigit(c)) {
        return true;
      } else {
        return failWith(std::string("nieznany znacznik grupy '") + c + "'");
      }
      ++pos_;
    }
    return true;
  }

  static void assignFields(ListFormat* format) {
    int next = 1;
    for (ListColumn& column : format->columns) {
      if (!column.explicitField) column.field = next;
      int extra = column.field + 1;
      if (column.cellColours) {
        column.colourField = extra;
        extra += 4;
      }
      if (column.icon || column.transparentIcon) column.iconField = extra++;
      if (column.tree) column.treeField = extra++;
      next = extra;
      format->fieldCount = std::max(format->fieldCount, extra - 1);
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::string why_;
};

}  // namespace

std::optional<ListFormat> ListFormat::parse(std::string_view format, std::string* error) {
  return ListFormatReader(format).read(error);
}

}  // namespace slownik::rt
