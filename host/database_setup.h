#pragma once
#include <QString>
#include <string>

#include "framework/sql/status.h"

namespace slownik::host {

//! The embedded database of this user: <application data folder>/slownik.db.
QString defaultDatabaseFile();
//! "sqlite:///abs/path/file.db" for a file path.
std::string sqliteUrl(const QString& file);

//! What a start may write into the database besides the schema.
enum class StartData {
  Demo,    //!< the demo data, into a database that holds none of its own yet
  Office,  //!< never demo data: a database without users gets "Admin", password to be set
};

//! Points the process at url (sql::setDatabaseUrl), creates the folder of an SQLite
//! file when missing, brings the schema to the latest migration and writes `data`.
//! Safe to call at every start. On failure the status says why in Polish (an address
//! in it has its password masked) and the process stays usable (the caller shows the text).
sql::Status prepareDatabase(const std::string& url, StartData data = StartData::Demo);

}  // namespace slownik::host
