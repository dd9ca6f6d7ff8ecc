#pragma once
// What the company routines offer the rest of the program beside their calls:
// the delete of a company's data, which the record semaphore's delete runs under the
// company's lock, and a way for a window to follow that delete table by table.
#include <functional>
#include <string>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql {

//! One step of a company's removal: its rows in one table.
struct CompanyDeleteStep {
  std::string table;  //!< the table the rows are removed from
  std::string label;  //!< what the rows are, in Polish, for the person waiting
  std::string sql;    //!< the statement; its one parameter is the company's id
};

//! The statements that remove a company's rows, children before their owners: first the
//! rows of tables without ID_FIRMY that hang on a company row by its id column (a
//! warehouse's articles, a group's members), then every table of the catalogue that
//! carries ID_FIRMY (but the audit log). The company's own FIRMA row is not among them.
const std::vector<CompanyDeleteStep>& companyDeleteSteps();

//! Runs companyDeleteSteps() for `company` on `db`, telling the thread's observer of each.
Status deleteCompanyData(Database& db, long long company);

//! Called on the thread that removes a company, before each step: the step's label, its
//! number (from 1) and how many there are.
using CompanyDeleteObserver = std::function<void(const std::string& label, int step, int steps)>;

//! While alive, the company deletes run by this thread tell `observer` of their steps.
//! Thread-local: another window's delete is not shown here.
class CompanyDeleteWatch {
 public:
  explicit CompanyDeleteWatch(CompanyDeleteObserver observer);
  ~CompanyDeleteWatch();
  CompanyDeleteWatch(const CompanyDeleteWatch&) = delete;
  CompanyDeleteWatch& operator=(const CompanyDeleteWatch&) = delete;

 private:
  CompanyDeleteObserver previous_;
};

//! The rights the group "Administratorzy" of every company holds: each right the module
//! asks for, with its add, edit, open and delete variants where it has them.
const std::vector<std::string>& everyRight();

}  // namespace slownik::sql
