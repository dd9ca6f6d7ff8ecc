#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! The administrator ("Admin"): holds every right in every company.
inline constexpr double kAdminUserId = 6100003;

//! 1 when the current user (GLO:ID_UZYTKOWNIKA) holds the named right in the current
//! company (GLO:ID_FIRMY), else 0. A right is held through a group of the user
//! (UZYTKOWNIKGRUPY) that has a row of that code in DOSTEP for the company with
//! RODZAJ_DOSTEPU above 0.
//! Without an object id (0) only a general row counts (ID_OBIEKTU empty or 0); with
//! one (a cash desk, a warehouse) only the row for that object. The further numbers
//! that callers may pass carry nothing the check needs and are ignored.
//! A database failure denies the right (and is left in the runtime error state).
//! Answered from the user's rights kept in memory: read in one statement, read again
//! after this program changes the rights tables, and within a minute of a change made
//! elsewhere.
int POBIERZUPRAWNIENIE(std::string_view right, double objectId = 0, double = 0, double = 0, double = 0,
                       double = 0);

//! Forgets the rights kept in memory, for every user and company: the next check reads
//! them again. For a change the rights' tables don't show, such as a warehouse another
//! program's routine gave rights to.
void LADUJUPRAWNIENIA();

//! The SQL condition true for the rows whose `idColumn` names an object (a cash desk, a
//! warehouse) for which the current user holds `right` in the current company — what
//! POBIERZUPRAWNIENIE(right, id) answers row by row, as one condition a page can be read
//! with. Empty for the administrator, who holds every right; "1=0" when nobody is logged in.
std::string objectRightFilter(std::string_view right, std::string_view idColumn);

//! The SQL condition that limits a list to the rows the current user may see under
//! the right, when the right is granted per row: "<idColumn> in (select …)" over the
//! objects of the user's DOSTEP rows for it. Empty when there is nothing to limit:
//! for the administrator, when the user holds the right generally, and when the
//! right is not granted per row at all (the list's own rights decide then).
//! "1=0" (no rows) when the rights cannot be read.
std::string FILTRUPRAWTYLKOWGLISTZAZN(std::string_view right, std::string_view idColumn = "A.ID_KONTRAHENTA");

}  // namespace slownik::svc
