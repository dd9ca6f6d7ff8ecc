#pragma once
#include <string>
#include <string_view>

struct sqlite3;

namespace slownik::sql {

struct ColumnDef;

//! The name under which both backends know the Polish order of text ("Litwa" < "Łotwa"
//! < "Malta", "Słowacja" < "Szwecja"): a collation registered with every SQLite
//! connection and created in every PostgreSQL database. Letter case orders only what is
//! equal otherwise, and two texts compare equal only when they are the same bytes, so an
//! equality, a unique key or a GROUP BY means on a collated column what it meant before.
inline constexpr std::string_view kCollationName = "PL";

//! Every text column of the catalogue's tables carries the collation: the one rule for
//! which columns sort the Polish way.
bool isCollated(const ColumnDef& column);

//! " COLLATE PL": written after an expression that sorts or is compared as text, where
//! the expression would not carry the collation of its column by itself.
std::string collateClause();

//! The upper bound of the texts that start with `prefix`, in the collation: every such
//! text sorts at or after `prefix` and before the bound. (The highest code point below
//! the surrogates, U+FFFF, has the highest primary weight in the collation.)
std::string prefixUpperBound(std::string_view prefix);

//! Compares UTF-8 texts in the Polish order (for tests and for checks done outside the
//! database); the same total order as the database's collation.
int comparePolish(std::string_view a, std::string_view b);

//! Registers the collation on an SQLite connection; false when ICU could not provide it.
bool registerSqliteCollation(sqlite3* db);

}  // namespace slownik::sql
