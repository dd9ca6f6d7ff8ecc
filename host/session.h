#pragma once
#include <QString>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::host {

//! One row offered in the log-in dialog: an id and the name the user reads.
struct Choice {
  double id = 0;
  QString name;
  QString login;     //!< users only: what the user types to log in
  QString password;  //!< users only: the stored password hash, empty = none set (never logged)
};

//! What the user logs in to: who, in which company, at which warehouse and cash desk.
//! A warehouse or cash desk with id 0 means none is chosen (the company has none).
struct Session {
  Choice user;
  Choice company;
  Choice warehouse;
  Choice cashDesk;
};

//! The rows the log-in dialog offers (users: the active ones, AKTYWNY not 0), read from the database of the calling thread's
//! connection. A failed query leaves the list empty and the reason in *error.
std::vector<Choice> users(sql::Database& db, QString* error = nullptr);
std::vector<Choice> companies(sql::Database& db, QString* error = nullptr);
std::vector<Choice> warehouses(sql::Database& db, double companyId, QString* error = nullptr);
std::vector<Choice> cashDesks(sql::Database& db, double companyId, QString* error = nullptr);
//! Symbol of the base currency ("PLN" when the database names none).
QString baseCurrency(sql::Database& db);

//! Writes the session into the process globals (GLO:ID_FIRMY, ID_UZYTKOWNIKA,
//! ID_MAGAZYNU, ID_KASY, WAL_BAZOWA).
void applyToGlobals(const Session& session, const QString& baseCurrencySymbol);

//! The session as the process globals now have it: a window of the module may have moved
//! the program to another company (its warehouse and cash desk with it). The user stays;
//! names are read from the database, a row that is gone reads as none.
Session sessionFromGlobals(sql::Database& db, const Session& shown);

//! The user with this login or name (case ignored), or nullptr.
const Choice* findUser(const std::vector<Choice>& users, const QString& login);

//! Stores the user's new password (host/password.h tells how). The status says why not
//! in Polish; it never holds the password or its hash.
sql::Status storePassword(sql::Database& db, double userId, const QString& password);

}  // namespace slownik::host
