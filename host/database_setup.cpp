#include "host/database_setup.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "framework/sql/office_database.h"
#include "framework/sql/postgres_database.h"
#include "framework/sql/schema.h"
#include "framework/sql/seed.h"
#include "framework/sql/thread_database.h"
#include "host/password.h"

namespace slownik::host {

QString defaultDatabaseFile() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (dir.isEmpty()) dir = QDir::homePath() + "/.slownik";
  return QDir(dir).filePath("slownik.db");
}

std::string sqliteUrl(const QString& file) {
  return "sqlite://" + QFileInfo(file).absoluteFilePath().toStdString();
}

sql::Status prepareDatabase(const std::string& url, StartData data) {
  const std::string sqlitePrefix = "sqlite://";
  if (url.rfind(sqlitePrefix, 0) == 0 && url != "sqlite::memory:") {
    QFileInfo file(QString::fromStdString(url.substr(sqlitePrefix.size())));
    if (!QDir().mkpath(file.absolutePath()))
      return sql::Status::failure("Nie można utworzyć folderu bazy danych: " + file.absolutePath().toStdString());
  }
  sql::setDatabaseUrl(url);
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db)
    return sql::Status::failure("Nie można otworzyć bazy danych " + sql::maskedUrl(url) + ": " + status.message());
  if (data == StartData::Office) return sql::prepareOfficeDatabase(*db, kPasswordToBeSet);
  // The usual start, on a database in use: one statement before the log-in.
  if (sql::StartState state = sql::readStartState(*db); state.current() && state.holdsData) return {};
  // --demo with a role that may not migrate gets the same plain refusal as an office start.
  if (sql::Status s = sql::refuseOutdatedSchema(*db); !s) return s;
  // The demo's seeding brings the schema up to date first.
  if (sql::Status seeded = sql::seedDemo(*db); !seeded)
    return sql::Status::failure("Nie można przygotować bazy danych: " + seeded.message());
  return {};
}

}  // namespace slownik::host
