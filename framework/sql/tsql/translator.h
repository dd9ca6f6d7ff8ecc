#pragma once
#include <string>
#include <string_view>

#include "framework/sql/tsql/backend_spelling.h"
#include "framework/sql/tsql/text_columns.h"

namespace slownik::sql::tsql {

//! The module's T-SQL-flavoured statement as a backend runs it. One engine for every
//! backend; spelling supplies what differs. Literals in apostrophes are never changed,
//! and text without any idiom comes back byte for byte.
std::string translate(std::string_view moduleSql, const BackendSpelling& spelling, const TextColumns& columns);

}  // namespace slownik::sql::tsql
