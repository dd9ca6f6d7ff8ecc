#pragma once
// The set-up of a new company (TK_InicjacjaSystemu) and the argument check that the
// company routines share.
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql {

class RoutineArgs;

//! TK_InicjacjaSystemu(company): the company's system rows, made only where it has none.
Status setUpCompany(Database& db, const std::vector<Cell>& argv, Result* out);

//! Reads argument 0 as the id of an existing company other than the shared 0.
Status companyArgument(const RoutineArgs& args, Database& db, long long* company);

}  // namespace slownik::sql
