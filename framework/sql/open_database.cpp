#include "framework/sql/database.h"
#include "framework/sql/postgres_database.h"
#include "framework/sql/sqlite_database.h"

namespace slownik::sql {
namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

std::unique_ptr<Database> openDatabase(std::string_view url, Status* status) {
  std::string u(url);
  if (startsWith(u, "sqlite://")) {
    std::string path = u.substr(9);  // "sqlite:///tmp/a.db" → "/tmp/a.db"
    if (path.empty()) path = ":memory:";
    return SqliteDatabase::open(u, path, status);
  }
  if (startsWith(u, "sqlite::memory:")) return SqliteDatabase::open(u, ":memory:", status);
  if (startsWith(u, "postgresql://") || startsWith(u, "postgres://")) {
    // "?schema=x" is ours, not libpq's: take it off before libpq sees the URL.
    std::string conninfo = u;
    std::string schema;
    if (auto q = conninfo.find("schema="); q != std::string::npos && q > 0 &&
                                           (conninfo[q - 1] == '?' || conninfo[q - 1] == '&')) {
      auto end = conninfo.find('&', q);
      schema = conninfo.substr(q + 7, end == std::string::npos ? std::string::npos : end - q - 7);
      conninfo.erase(q - 1, (end == std::string::npos ? conninfo.size() : end) - (q - 1));
      if (conninfo[q - 1] == '&' && conninfo.find('?') == std::string::npos) conninfo[q - 1] = '?';
    }
    return PostgresDatabase::open(u, conninfo, schema, status);
  }
  if (status) *status = Status::failure("Nieznany adres bazy danych: " + maskedUrl(u));
  return nullptr;
}

}  // namespace slownik::sql
