#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! Marks of list rows, kept in the table ZAZNACZONE per list (its usage number) and
//! session (the current user, GLO:ID_UZYTKOWNIKA), so that server-side statements
//! can join them. Each call returns 0 on success, else the runtime error code (the
//! text in the runtime error state); a failed call changes no mark.

//! Marks one row (marking a marked row changes nothing).
int ZAZNACZSQL(int usage, double id);
//! Unmarks one row.
int ODZNACZSQL(int usage, double id);
//! Marks every row of the list: rowsSql is the list's statement (the module's SQL)
//! whose first column is the row id.
int ZAZNACZALLSQL(int usage, std::string_view rowsSql);
//! Unmarks every row of the list.
int ODZNACZALLSQL(int usage);
//! Inverts the marks of the rows of rowsSql (as in ZAZNACZALLSQL); marks of rows
//! outside it stay as they are.
int INWERSJASQL(int usage, std::string_view rowsSql);
//! Number of marked rows of the list (0 also when it cannot be read).
long ILEZAZNACZONYCH(int usage);
//! The count line of a list: "Ilość zaznaczonych " + what + ": " + count,
//! e.g. "Ilość zaznaczonych magazynów: 3".
std::string DISPLAYZAZNACZONE(long count, std::string_view what);

}  // namespace slownik::svc
