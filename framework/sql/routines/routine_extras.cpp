#include <string>

#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/schema.h"

namespace slownik::sql {

// Server-side functions that statements call inside SQL (PostgreSQL side). SQLite
// registers its functions on each connection (sqlite_routine_functions.cpp).
std::vector<MigrationExtra> routineMigrationExtras() {
  std::string postgres =
      "CREATE OR REPLACE FUNCTION TK_Func_BezPolskichZnakow(tekst TEXT) RETURNS TEXT "
      "LANGUAGE SQL IMMUTABLE AS $$ SELECT translate(tekst, '" +
      std::string(polishLetters()) + "', '" + plainLetters() + "') $$";
  return {{1, Backend::Postgres, postgres}};
}

}  // namespace slownik::sql
