#include "framework/services/sql_services.h"

#include "framework/services/progress_window.h"

#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/service_database.h"

namespace slownik::svc {
namespace {

// The module's statement on this thread's connection. The error state tells the
// outcome: cleared on success, code and text on failure. Never throws.
bool runModuleSql(std::string_view sql, sql::Result* out) {
  if (!serviceRun(sql, out)) return false;
  rt::clearError();
  return true;
}

void runInto(ResultTable& table, std::string_view sql) {
  table.close();
  sql::Result rows;
  if (runModuleSql(sql, &rows)) table.load(std::move(rows));
}

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

void EXECSQL(std::string_view sql) { runInto(VAX(), sql); }

void ESQL2(std::string_view sql) { runInto(VAX2(), sql); }

void EXECSQLWIN(std::string_view sql, std::string_view progressText) {
  runBehindProgress(progressText, [&] { runInto(VAX(), sql); });
}

std::string FUNCSQL(std::string_view sql, int keepBlanks) {
  sql::Result rows;
  if (!runModuleSql(sql, &rows)) return {};
  std::string value = rows.scalar();
  return keepBlanks ? value : clipRight(std::move(value));
}

void CLOSESQL() {
  VAX().close();
  VAX2().close();
}

}  // namespace slownik::svc
