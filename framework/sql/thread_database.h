#pragma once
#include <cstddef>
#include <string>

#include "framework/sql/database.h"

namespace slownik::sql {

//! The process's database address (set once by the host, or by a test).
void setDatabaseUrl(std::string url);
std::string databaseUrl();

//! This thread's connection to the process's database. A thread borrows one from the
//! process's pool on first use (opening a new one only when none is idle) and gives it
//! back when the thread ends, so a window's thread does not pay for connecting, and the
//! statements prepared on a connection serve the windows that come after. Null (with the
//! reason in *status) when it cannot be opened. A change of the address makes every
//! thread reopen on its next call, and empties the pool.
Database* threadDatabase(Status* status = nullptr);

//! Closes this thread's connection now, without giving it back to the pool (tests, and
//! a connection that must not be reused).
void closeThreadDatabase();

//! Gives this thread's connection back to the pool now, as the thread's end does.
void releaseThreadDatabase();

//! Idle connections the pool holds (diagnostics and tests).
std::size_t pooledConnections();

//! At most this many idle connections are kept; more are closed when given back.
inline constexpr std::size_t kPoolSize = 8;

}  // namespace slownik::sql
