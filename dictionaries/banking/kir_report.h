#pragma once
// The report of a branch import: what it added, what it failed to add, and the banks
// whose data in the clearing house's file differs from BANKI. The import never changes
// a bank by itself; the person applies chosen changes from the report window.
//
// A user keeps the report of the latest import only (KIR_IMPORT, KIR_RAPORT): starting
// an import removes that user's earlier one. Each line keeps the file's values and the
// values BANKI held when the import looked, so that a change is applied only to a bank
// nobody changed since.
#include <functional>
#include <string>
#include <vector>

#include "dictionaries/banking/kir_branch_file.h"
#include "framework/sql/database.h"

namespace slownik::banking {

//! A bank as BANKI holds it, the texts as read (NULL as "").
struct StoredBank {
  long long id = 0;
  std::string number;
  std::string name;
  std::string street;
  std::string postalCode;
  std::string town;
};

//! Whether a text of the file says the same as the database's: letter case and runs of
//! blanks don't count, as the file is written in capitals while banks entered by hand
//! usually are not. The file's fields are narrower than BANKI's columns, so a stored text
//! longer than `fileChars` (0 = no limit) is compared by as much of it as the file holds.
bool sameKirText(const std::string& file, const std::string& stored, std::size_t fileChars = 0);
//! Which of a bank's texts the file gives otherwise, each compared by sameKirText within
//! the width of its field in the file.
struct KirDifferences {
  bool name = false;
  bool street = false;
  bool postalCode = false;
  bool town = false;
  bool any() const { return name || street || postalCode || town; }
};
KirDifferences kirDifferences(const KirBranch& file, const StoredBank& stored);
//! Whether the file's name, street, postal code or town of a bank differs from what
//! BANKI holds.
inline bool differsFromStored(const KirBranch& file, const StoredBank& stored) {
  return kirDifferences(file, stored).any();
}

//! The kinds of report lines, as RODZAJ keeps them.
namespace kir_line {
inline constexpr const char* kAdded = "D";
inline constexpr const char* kNotAdded = "N";
inline constexpr const char* kChanged = "Z";
}  // namespace kir_line

struct KirReportLine {
  std::string kind;  //!< one of kir_line
  long long bankId = 0;  //!< the bank added (its id even when the insert failed) or changed
  KirBranch file;
  StoredBank stored;  //!< for a changed bank
};

//! Starts the report of a new import by `user` of the file `source`, removing the user's
//! earlier report, in one transaction. *importId is the new report's id.
sql::Status startKirReport(sql::Database& db, long long user, const std::string& source, long long* importId);
//! Appends lines numbered from `firstNumber` on, in the caller's transaction.
sql::Status appendKirReport(sql::Database& db, long long importId, long firstNumber,
                            const std::vector<KirReportLine>& lines);
//! The user's latest import with a report; 0 when there is none.
long long latestKirImport(sql::Database& db, long long user);

//! How applying the file's data to chosen banks ended.
struct KirApplyOutcome {
  long applied = 0;
  long locked = 0;        //!< another user edits the bank: left as it is
  long changedSince = 0;  //!< the bank was changed or deleted after the import looked
  long alreadyApplied = 0;
  std::vector<std::string> holders;  //!< who edits the locked banks, one line each
  bool cancelled = false;
  sql::Status error;  //!< a database failure that stopped the work
};

//! Told before each line (its 1-based count of `total`); answers true to stop.
using KirApplyStep = std::function<bool(long done, long total)>;

//! Writes the file's name, street, postal code and town, those of them that differ, into
//! the banks of the changed lines `lineNumbers` of report `importId`, each under the bank's edit lock and only
//! while the bank still holds what the import saw; the line is then marked applied.
//! Each bank is its own transaction: a stop keeps what was applied.
KirApplyOutcome applyKirChanges(sql::Database& db, long long importId, const std::vector<long>& lineNumbers,
                                const KirApplyStep& step = {});
//! The numbers of the changed lines not yet applied.
sql::Status pendingKirChanges(sql::Database& db, long long importId, std::vector<long>* lineNumbers);
//! The information shown after applying: what was applied and what was left, and why.
std::string kirApplyMessage(const KirApplyOutcome& outcome);

}  // namespace slownik::banking
