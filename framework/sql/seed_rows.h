#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql::seed {

//! One value as it enters statement text: texts through quote(), numbers as plain digits.
struct Value {
  std::string sql;
};
Value text(std::string_view value);
Value num(long long value);
//! An exact decimal given as text ("4.3434"); anything but digits, one point and a
//! leading minus is refused by the writer.
Value dec(std::string_view value);
//! A decimal rounded to `places` digits after the point, for values the seed computes.
Value dec(double value, int places);
Value null();

using Row = std::vector<Value>;

//! Inserts rows into a table with backend-neutral multi-row statements. Refuses the whole
//! batch at the first malformed row and says which table refused it.
Status insertRows(Database& db, std::string_view table, const std::vector<std::string>& columns,
                  const std::vector<Row>& rows);

//! The parts of the demo, each in one file, run in this order inside one transaction.
Status seedTaxAndGeography(Database& db);
Status seedCurrencies(Database& db);
Status seedCompany(Database& db);
Status seedUsersAndRights(Database& db);
Status seedDocumentSettings(Database& db);

}  // namespace slownik::sql::seed
