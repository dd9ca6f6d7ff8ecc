#include "dictionaries/banking/kir_code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

const char* iconvName(CodePage page) {
  switch (page) {
    case CodePage::Cp852: return "CP852";
    case CodePage::Cp1250: return "CP1250";
    case CodePage::Utf8: return "UTF-8";
  }
  return "UTF-8";
}

// One iconv descriptor per direction, code page and thread: a descriptor keeps state
// between calls and must not be shared, and opening one per field would cost more
// than the conversion. Closed when the thread ends.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  //! Converts `in`, appending to `out`. On a byte sequence the target can't take,
  //! `onInvalid` appends its stand-in and answers how many input bytes to skip.
  template <typename OnInvalid>
  void run(std::string_view in, std::string& out, OnInvalid onInvalid) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      std::size_t done = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (done != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: a sequence the pages lack, or one cut off at the end.
      std::size_t skip = std::min(srcLeft, std::max<std::size_t>(1, onInvalid(std::string_view(src, srcLeft))));
      src += skip;
      srcLeft -= skip;
    }
  }

 private:
  iconv_t cd_;
};

Converter& converter(CodePage page, bool toUtf8) {
  thread_local Converter fromCp852("UTF-8", "CP852"), fromCp1250("UTF-8", "CP1250"), toCp852("CP852", "UTF-8"),
      toCp1250("CP1250", "UTF-8");
  if (page == CodePage::Cp852) return toUtf8 ? fromCp852 : toCp852;
  return toUtf8 ? fromCp1250 : toCp1250;
}

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
  Converter& cd = converter(page, true);
  if (!cd.ok()) {  // a C library without the page: keep what is plain ASCII
    for (char ch : bytes) sql::appendUtf8(out, static_cast<unsigned char>(ch) < 0x80 ? char32_t(ch) : kReplacement);
    return out;
  }
  // Single-byte pages: a byte the page leaves undefined is one U+FFFD.
  cd.run(bytes, out, [&out](std::string_view) {
    sql::appendUtf8(out, kReplacement);
    return std::size_t{1};
  });
  return out;
}

std::string encodeFromUtf8(std::string_view utf8, CodePage page) {
  // Made valid first, so that what iconv refuses is a character the page lacks.
  const std::string valid = decodeToUtf8(utf8, CodePage::Utf8);
  if (page == CodePage::Utf8) return valid;
  std::string out;
  out.reserve(valid.size());
  Converter& cd = converter(page, false);
  if (!cd.ok()) {
    for (std::size_t i = 0; i < valid.size();) {
      char32_t c = nextUtf8(valid, i);
      out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
  }
  cd.run(valid, out, [&out](std::string_view rest) {
    out += '?';
    std::size_t i = 0;
    nextUtf8(rest, i);  // the whole character, not one byte of it
    return i;
  });
  return out;
}

}  // namespace slownik::banking
