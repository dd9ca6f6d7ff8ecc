#include "dictionaries/banking/kir_import.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr std::size_t kShownNameChars = 49;
// Placeholders per lookup: well inside every backend's limit on bound parameters.
constexpr std::size_t kLookupChunk = 500;

constexpr const char* kInsertBank =
    "INSERT INTO BANKI (ID_BANKU, NUMER_BANKU, NAZWA, MIEJSCOWOSC, KOD_POCZTOWY, ULICA_LOKAL) "
    "VALUES (?, ?, ?, ?, ?, ?)";

}  // namespace

KirImport::KirImport(sql::Database& db, const KirBranchFile& file, KirProgress* progress, int batchSize)
    : db_(db), file_(file), progress_(progress), batchSize_(std::max(1, batchSize)) {}

sql::Status KirImport::highestId(long long* id) {
  sql::Result r;
  sql::Status s = db_.execute("SELECT MAX(ID_BANKU) FROM BANKI", &r);
  if (!s) return s;
  // No banks yet: the maximum is NULL and the first id is 1.
  const std::string text = r.scalar();
  *id = text.empty() ? 0 : std::llround(std::strtod(text.c_str(), nullptr));
  return s;
}

sql::Status KirImport::existingBanks(const std::vector<KirBranch>& batch, std::vector<StoredBank>* banks) {
  for (std::size_t from = 0; from < batch.size(); from += kLookupChunk) {
    const std::size_t to = std::min(batch.size(), from + kLookupChunk);
    std::string sql =
        "SELECT ID_BANKU, NUMER_BANKU, NAZWA, ULICA_LOKAL, KOD_POCZTOWY, MIEJSCOWOSC FROM BANKI WHERE NUMER_BANKU IN (";
    std::vector<sql::Param> params;
    for (std::size_t i = from; i < to; ++i) {
      sql += i == from ? "?" : ", ?";
      params.emplace_back(batch[i].number);
    }
    sql += ") ORDER BY ID_BANKU";
    sql::Result r;
    sql::Status s = db_.execute(sql, params, &r);
    if (!s) return s;
    for (std::size_t row = 0; row < r.size(); ++row)
      banks->push_back({std::atoll(r.text(row, 0).c_str()), r.text(row, 1), r.text(row, 2), r.text(row, 3),
                        r.text(row, 4), r.text(row, 5)});
  }
  return {};
}

void KirImport::keepReport(long long user, std::string source) {
  keepReport_ = true;
  reportUser_ = user;
  reportSource_ = std::move(source);
}

sql::Status KirImport::prepare() {
  state_ = KirImportState{};
  seen_.clear();
  state_.total = file_.recordCount();
  sql::Status s = highestId(&state_.nextId);
  if (s && keepReport_) s = startKirReport(db_, reportUser_, reportSource_, &state_.reportId);
  if (!s) {
    state_.error = s;
    state_.phase = KirImportState::Phase::Failed;
    return s;
  }
  state_.phase = KirImportState::Phase::Prepared;
  if (progress_) progress_->begin(state_.total);
  return s;
}

KirImport::BatchResult KirImport::writeBatch(const std::vector<KirBranch>& batch, bool rowByRow) {
  BatchResult result;
  sql::Transaction tx(db_, sql::TransactionMode::Immediate);
  if (!tx.status()) {
    result.status = tx.status();
    return result;
  }
  // Another user may have added banks since the last batch: never hand out an id below
  // the table's maximum.
  long long highest = 0;
  result.status = highestId(&highest);
  if (!result.status) return result;
  result.nextId = std::max(state_.nextId, highest);

  std::vector<StoredBank> found;
  result.status = existingBanks(batch, &found);
  if (!result.status) return result;
  std::unordered_map<std::string, std::vector<const StoredBank*>> stored;
  for (const StoredBank& bank : found) stored[bank.number].push_back(&bank);
  // The numbers this batch takes: a number repeated in the file counts once, by its
  // first record, as a record-by-record lookup would find the bank that record added.
  std::unordered_set<std::string> taken;

  for (const KirBranch& b : batch) {
    if (seen_.count(b.number) || !taken.insert(b.number).second) continue;
    if (auto held = stored.find(b.number); held != stored.end()) {
      // Banks are never updated by the import; a difference goes to the report.
      for (const StoredBank* bank : held->second) {
        if (!differsFromStored(b, *bank)) continue;
        ++result.changed;
        if (keepReport_) result.lines.push_back({kir_line::kChanged, bank->id, b, *bank});
      }
      continue;
    }
    const long long id = ++result.nextId;  // used up even when the insert fails
    const sql::Param params[] = {id, b.number, b.name, b.town, b.postalCode, b.street};
    bool inserted = false;
    if (!rowByRow) {
      if (!db_.execute(kInsertBank, params, nullptr)) {
        result.rowFailed = true;
        return result;  // the guard rolls the batch back
      }
      inserted = true;
    } else {
      sql::Transaction row(db_);
      sql::Status s = row.status();
      if (s) s = db_.execute(kInsertBank, params, nullptr);
      if (s) s = row.commit();
      inserted = s.isOk();
    }
    if (inserted) {
      ++result.added;
    } else {
      ++result.failed;
    }
    if (keepReport_) result.lines.push_back({inserted ? kir_line::kAdded : kir_line::kNotAdded, id, b, {}});
  }
  if (keepReport_ && state_.reportId > 0) {
    result.status = appendKirReport(db_, state_.reportId, state_.reportLines + 1, result.lines);
    if (!result.status) return result;
  }
  result.status = tx.commit();
  return result;
}

bool KirImport::importBatch() {
  using Phase = KirImportState::Phase;
  if (state_.phase != Phase::Prepared && state_.phase != Phase::Reading) return false;
  state_.phase = Phase::Reading;
  if (state_.position >= state_.total) return false;

  // Take the batch's records first: the progress display follows each record, and the
  // batch can then be written twice if it has to be redone row by row.
  std::vector<KirBranch> batch;
  long next = state_.position;
  while (next < state_.total && next - state_.position < batchSize_) {
    if (progress_ && progress_->isCancelled()) {
      state_.cancelled = true;
      break;
    }
    KirBranch b = file_.record(next);
    ++next;
    if (progress_) progress_->step(next, state_.total, sql::truncateUtf8(b.name, kShownNameChars));
    if (b.deleted || b.number.empty()) continue;
    batch.push_back(std::move(b));
  }

  BatchResult result;
  if (!batch.empty()) {
    result = writeBatch(batch, false);
    if (result.status && result.rowFailed) result = writeBatch(batch, true);
    if (!result.status) {
      state_.error = result.status;
      state_.phase = Phase::Failed;
      return false;
    }
    state_.nextId = result.nextId;
    state_.added += result.added;
    state_.failed += result.failed;
    state_.changed += result.changed;
    state_.reportLines += static_cast<long>(result.lines.size());
    for (const KirBranch& b : batch) seen_.insert(b.number);
  }
  state_.position = next;
  return !state_.cancelled && state_.position < state_.total;
}

const KirImportState& KirImport::finish() {
  if (state_.phase != KirImportState::Phase::Failed) state_.phase = KirImportState::Phase::Finished;
  if (progress_) progress_->end();
  return state_;
}

std::vector<std::string> kirSummaryMessages(const KirImportState& state) {
  std::vector<std::string> messages;
  if (state.added > 0) messages.push_back("Dodano " + std::to_string(state.added) + " nowych banków.");
  if (state.failed > 0)
    messages.push_back("Dodanie " + std::to_string(state.failed) + " banków zakończyło się niepowodzeniem.");
  if (state.changed > 0)
    messages.push_back("Banki, których dane w pliku KIR różnią się od zapisanych w bazie: " +
                       std::to_string(state.changed) +
                       ".|Nie zostały zmienione; zmiany można przejrzeć i zastosować w raporcie importu.");
  if (state.added == 0 && state.failed == 0) {
    // Only a run that read the whole file may say the table is up to date; a cancelled
    // or failed one says that nothing was changed. Banks whose data the file gives
    // otherwise are not up to date, and the message above says so instead.
    const bool complete = state.error.isOk() && !state.cancelled && state.position >= state.total;
    if (!complete) {
      messages.push_back("Import banków został przerwany.|Nie dokonano żadnej aktualizacji.");
    } else if (state.changed == 0) {
      messages.push_back("Posiadasz aktualną bazę banków.|Nie dokonano żadnej aktualizacji.");
    }
  }
  return messages;
}

}  // namespace slownik::banking
