#include "framework/runtime/keys.h"

#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace slownik::rt {
namespace {

struct NamedKey {
  std::string_view name;
  int code;
};

// The first name of a code is the one keyName() shows.
constexpr std::array kNamedKeys{
    NamedKey{"Enter", key::Enter},   NamedKey{"Esc", key::Esc},       NamedKey{"Tab", key::Tab},
    NamedKey{"Ins", key::Ins},       NamedKey{"Del", key::Del},       NamedKey{"Space", key::Space},
    NamedKey{"Backspace", key::Backspace}, NamedKey{"PgUp", key::PgUp}, NamedKey{"PgDn", key::PgDn},
    NamedKey{"Home", key::Home},     NamedKey{"End", key::End},       NamedKey{"Left", key::Left},
    NamedKey{"Up", key::Up},         NamedKey{"Right", key::Right},   NamedKey{"Down", key::Down},
    NamedKey{"MouseLeft", key::MouseLeft}, NamedKey{"MouseRight", key::MouseRight},
    NamedKey{"MouseCenter", key::MouseCenter}, NamedKey{"MouseLeft2", key::MouseLeft2},
    NamedKey{"Insert", key::Ins},    NamedKey{"Delete", key::Del},    NamedKey{"Escape", key::Esc},
    NamedKey{"Return", key::Enter},  NamedKey{"PageUp", key::PgUp},   NamedKey{"PageDown", key::PgDn},
};

// Upper and lower case of the Polish letters, in the order of their key codes.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kPolishLetters{{
    {"Ą", "ą"}, {"Ć", "ć"}, {"Ę", "ę"}, {"Ł", "ł"}, {"Ń", "ń"}, {"Ó", "ó"}, {"Ś", "ś"}, {"Ź", "ź"}, {"Ż", "ż"},
}};
static_assert(key::FirstPolishLetter + static_cast<int>(kPolishLetters.size()) - 1 == key::LastPolishLetter);

std::optional<int> polishLetterKey(std::string_view utf8) {
  for (std::size_t i = 0; i < kPolishLetters.size(); ++i)
    if (utf8 == kPolishLetters[i].first || utf8 == kPolishLetters[i].second) return key::FirstPolishLetter + int(i);
  return std::nullopt;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<int> baseKeyFromName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const auto& k : kNamedKeys) {
    if (equalsIgnoreCase(k.name, name)) return k.code;
  }
  if ((name[0] == 'F' || name[0] == 'f') && name.size() >= 2 && name.size() <= 3) {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12) return key::F1 + n - 1;
    return std::nullopt;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) return key::letter(name[0]);
  if (auto polish = polishLetterKey(name)) return polish;
  // A key without a name, by its virtual-key number ("Ctrl+222", the history key).
  int n = 0;
  auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
  if (ec == std::errc() && end == name.data() + name.size() && n > 0 && n < 256) return n;
  return std::nullopt;
}

}  // namespace

std::optional<int> keyFromName(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.empty()) return std::nullopt;
  if (std::isdigit(static_cast<unsigned char>(name[0])) && name.size() > 1) {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n > 0 && n < 2048) return n;
    return std::nullopt;
  }
  int modifiers = 0;
  for (;;) {
    size_t plus = name.find('+');
    // A trailing "+" alone would be the plus key; we have no name for it.
    if (plus == std::string_view::npos || plus + 1 == name.size()) break;
    std::string_view mod = name.substr(0, plus);
    if (equalsIgnoreCase(mod, "Ctrl")) {
      modifiers |= key::CtrlMod;
    } else if (equalsIgnoreCase(mod, "Shift")) {
      modifiers |= key::ShiftMod;
    } else if (equalsIgnoreCase(mod, "Alt")) {
      modifiers |= key::AltMod;
    } else {
      return std::nullopt;
    }
    name.remove_prefix(plus + 1);
  }
  if (equalsIgnoreCase(name, "Alt") && modifiers == 0) return key::AltAlone;
  auto base = baseKeyFromName(name);
  if (!base) return std::nullopt;
  return *base | modifiers;
}

std::string keyName(int code) {
  std::string out;
  if (code & key::CtrlMod) out += "Ctrl+";
  if (code & key::ShiftMod) out += "Shift+";
  if (code & key::AltMod) out += "Alt+";
  int base = key::base(code);
  if (base == 0) {
    if (!out.empty()) out.pop_back();  // a modifier alone: "Alt"
    return out;
  }
  for (const auto& k : kNamedKeys) {
    if (k.code == base) return out + std::string(k.name);
  }
  if (base >= key::F1 && base <= key::F12) return out + "F" + std::to_string(base - key::F1 + 1);
  if ((base >= '0' && base <= '9') || (base >= 'A' && base <= 'Z')) return out + static_cast<char>(base);
  if (key::isPolishLetter(base)) return out + std::string(kPolishLetters[base - key::FirstPolishLetter].first);
  return out + std::to_string(base);
}

std::optional<int> keyOfCharacter(std::string_view utf8) {
  if (utf8.size() == 1) {
    const char c = utf8[0];
    if (c == ' ') return key::Space;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return key::letter(c);
    return std::nullopt;
  }
  return polishLetterKey(utf8);
}

std::string characterOfKey(int code) {
  if (code & (key::CtrlMod | key::AltMod)) return {};
  const int base = key::base(code);
  if (base == key::Space) return " ";
  if ((base >= '0' && base <= '9') || (base >= 'A' && base <= 'Z')) return std::string(1, static_cast<char>(base));
  if (key::isPolishLetter(base)) return std::string(kPolishLetters[base - key::FirstPolishLetter].first);
  return {};
}

}  // namespace slownik::rt
