#include <string>

#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/schema.h"

namespace slownik::sql {

// Server-side functions that statements call inside SQL (PostgreSQL side). SQLite
// registers its functions on each connection (sqlite_routine_functions.cpp).
std::vector<MigrationExtra> routineMigrationExtras() {
  std::string postgres =
      "CREATE OR REPLACE FUNCTION TK_Func_BezPolskichZnakow(tekst TEXT) RETURNS TEXT "
      "LANGUAGE SQL IMMUTABLE AS $$ SELECT translate(tekst, '" +
      std::string(polishLetters()) + "', '" + plainLetters() + "') $$";
  std::vector<MigrationExtra> extras = {{1, Backend::Postgres, postgres}};
  for (auto& e : recordLockGuardExtras()) extras.push_back(std::move(e));
  return extras;
}

}  // namespace slownik::sql
