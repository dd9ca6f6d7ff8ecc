#pragma once
#include <string>
#include <string_view>

#include "framework/sql/database.h"

namespace slownik::sql {

//! Whether the connection's role may create tables where it works. An SQLite file can
//! always be changed by whoever may write it; on PostgreSQL the login role of an office
//! may not. A failed question answers false with the reason in *status.
bool canChangeSchema(Database& db, Status* status = nullptr);

//! A failure, saying in Polish that an administrator must run the migration (the command
//! is in the text), when the schema is older than the program's and the connection may not
//! change it; success otherwise. Asks nothing of an SQLite file.
Status refuseOutdatedSchema(Database& db);

//! Readies a database for an office's real work, at every start: brings the schema to
//! the latest migration when the connection may change it, and gives a database without
//! users its administrator "Admin", whose HASLO holds `passwordToBeSet` until the first
//! log-in chooses the password. Writes no demo data, ever.
//! A schema that needs migrating under a role that may not do it: refuseOutdatedSchema().
Status prepareOfficeDatabase(Database& db, std::string_view passwordToBeSet);

}  // namespace slownik::sql
