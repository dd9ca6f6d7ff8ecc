#include <sqlite3.h>

#include <string>

#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/sqlite_database.h"

namespace slownik::sql {
namespace {

void withoutPolishLettersFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  int bytes = sqlite3_value_bytes(argv[0]);
  std::string result = withoutPolishLetters(std::string_view(text ? text : "", static_cast<std::size_t>(bytes)));
  sqlite3_result_text(context, result.data(), static_cast<int>(result.size()), SQLITE_TRANSIENT);
}

}  // namespace

// Stored scalar functions used inside statements, registered on every SQLite connection.
void registerSqliteRoutineFunctions(sqlite3* db) {
  sqlite3_create_function_v2(db, "TK_Func_BezPolskichZnakow", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             withoutPolishLettersFunction, nullptr, nullptr, nullptr);
}

}  // namespace slownik::sql
