#include "framework/sql/office_database.h"

#include "framework/sql/catalogue.h"
#include "framework/sql/postgres_database.h"
#include "framework/sql/schema.h"
#include "framework/sql/seed.h"

namespace slownik::sql {
namespace {

Status addAdministrator(Database& db, std::string_view passwordToBeSet) {
  Result r;
  if (Status s = db.execute("SELECT COUNT(*) FROM UZYTKOWNIK", &r); !s) return s;
  if (r.scalar() != "0") return {};
  const std::vector<Param> params = {demo::kAdminUserId, std::string(passwordToBeSet)};
  Status s = db.execute(
      "INSERT INTO UZYTKOWNIK (ID_UZYTKOWNIKA, IDENTYFIKATOR, NAZWA, AKTYWNY, HASLO) "
      "VALUES (?, 'Admin', 'Administrator systemu', 1, ?)",
      params, nullptr);
  // Two workstations starting the new database together: the other one made him.
  if (!s && db.execute("SELECT COUNT(*) FROM UZYTKOWNIK", &r) && r.scalar() != "0") return {};
  return s;
}

}  // namespace

bool canChangeSchema(Database& db, Status* status) {
  if (status) *status = {};
  if (db.backend() != Backend::Postgres) return true;
  Result r;
  Status s = db.execute("SELECT has_schema_privilege(current_schema(), 'CREATE')", &r);
  if (status) *status = s;
  return s && !r.empty() && (r.scalar() == "t" || r.scalar() == "1" || r.scalar() == "true");
}

Status refuseOutdatedSchema(Database& db) {
  Status asked;
  if (canChangeSchema(db, &asked)) return {};
  if (!asked) return asked;
  const int latest = Catalogue::instance().latestMigration();
  const int version = schemaVersion(db);
  if (version >= latest) return {};
  Result who;
  std::string role = db.execute("SELECT current_user", &who) ? who.scalar() : std::string("?");
  return Status::failure("Baza danych nie jest gotowa do pracy: jej schemat ma wersję " + std::to_string(version) +
                         ", a program potrzebuje wersji " + std::to_string(latest) + ". Użytkownik bazy „" + role +
                         "” nie ma prawa zmieniać schematu. Administrator musi najpierw uruchomić migrację jako "
                         "właściciel bazy, np.:\n  slownik --migrate --db postgresql://właściciel@serwer/baza");
}

Status prepareOfficeDatabase(Database& db, std::string_view passwordToBeSet) {
  // The usual start, on a database in use: one statement.
  if (StartState state = readStartState(db); state.current() && state.hasUsers) return {};
  if (Status s = refuseOutdatedSchema(db); !s) return s;
  if (schemaVersion(db) < Catalogue::instance().latestMigration())
    if (Status s = migrate(db); !s) return s;
  return addAdministrator(db, passwordToBeSet);
}

}  // namespace slownik::sql
