#pragma once
#include "framework/sql/database.h"

namespace slownik::sql {

//! Ids of the demo rows that callers and tests refer to.
namespace demo {
constexpr long long kCompanyId = 1;
constexpr long long kAdminUserId = 6100003;  //!< "Admin", passes every rights check
constexpr long long kUserId = 6100004;       //!< "jkowalski", an ordinary user
constexpr long long kAdminGroupId = 1;       //!< "Administratorzy" of the demo company
constexpr long long kUserGroupId = 2;        //!< "Sprzedawcy" of the demo company
constexpr long long kMainWarehouseId = 1;
constexpr long long kMainCashDeskId = 1;
}  // namespace demo

//! Fills a fresh database with demo data: VAT rates, countries and provinces, currencies
//! with a few NBP rate tables, a company with its seat address, account, warehouses and
//! cash desk, the users "Admin" and "Jan Kowalski" with their groups and rights, document
//! types, payment and delivery forms, order statuses, banks and two contractors.
//! Brings the schema up to date first. Does nothing when the database already holds data
//! (any user, company, currency, VAT rate or country), so it is safe at every start.
//! All or nothing: one transaction; on failure the status names the table.
Status seedDemo(Database& db);

//! What a start needs to know of a database, asked in one statement (on a remote server
//! every question is a round trip). `read` is false for a database without the program's
//! tables, or when the question failed: the caller then goes the long way.
struct StartState {
  bool read = false;
  int version = 0;         //!< the schema's latest applied migration
  bool holdsData = false;  //!< any user, company, currency, VAT rate or country
  bool hasUsers = false;
  //! Read, and of the latest migration.
  bool current() const;
};
StartState readStartState(Database& db);

//! Whether the database holds data of its own, so that the demo must stay out.
bool holdsData(Database& db, Status* status = nullptr);

}  // namespace slownik::sql
