#pragma once
#include <string>
#include <unordered_set>
#include <vector>

#include "dictionaries/banking/kir_branch_file.h"
#include "dictionaries/banking/kir_progress.h"
#include "dictionaries/banking/kir_report.h"
#include "framework/sql/database.h"

namespace slownik::banking {

//! Where an import stands; the counters are those the summary reports.
struct KirImportState {
  enum class Phase { Created, Prepared, Reading, Finished, Failed };
  Phase phase = Phase::Created;
  long total = 0;          //!< records in the file
  long position = 0;       //!< records taken and committed; the index of the next one
  long long nextId = 0;    //!< the last id handed out; the next bank gets nextId + 1
  long added = 0;          //!< banks inserted and committed
  long failed = 0;         //!< inserts that failed (their ids stay used)
  long changed = 0;        //!< banks whose data in the file differs from BANKI (left as they are)
  long long reportId = 0;  //!< the run's report (KIR_IMPORT), 0 when none is kept
  long reportLines = 0;    //!< lines written to the report
  bool cancelled = false;  //!< the person stopped the import
  sql::Status error;       //!< a database failure that stopped the import
};

//! The import of the clearing house's branch list into BANKI, in phases:
//! prepare() → importBatch() until it returns false → finish().
//!
//! The per-record rule: a branch whose number is blank (or which the file marks
//! deleted) is only counted; a branch whose number BANKI already holds is skipped (banks
//! are never updated); any other is inserted with the next id after max(ID_BANKU).
//! Values travel as bound parameters, so an apostrophe in a name is just a character.
//! A number met again later in the file is passed over: its first record decides.
//!
//! With keepReport(), the run also keeps its report (kir_report.h): each bank added or
//! not added, and each bank BANKI holds whose name, address or town the file gives
//! otherwise. The lines of a batch are written in the batch's transaction.
//!
//! Each batch is one transaction: a cancelled or interrupted import keeps the batches
//! it committed, and running it again adds only what is still missing. A failing
//! insert rolls its batch back, which is then redone row by row under savepoints so
//! that only the failing rows are counted as failed.
//!
//! Not thread-safe: one import runs on one thread with that thread's connection.
class KirImport {
 public:
  static constexpr int kDefaultBatchSize = 500;

  //! `progress` may be null (no window: a script or a benchmark).
  KirImport(sql::Database& db, const KirBranchFile& file, KirProgress* progress, int batchSize = kDefaultBatchSize);

  //! Keeps the run's report for `user`, naming the file `source`; before prepare().
  void keepReport(long long user, std::string source);
  //! Counts the file's records, takes the highest bank id and starts the report. Fails
  //! only on a database error.
  sql::Status prepare();
  //! Takes the next batch of records and commits what it adds. False when there is
  //! nothing more to do: the file is done, the person cancelled, or the database failed
  //! (state().error; that batch is rolled back).
  bool importBatch();
  //! Ends the run; the state holds the counts for the summary.
  const KirImportState& finish();

  const KirImportState& state() const { return state_; }

 private:
  struct BatchResult {
    sql::Status status;
    bool rowFailed = false;  //!< fast mode only: an insert failed, the batch was rolled back
    long added = 0;
    long failed = 0;
    long changed = 0;
    long long nextId = 0;
    std::vector<KirReportLine> lines;
  };
  BatchResult writeBatch(const std::vector<KirBranch>& batch, bool rowByRow);
  sql::Status highestId(long long* id);
  sql::Status existingBanks(const std::vector<KirBranch>& batch, std::vector<StoredBank>* banks);

  sql::Database& db_;
  const KirBranchFile& file_;
  KirProgress* progress_;
  int batchSize_;
  KirImportState state_;
  bool keepReport_ = false;
  long long reportUser_ = 0;
  std::string reportSource_;
  std::unordered_set<std::string> seen_;  // numbers whose first record was taken
};

//! The information messages that close an import, in the order they are shown.
std::vector<std::string> kirSummaryMessages(const KirImportState& state);

}  // namespace slownik::banking
