#pragma once
#include <string>

#include "framework/sql/database.h"

namespace slownik::sql {

//! The process's database address (set once by the host, or by a test).
void setDatabaseUrl(std::string url);
std::string databaseUrl();

//! This thread's connection to the process's database, opened on first use and
//! closed when the thread ends. Null (with the reason in *status) when it cannot be opened.
//! A change of the address makes every thread reopen on its next call.
Database* threadDatabase(Status* status = nullptr);

//! Closes this thread's connection now (thread end, tests).
void closeThreadDatabase();

}  // namespace slownik::sql
