#include "dictionaries/banking/kir_code_page.h"

#include <array>
#include <cctype>
#include <cstdint>

#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Upper halves (0x80-0xFF) of the two code pages; the lower halves are ASCII.
constexpr std::array<char16_t, 128> kCp852 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7,
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106,
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E,
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A,
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE,
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4,
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};

// 0xFFFD marks the five bytes the page leaves undefined.
constexpr std::array<char16_t, 128> kCp1250 = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const std::array<char16_t, 128>& tableOf(CodePage page) { return page == CodePage::Cp852 ? kCp852 : kCp1250; }


// Reads one UTF-8 character at text[i], advancing i; a broken or overlong sequence
// yields U+FFFD and consumes one byte, so decoding always makes progress.
char32_t nextUtf8(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  char32_t c = lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return c;
}

std::string upperAlnum(std::string_view text) {
  std::string out;
  for (char ch : text)
    if (std::isalnum(static_cast<unsigned char>(ch))) out += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return out;
}

}  // namespace

std::optional<CodePage> codePageFromLanguageDriver(unsigned char driver) {
  switch (driver) {
    case 0x64:  // Eastern European MS-DOS
      return CodePage::Cp852;
    case 0xC8:  // Eastern European Windows
    case 0x57:  // "ANSI": the system's Windows page, 1250 on the Polish systems these files come from
      return CodePage::Cp1250;
    default:
      return std::nullopt;
  }
}

unsigned char languageDriverOf(CodePage page) {
  switch (page) {
    case CodePage::Cp852: return 0x64;
    case CodePage::Cp1250: return 0xC8;
    case CodePage::Utf8: return 0;
  }
  return 0;
}

std::optional<CodePage> codePageFromCpg(std::string_view cpgText) {
  // "CP852", "IBM852", "852", "Windows-1250", "ANSI 1250", "UTF-8", "utf8": compare the
  // letters and digits only.
  std::string key = upperAlnum(cpgText);
  for (std::string_view prefix : {"WINDOWS", "ANSI", "CP", "IBM", "OEM"}) {
    if (key.starts_with(prefix)) {
      key.erase(0, prefix.size());
      break;
    }
  }
  if (key == "852") return CodePage::Cp852;
  if (key == "1250") return CodePage::Cp1250;
  if (key == "UTF8") return CodePage::Utf8;
  return std::nullopt;
}

std::string decodeToUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  if (page == CodePage::Utf8) {
    for (std::size_t i = 0; i < bytes.size();) sql::appendUtf8(out, nextUtf8(bytes, i));
    return out;
  }
  const auto& table = tableOf(page);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    sql::appendUtf8(out, b < 0x80 ? char32_t(b) : char32_t(table[b - 0x80]));
  }
  return out;
}

std::string encodeFromUtf8(std::string_view utf8, CodePage page) {
  if (page == CodePage::Utf8) return decodeToUtf8(utf8, CodePage::Utf8);
  const auto& table = tableOf(page);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = nextUtf8(utf8, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    char encoded = '?';
    for (std::size_t k = 0; k < table.size(); ++k) {
      if (table[k] == c && c != kReplacement) {
        encoded = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += encoded;
  }
  return out;
}

}  // namespace slownik::banking
