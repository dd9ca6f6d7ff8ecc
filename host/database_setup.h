#pragma once
#include <QString>
#include <string>

#include "framework/sql/status.h"

namespace slownik::host {

//! The embedded database of this user: <application data folder>/slownik.db.
QString defaultDatabaseFile();
//! "sqlite:///abs/path/file.db" for a file path.
std::string sqliteUrl(const QString& file);

//! Points the process at url (sql::setDatabaseUrl), creates the folder of an SQLite
//! file when missing, brings the schema to the latest migration and seeds the demo
//! data into an empty database. Safe to call at every start. On failure the status
//! says why in Polish and the process stays usable (the caller shows the text).
sql::Status prepareDatabase(const std::string& url);

}  // namespace slownik::host
