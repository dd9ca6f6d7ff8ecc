#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! Runs one of the module's statements on this thread's connection (a stored-routine
//! call or a statement in the module's SQL text) and puts its rows into VAX, read
//! with VAX().next(). Afterwards rt::errorCode() is 0 on success, or kSqlErrorCode
//! with the database's text in rt::errorText(); VAX is then empty. Never throws.
void EXECSQL(std::string_view sql);

//! As EXECSQL, but the rows go to VAX2, so that a statement can run while VAX is
//! still being read.
void ESQL2(std::string_view sql);

//! As EXECSQL; the statement's progress text is for the progress window shown
//! around long statements.
void EXECSQLWIN(std::string_view sql, std::string_view progressText = {});

//! The first value of the first row as text ("" when there is no row, for NULL and
//! after a failure, which the error state tells as with EXECSQL). Trailing blanks
//! are cut, as the module compares clipped values; keepBlanks != 0 keeps them.
//! VAX and VAX2 are left as they are.
std::string FUNCSQL(std::string_view sql, int keepBlanks = 0);

//! Closes the result sets of VAX and VAX2 (also done when a window closes).
void CLOSESQL();

}  // namespace slownik::svc
