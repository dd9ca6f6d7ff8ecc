#include <sqlite3.h>

#include <string>

#include "framework/sql/sqlite_database.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

// Case pairs of the scripts our data is written in: Latin (with every Polish letter),
// Greek and Cyrillic. SQLite's built-in upper()/lower() fold ASCII only, so without
// this ORDER BY UPPER(NAZWA) would sort "łódź" apart from "Łódź".
char32_t upperOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t lowerOf(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}


// Maps every character of UTF-8 text; bytes that are not valid UTF-8 are copied as they are.
std::string mapCase(const unsigned char* s, int n, char32_t (*map)(char32_t)) {
  std::string out;
  out.reserve(static_cast<std::size_t>(n));
  int i = 0;
  while (i < n) {
    unsigned char b = s[i];
    int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    bool valid = length > 0 && i + length <= n;
    for (int k = 1; valid && k < length; ++k) valid = (s[i + k] & 0xC0) == 0x80;
    if (!valid) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length; ++k) c = (c << 6) | (s[i + k] & 0x3F);
    appendUtf8(out, map(c));
    i += length;
  }
  return out;
}

void caseFunction(sqlite3_context* context, int argc, sqlite3_value** argv, char32_t (*map)(char32_t)) {
  if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  const unsigned char* text = sqlite3_value_text(argv[0]);
  int bytes = sqlite3_value_bytes(argv[0]);
  if (!text) {
    sqlite3_result_error_nomem(context);
    return;
  }
  std::string mapped = mapCase(text, bytes, map);
  sqlite3_result_text(context, mapped.data(), static_cast<int>(mapped.size()), SQLITE_TRANSIENT);
}

void upperFunction(sqlite3_context* c, int argc, sqlite3_value** argv) { caseFunction(c, argc, argv, upperOf); }
void lowerFunction(sqlite3_context* c, int argc, sqlite3_value** argv) { caseFunction(c, argc, argv, lowerOf); }

}  // namespace

// Functions the translated statements call on SQLite, where its own fall short.
// Deterministic, so that indexes on UPPER(column) may use them.
void registerSqliteDialectFunctions(sqlite3* db) {
  constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunction, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "lower", 1, flags, nullptr, lowerFunction, nullptr, nullptr, nullptr);
}

}  // namespace slownik::sql
