#pragma once
#include <QString>
#include <map>
#include <vector>

#include "framework/sql/database.h"
#include "host/session.h"

namespace slownik::host {

//! Everything the log-in dialog offers, read in one statement: on a remote server each
//! list read on its own would be one more round trip before the user can log in.
struct LoginData {
  std::vector<Choice> users;  //!< the active ones (AKTYWNY null or not 0), by login
  std::vector<Choice> companies;
  std::map<double, std::vector<Choice>> warehouses;  //!< by company id
  std::map<double, std::vector<Choice>> cashDesks;   //!< by company id
  QString baseCurrency = QStringLiteral("PLN");      //!< WALUTY.NUMER = 1, "PLN" when none
  QString error;  //!< why nothing could be read; empty when the read succeeded
};

//! Reads the log-in lists from the calling thread's connection. Names sort in Polish order.
LoginData readLoginData(sql::Database& db);

}  // namespace slownik::host
