#pragma once
#include <string_view>

namespace slownik::sql {

//! How many writes this process has made to a table (any letter case, with or without
//! a schema) through any connection, counting statements whose target it cannot tell
//! (scripts, DDL of another kind) as writes to every table. A cache of a table's rows
//! compares the number with the one it was read under to notice its own process's
//! changes without asking the server. Thread-safe.
unsigned long long changesOf(std::string_view table);

//! Books a backend statement that ran: reads are ignored; a write counts for its table.
void noteStatement(std::string_view backendSql);

//! Books a change of unknown tables (a script, a new database address).
void noteUnknownChange();

}  // namespace slownik::sql
