#include "framework/runtime/picture.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace slownik::rt {
namespace {

constexpr int kMaxNumberWidth = 60;

// Splits UTF-8 text into its characters; a stray byte counts as one character.
std::vector<std::string_view> characters(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (i + len > text.size()) len = 1;
    out.push_back(text.substr(i, len));
    i += len;
  }
  return out;
}

std::size_t length(std::string_view text) { return characters(text).size(); }

std::string prefixOf(std::string_view text, std::size_t maxChars) {
  std::string out;
  std::size_t n = 0;
  for (auto c : characters(text)) {
    if (n++ == maxChars) break;
    out += c;
  }
  return out;
}

bool isBlankAt(std::string_view s, std::size_t i, std::size_t* len) {
  // Blanks, tabs, and the no-break spaces that pasted numbers carry as grouping marks.
  if (s[i] == ' ' || s[i] == '\t') return *len = 1, true;
  if (s.substr(i, 2) == "\xC2\xA0") return *len = 2, true;
  if (s.substr(i, 3) == "\xE2\x80\xAF") return *len = 3, true;
  return false;
}

std::string_view trimmed(std::string_view s) {
  std::size_t len = 0;
  while (!s.empty() && isBlankAt(s, 0, &len)) s.remove_prefix(len);
  while (!s.empty()) {
    if (s.back() == ' ' || s.back() == '\t') {
      s.remove_suffix(1);
    } else if (s.size() >= 2 && s.substr(s.size() - 2) == "\xC2\xA0") {
      s.remove_suffix(2);
    } else if (s.size() >= 3 && s.substr(s.size() - 3) == "\xE2\x80\xAF") {
      s.remove_suffix(3);
    } else {
      break;
    }
  }
  return s;
}

std::string withoutBlanks(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = 0;
    if (isBlankAt(s, i, &len)) {
      i += len;
    } else {
      out.push_back(s[i++]);
    }
  }
  return out;
}

bool readInt(std::string_view s, std::size_t* pos, int* value) {
  std::size_t start = *pos;
  int v = 0;
  while (*pos < s.size() && s[*pos] >= '0' && s[*pos] <= '9') {
    if (v > 100000) return false;
    v = v * 10 + (s[*pos] - '0');
    ++*pos;
  }
  *value = v;
  return *pos > start;
}

// A literal between tildes starting at pos (which points at the opening '~').
bool readLiteral(std::string_view s, std::size_t* pos, std::string* literal) {
  std::size_t close = s.find('~', *pos + 1);
  if (close == std::string_view::npos) return false;
  *literal = std::string(s.substr(*pos + 1, close - *pos - 1));
  *pos = close + 1;
  return true;
}

std::optional<std::int64_t> storedInteger(std::string_view value) {
  auto d = Decimal::parse(value);
  if (!d) return std::nullopt;
  auto whole = d->rounded(0);
  if (!whole || *whole != *d) return std::nullopt;
  Int128 m = whole->mantissa();
  if (m > INT32_MAX || m < INT32_MIN) return std::nullopt;
  return static_cast<std::int64_t>(m);
}

std::string hashes(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 1), '#'); }

std::string padLeft(const std::string& s, int width) {
  std::size_t len = length(s);
  if (static_cast<int>(len) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - len, ' ') + s;
}

// Key-in mask: one slot per character of the mask.
struct Slot {
  enum Kind { Literal, Digit, Upper, Lower, Any } kind = Literal;
  std::string literal;
};

bool maskSlots(std::string_view mask, std::vector<Slot>* slots) {
  auto chars = characters(mask);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    auto c = chars[i];
    if (c == "\\") {
      if (++i == chars.size()) return false;
      slots->push_back({Slot::Literal, std::string(chars[i])});
    } else if (c == "#") {
      slots->push_back({Slot::Digit, {}});
    } else if (c == "<") {
      slots->push_back({Slot::Upper, {}});
    } else if (c == ">") {
      slots->push_back({Slot::Lower, {}});
    } else if (c == "?") {
      slots->push_back({Slot::Any, {}});
    } else {
      slots->push_back({Slot::Literal, std::string(c)});
    }
  }
  return !slots->empty();
}

// Polish letters in both cases; the ASCII ones are handled arithmetically.
constexpr std::string_view kPolishLower[] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż"};
constexpr std::string_view kPolishUpper[] = {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"};

bool isLetter(std::string_view c) {
  if (c.size() == 1) return (c[0] >= 'a' && c[0] <= 'z') || (c[0] >= 'A' && c[0] <= 'Z');
  for (std::size_t i = 0; i < std::size(kPolishLower); ++i) {
    if (c == kPolishLower[i] || c == kPolishUpper[i]) return true;
  }
  return false;
}

std::string withCase(std::string_view c, bool upper) {
  if (c.size() == 1) {
    char ch = c[0];
    if (upper && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (!upper && ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return std::string(1, ch);
  }
  for (std::size_t i = 0; i < std::size(kPolishLower); ++i) {
    if (c == kPolishLower[i] || c == kPolishUpper[i]) return std::string(upper ? kPolishUpper[i] : kPolishLower[i]);
  }
  return std::string(c);
}

std::nullopt_t fail(std::string* error, std::string_view picture, const std::string& why) {
  if (error) *error = "Nieprawidłowy format pola \"" + std::string(picture) + "\": " + why;
  return std::nullopt;
}

bool refuse(std::string* why, std::string text) {
  *why = std::move(text);
  return false;
}

}  // namespace

std::optional<Picture> Picture::fromString(std::string_view picture, std::string* error) {
  Picture p;
  p.text_ = std::string(picture);
  std::string_view s = picture;
  if (!s.empty() && s.front() == '@') s.remove_prefix(1);
  if (s.empty()) return fail(error, picture, "pusty format");
  char type = s.front();
  std::size_t pos = 1;
  auto trailing = [&]() {
    return fail(error, picture, "nieoczekiwany znak '" + std::string(s.substr(pos, 1)) + "'");
  };

  switch (type) {
    case 's':
    case 'S': {
      p.kind_ = Kind::String;
      if (!readInt(s, &pos, &p.width_) || p.width_ < 1) return fail(error, picture, "brak szerokości");
      if (pos != s.size()) return trailing();
      return p;
    }
    case 'd':
    case 'D': {
      p.kind_ = Kind::Date;
      int form = 0;
      if (!readInt(s, &pos, &form) || pos != s.size() || form != 17) {
        return fail(error, picture, "nieobsługiwany format daty");
      }
      p.width_ = 10;
      p.twoDigitYears_ = type == 'D' ? TwoDigitYears::Past : TwoDigitYears::NearFuture;
      return p;
    }
    case 't':
    case 'T': {
      p.kind_ = Kind::Time;
      if (!readInt(s, &pos, &p.timeForm_) || pos != s.size()) {
        return fail(error, picture, "nieobsługiwany format czasu");
      }
      switch (p.timeForm_) {
        case 1: case 7: p.width_ = 5; break;
        case 2: p.width_ = 4; break;
        case 4: case 8: p.width_ = 8; break;
        case 5: p.width_ = 6; break;
        default: return fail(error, picture, "nieobsługiwany format czasu");
      }
      return p;
    }
    case 'e':
    case 'E': {
      p.kind_ = Kind::Exponent;
      if (!readInt(s, &pos, &p.width_) || p.width_ < 1 || p.width_ > kMaxNumberWidth) {
        return fail(error, picture, "brak szerokości");
      }
      if (pos < s.size() && s[pos] == '.') {
        ++pos;
        if (!readInt(s, &pos, &p.decimals_) || p.decimals_ > 17) {
          return fail(error, picture, "błędna liczba miejsc po przecinku");
        }
      }
      if (pos != s.size()) return trailing();
      return p;
    }
    case 'k':
    case 'K': {
      p.kind_ = Kind::KeyIn;
      if (s.size() < 3 || (s.back() != 'K' && s.back() != 'k')) {
        return fail(error, picture, "maska musi być zamknięta literą K");
      }
      p.mask_ = std::string(s.substr(1, s.size() - 2));
      std::vector<Slot> slots;
      if (!maskSlots(p.mask_, &slots)) return fail(error, picture, "błędna maska");
      p.width_ = static_cast<int>(slots.size());
      return p;
    }
    case 'n':
    case 'N': {
      p.kind_ = Kind::Number;
      std::string why;
      if (!p.readNumberForm(s.substr(1), &why)) return fail(error, picture, why);
      return p;
    }
    default:
      return fail(error, picture, "nieznany typ '" + std::string(1, type) + "'");
  }
}

bool Picture::readNumberForm(std::string_view s, std::string* why) {
  std::size_t pos = 0;
  if (pos < s.size() && s[pos] == '-') {
    leadingSign_ = true;
    ++pos;
  }
  if (pos < s.size() && s[pos] == '~') {
    if (!readLiteral(s, &pos, &prefix_)) return refuse(why, "brak zamykającego znaku ~");
  }
  if (pos < s.size() && s[pos] == '_') {
    grouping_ = 0;
    ++pos;
  }
  if (!readInt(s, &pos, &width_) || width_ < 1 || width_ > kMaxNumberWidth) {
    return refuse(why, "brak szerokości");
  }
  std::string marks;
  while (pos < s.size() && marks.size() < 2 && (s[pos] == '.' || s[pos] == '`' || s[pos] == '_')) {
    marks.push_back(s[pos++]);
  }
  auto markChar = [](char m) { return m == '`' ? ',' : m == '.' ? '.' : '\0'; };
  char decimalMark = 0;
  if (marks.size() == 2) {
    if (marks[1] == '_' || marks[0] == marks[1]) return refuse(why, "błędne separatory");
    grouping_ = markChar(marks[0]);
    decimalMark = marks[1];
  } else if (marks.size() == 1) {
    if (marks[0] == '_') {
      grouping_ = 0;
    } else {
      decimalMark = marks[0];
    }
  }
  if (decimalMark) {
    decimalSeparator_ = markChar(decimalMark);
    if (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
      readInt(s, &pos, &decimals_);
      if (decimals_ > Decimal::kMaxScale || decimals_ >= width_) {
        return refuse(why, "błędna liczba miejsc po przecinku");
      }
    }
  }
  if (decimalSeparator_ == grouping_) return refuse(why, "błędne separatory");
  if (pos < s.size() && s[pos] == '-') {
    if (leadingSign_) return refuse(why, "podwójny znak minus");
    trailingSign_ = true;
    ++pos;
  }
  if (pos < s.size() && s[pos] == '~') {
    if (!readLiteral(s, &pos, &suffix_)) return refuse(why, "brak zamykającego znaku ~");
  }
  if (pos != s.size()) return refuse(why, "nieoczekiwany znak '" + std::string(s.substr(pos, 1)) + "'");
  return true;
}

std::string Picture::formatNumber(const Decimal& value) const {
  auto r = value.rounded(decimals_);
  if (!r) return prefix_ + hashes(width_) + suffix_;
  std::string digits = r->abs().toString();
  std::string whole = digits.substr(0, digits.find('.'));
  std::string body;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (grouping_ && i > 0 && (whole.size() - i) % 3 == 0) body.push_back(grouping_);
    body.push_back(whole[i]);
  }
  if (decimals_ > 0) body += decimalSeparator_ + digits.substr(whole.size() + 1);
  // An unsigned picture still shows the minus of a negative value: dropping it would
  // show a different number.
  if (r->isNegative()) {
    body = trailingSign_ ? body + "-" : "-" + body;
  } else if (trailingSign_) {
    body += " ";
  }
  if (static_cast<int>(body.size()) > width_) return prefix_ + hashes(width_) + suffix_;
  return prefix_ + padLeft(body, width_) + suffix_;
}

std::string Picture::format(const Decimal& value) const {
  if (kind_ == Kind::Number) return formatNumber(value);
  return format(value.toString());
}

std::string Picture::format(std::string_view storedValue) const {
  switch (kind_) {
    case Kind::String:
      return width_ > 0 ? prefixOf(storedValue, static_cast<std::size_t>(width_)) : std::string(storedValue);
    case Kind::Number: {
      std::string_view v = trimmed(storedValue);
      if (v.empty()) return formatNumber(Decimal());
      if (auto d = Decimal::parse(v)) return formatNumber(*d);
      // Floating columns may come back in exponent form ("1e-05").
      double x = 0;
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
      if (ec == std::errc() && end == v.data() + v.size()) {
        if (auto d = Decimal::fromDouble(x, decimals_)) return formatNumber(*d);
        return prefix_ + hashes(width_) + suffix_;
      }
      return std::string(storedValue);
    }
    case Kind::Date: {
      std::string_view v = trimmed(storedValue);
      if (v.empty()) return "";
      auto day = storedInteger(v);
      if (!day) return std::string(storedValue);
      if (*day == 0) return "";
      std::string text = formatShortDate(static_cast<std::int32_t>(*day));
      return text.empty() ? hashes(width_) : text;
    }
    case Kind::Time: {
      std::string_view v = trimmed(storedValue);
      if (v.empty()) return "";
      auto time = storedInteger(v);
      if (!time) return std::string(storedValue);
      if (*time == 0) return "";
      bool seconds = timeForm_ == 4 || timeForm_ == 5 || timeForm_ == 8;
      std::string text = formatTime(static_cast<std::int32_t>(*time), seconds);
      if (text.empty()) return hashes(width_);
      if (timeForm_ == 2 || timeForm_ == 5) std::erase(text, ':');
      return text;
    }
    case Kind::Exponent: {
      std::string_view v = trimmed(storedValue);
      double x = 0;
      if (!v.empty()) {
        auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
        if (ec != std::errc() || end != v.data() + v.size()) return std::string(storedValue);
      }
      char buffer[64];
      auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, decimals_);
      std::string text = ec == std::errc() ? std::string(buffer, end) : std::string();
      if (text.empty() || static_cast<int>(text.size()) > width_) return hashes(width_);
      return padLeft(text, width_);
    }
    case Kind::KeyIn:
      return formatKeyIn(storedValue);
  }
  return std::string(storedValue);
}

std::string Picture::formatKeyIn(std::string_view value) const {
  if (value.empty()) return "";
  std::string shown;
  if (parseKeyIn(value, &shown)) return shown;
  return std::string(value);
}

bool Picture::parse(std::string_view text, std::string* value) const { return parse(text, value, today()); }

bool Picture::parse(std::string_view text, std::string* value, std::int32_t referenceDay) const {
  switch (kind_) {
    case Kind::String:
      *value = width_ > 0 ? prefixOf(text, static_cast<std::size_t>(width_)) : std::string(text);
      return true;
    case Kind::Number:
      return parseNumber(text, value);
    case Kind::Date: {
      if (trimmed(text).empty()) return *value = "0", true;
      auto day = parseDate(text, twoDigitYears_, referenceDay);
      if (!day) return false;
      *value = std::to_string(*day);
      return true;
    }
    case Kind::Time: {
      std::string_view t = trimmed(text);
      if (t.empty()) return *value = "0", true;
      auto time = parseTime(t);
      if (!time) return false;
      *value = std::to_string(*time);
      return true;
    }
    case Kind::Exponent: {
      std::string t = withoutBlanks(text);
      if (t.empty()) return *value = "0", true;
      for (char& c : t) {
        if (c == ',') c = '.';
      }
      double x = 0;
      auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), x);
      if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(x)) return false;
      char buffer[64];
      auto [e2, ec2] = std::to_chars(buffer, buffer + sizeof buffer, x);
      if (ec2 != std::errc()) return false;
      *value = std::string(buffer, e2);
      return true;
    }
    case Kind::KeyIn: {
      if (text.empty()) return *value = "", true;
      return parseKeyIn(text, value);
    }
  }
  return false;
}

bool Picture::parseNumber(std::string_view text, std::string* value) const {
  std::string_view t = trimmed(text);
  std::string_view pre = trimmed(prefix_);
  std::string_view suf = trimmed(suffix_);
  if (!pre.empty() && t.substr(0, pre.size()) == pre) t = trimmed(t.substr(pre.size()));
  if (!suf.empty() && t.size() >= suf.size() && t.substr(t.size() - suf.size()) == suf) {
    t = trimmed(t.substr(0, t.size() - suf.size()));
  }
  std::string digits = withoutBlanks(t);
  if (digits.empty()) {
    *value = Decimal(0, decimals_).toString();
    return true;
  }
  bool negative = false;
  if (digits.front() == '-' || digits.front() == '+') {
    negative = digits.front() == '-';
    digits.erase(0, 1);
  } else if (digits.back() == '-') {
    negative = true;
    digits.pop_back();
  }
  if (grouping_ == '.' || grouping_ == ',') std::erase(digits, grouping_);
  if (digits.empty() || digits.front() == '-' || digits.front() == '+') return false;
  auto d = Decimal::parse(digits);
  if (!d) return false;
  auto r = d->rounded(decimals_);
  if (!r) return false;
  if (negative) r = r->negated();
  if (r->isNegative() && !isSigned()) return false;
  std::string shown = formatNumber(*r);
  if (shown.find('#') != std::string::npos) return false;
  *value = r->toString();
  return true;
}

bool Picture::parseKeyIn(std::string_view text, std::string* value) const {
  std::vector<Slot> slots;
  if (!maskSlots(mask_, &slots)) return false;
  auto input = characters(text);
  std::size_t in = 0;
  std::string out;
  for (const Slot& slot : slots) {
    if (slot.kind == Slot::Literal) {
      // A literal may be typed or left out; it is filled in either way.
      if (in < input.size() && input[in] == slot.literal) ++in;
      out += slot.literal;
      continue;
    }
    if (in == input.size()) return false;
    std::string_view c = input[in++];
    switch (slot.kind) {
      case Slot::Digit:
        if (c.size() != 1 || c[0] < '0' || c[0] > '9') return false;
        out += c;
        break;
      case Slot::Upper:
      case Slot::Lower:
        if (!isLetter(c)) return false;
        out += withCase(c, slot.kind == Slot::Upper);
        break;
      default:
        out += c;
        break;
    }
  }
  if (in != input.size()) return false;
  *value = out;
  return true;
}

}  // namespace slownik::rt
