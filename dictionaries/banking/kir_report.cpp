#include "dictionaries/banking/kir_report.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "engine/record_semaphore.h"
#include "framework/runtime/date_time.h"
#include "framework/services/text_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

// Lines per insert: 13 bound values each, well inside every backend's limit on bound
// parameters (32766 for SQLite, 65535 for PostgreSQL).
constexpr std::size_t kLinesPerInsert = 200;

constexpr const char* kLineColumns =
    "INSERT INTO KIR_RAPORT (ID_IMPORTU, NR_POZYCJI, RODZAJ, ID_BANKU, NUMER_BANKU, NAZWA, ULICA_LOKAL, "
    "KOD_POCZTOWY, MIEJSCOWOSC, NAZWA_W_BAZIE, ULICA_W_BAZIE, KOD_W_BAZIE, MIEJSCOWOSC_W_BAZIE, ZASTOSOWANO) VALUES ";

// The text as compared: capitals, blanks at the ends dropped, inner runs of blanks as one.
std::string comparable(const std::string& text) {
  std::string squeezed;
  squeezed.reserve(text.size());
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !squeezed.empty()) squeezed += ' ';
    blank = false;
    squeezed += c;
  }
  return svc::upperPolish(squeezed);
}

// The widths of the branch file's text fields, as the catalogue describes the file.
struct FieldChars {
  std::size_t name = 0, street = 0, postalCode = 0, town = 0;
};

FieldChars fieldChars() {
  const sql::TableDef* layout = sql::Catalogue::instance().find("KIR_ODDZIALY");
  auto width = [layout](const char* column) {
    const sql::ColumnDef* field = layout ? layout->column(column) : nullptr;
    return field ? static_cast<std::size_t>(field->size) : 0;
  };
  return {width("NAZWA"), width("ULICA_LOKAL"), width("KOD_POCZTOWY"), width("MIEJSCOWOSC")};
}

sql::Status markApplied(sql::Database& db, long long importId, long line) {
  const sql::Param params[] = {importId, static_cast<long long>(line)};
  return db.execute("UPDATE KIR_RAPORT SET ZASTOSOWANO = 1 WHERE ID_IMPORTU = ? AND NR_POZYCJI = ?", params, nullptr);
}

struct ChangedLine {
  bool applied = false;
  KirReportLine line;
};

// Numbers per lookup: well inside every backend's limit on bound parameters.
constexpr std::size_t kLinesPerLookup = 500;

// The changed lines among `numbers`, by number, in as few statements as the parameter
// limit allows; a number that is no changed line of the report is left out.
sql::Status readChangedLines(sql::Database& db, long long importId, const std::vector<long>& numbers,
                             std::map<long, ChangedLine>* out) {
  for (std::size_t from = 0; from < numbers.size(); from += kLinesPerLookup) {
    const std::size_t to = std::min(numbers.size(), from + kLinesPerLookup);
    std::vector<sql::Param> params = {importId, std::string(kir_line::kChanged)};
    std::string statement =
        "SELECT NR_POZYCJI, ID_BANKU, NAZWA, ULICA_LOKAL, KOD_POCZTOWY, MIEJSCOWOSC, NAZWA_W_BAZIE, ULICA_W_BAZIE, "
        "KOD_W_BAZIE, MIEJSCOWOSC_W_BAZIE, ZASTOSOWANO FROM KIR_RAPORT WHERE ID_IMPORTU = ? AND RODZAJ = ? AND "
        "NR_POZYCJI IN (";
    for (std::size_t i = from; i < to; ++i) {
      statement += i == from ? "?" : ", ?";
      params.emplace_back(static_cast<long long>(numbers[i]));
    }
    statement += ")";
    sql::Result r;
    if (sql::Status s = db.execute(statement, params, &r); !s) return s;
    for (std::size_t row = 0; row < r.size(); ++row) {
      ChangedLine& c = (*out)[std::atol(r.text(row, 0).c_str())];
      KirReportLine& l = c.line;
      l.bankId = std::atoll(r.text(row, 1).c_str());
      l.file = {{}, r.text(row, 2), r.text(row, 3), r.text(row, 4), r.text(row, 5)};
      l.stored = {l.bankId, {}, r.text(row, 6), r.text(row, 7), r.text(row, 8), r.text(row, 9)};
      c.applied = std::atoi(r.text(row, 10).c_str()) != 0;
    }
  }
  return {};
}

enum class Applied { Done, ChangedSince };

// The write itself, in one transaction with the line's mark: only while the bank holds
// what the import saw, and only while this thread still holds the bank's lock.
sql::Status writeChange(sql::Database& db, long long importId, long number, const KirReportLine& l,
                        const engine::RecordSemaphore& lock, Applied* outcome) {
  sql::Transaction tx(db);
  if (!tx.status()) return tx.status();
  std::vector<sql::Param> held;
  const std::string heldCondition = lock.heldCondition(static_cast<double>(l.bankId), &held);
  // Only the values that differ are replaced: a name the file holds cut short, or one
  // stored in other letters, stays as the database has it.
  const KirDifferences d = kirDifferences(l.file, l.stored);
  std::vector<sql::Param> params = {d.name ? l.file.name : l.stored.name,
                                    d.street ? l.file.street : l.stored.street,
                                    d.postalCode ? l.file.postalCode : l.stored.postalCode,
                                    d.town ? l.file.town : l.stored.town,
                                    l.bankId,
                                    l.stored.name,
                                    l.stored.street,
                                    l.stored.postalCode,
                                    l.stored.town};
  params.insert(params.end(), held.begin(), held.end());
  sql::Result r;
  sql::Status s = db.execute(
      "UPDATE BANKI SET NAZWA = ?, ULICA_LOKAL = ?, KOD_POCZTOWY = ?, MIEJSCOWOSC = ? WHERE ID_BANKU = ? AND "
      "COALESCE(NAZWA, '') = ? AND COALESCE(ULICA_LOKAL, '') = ? AND COALESCE(KOD_POCZTOWY, '') = ? AND "
      "COALESCE(MIEJSCOWOSC, '') = ? AND " + heldCondition,
      params, &r);
  if (!s) return s;
  if (r.affectedRows == 0) {
    *outcome = Applied::ChangedSince;
    return {};  // the guard rolls back: nothing was written
  }
  if (s = markApplied(db, importId, number); !s) return s;
  *outcome = Applied::Done;
  return tx.commit();
}

}  // namespace

bool sameKirText(const std::string& file, const std::string& stored, std::size_t fileChars) {
  if (file == stored) return true;
  const std::string kept = fileChars > 0 ? sql::truncateUtf8(stored, fileChars) : stored;
  return comparable(file) == comparable(kept);
}

KirDifferences kirDifferences(const KirBranch& file, const StoredBank& stored) {
  static const FieldChars chars = fieldChars();
  KirDifferences d;
  d.name = !sameKirText(file.name, stored.name, chars.name);
  d.street = !sameKirText(file.street, stored.street, chars.street);
  d.postalCode = !sameKirText(file.postalCode, stored.postalCode, chars.postalCode);
  d.town = !sameKirText(file.town, stored.town, chars.town);
  return d;
}

sql::Status startKirReport(sql::Database& db, long long user, const std::string& source, long long* importId) {
  sql::Transaction tx(db);
  sql::Status s = tx.status();
  const sql::Param owner[] = {user};
  // Also the lines left without their run: the same user's import on another workstation
  // may have removed the run while this one was still writing to it.
  if (s)
    s = db.execute("DELETE FROM KIR_RAPORT WHERE ID_IMPORTU IN (SELECT ID_IMPORTU FROM KIR_IMPORT WHERE "
                   "ID_UZYTKOWNIKA = ?) OR ID_IMPORTU NOT IN (SELECT ID_IMPORTU FROM KIR_IMPORT)",
                   owner, nullptr);
  if (s) s = db.execute("DELETE FROM KIR_IMPORT WHERE ID_UZYTKOWNIKA = ?", owner, nullptr);
  if (s) {
    const sql::Param header[] = {user, static_cast<long long>(rt::today()), static_cast<long long>(rt::now()),
                                 source};
    s = db.execute("INSERT INTO KIR_IMPORT (ID_UZYTKOWNIKA, DATA_IMPORTU, CZAS_IMPORTU, PLIK) VALUES (?, ?, ?, ?)",
                   header, nullptr);
  }
  if (s) *importId = db.lastInsertId();
  if (s) s = tx.commit();
  return s;
}

sql::Status appendKirReport(sql::Database& db, long long importId, long firstNumber,
                            const std::vector<KirReportLine>& lines) {
  for (std::size_t from = 0; from < lines.size(); from += kLinesPerInsert) {
    const std::size_t to = std::min(lines.size(), from + kLinesPerInsert);
    std::string statement = kLineColumns;
    std::vector<sql::Param> params;
    params.reserve((to - from) * 14);
    for (std::size_t i = from; i < to; ++i) {
      const KirReportLine& l = lines[i];
      statement += i == from ? "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)" : ", (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)";
      const long long number = firstNumber + static_cast<long long>(i);
      for (sql::Param p : {sql::Param(importId), sql::Param(number), sql::Param(l.kind), sql::Param(l.bankId),
                           sql::Param(l.file.number), sql::Param(l.file.name), sql::Param(l.file.street),
                           sql::Param(l.file.postalCode), sql::Param(l.file.town), sql::Param(l.stored.name),
                           sql::Param(l.stored.street), sql::Param(l.stored.postalCode), sql::Param(l.stored.town)})
        params.push_back(std::move(p));
    }
    if (sql::Status s = db.execute(statement, params, nullptr); !s) return s;
  }
  return {};
}

long long latestKirImport(sql::Database& db, long long user) {
  const sql::Param owner[] = {user};
  sql::Result r;
  if (!db.execute("SELECT MAX(ID_IMPORTU) FROM KIR_IMPORT WHERE ID_UZYTKOWNIKA = ?", owner, &r)) return 0;
  return std::atoll(r.scalar().c_str());
}

sql::Status pendingKirChanges(sql::Database& db, long long importId, std::vector<long>* lineNumbers) {
  const sql::Param params[] = {importId, std::string(kir_line::kChanged)};
  sql::Result r;
  sql::Status s = db.execute(
      "SELECT NR_POZYCJI FROM KIR_RAPORT WHERE ID_IMPORTU = ? AND RODZAJ = ? AND COALESCE(ZASTOSOWANO, 0) = 0 "
      "ORDER BY NR_POZYCJI",
      params, &r);
  if (!s) return s;
  for (std::size_t row = 0; row < r.size(); ++row) lineNumbers->push_back(std::atol(r.text(row, 0).c_str()));
  return s;
}

KirApplyOutcome applyKirChanges(sql::Database& db, long long importId, const std::vector<long>& lineNumbers,
                                const KirApplyStep& step) {
  KirApplyOutcome out;
  const engine::RecordSemaphore lock("banki", "Bank jest aktualizowany przez innego użytkownika!");
  const double user = engine::currentUser();
  std::map<long, ChangedLine> lines;
  if (out.error = readChangedLines(db, importId, lineNumbers, &lines); !out.error) return out;
  const long total = static_cast<long>(lineNumbers.size());
  long done = 0;
  for (long number : lineNumbers) {
    if (step && step(++done, total)) {
      out.cancelled = true;
      break;
    }
    auto found = lines.find(number);
    if (found == lines.end()) continue;
    const ChangedLine& line = found->second;
    if (line.applied) {
      ++out.alreadyApplied;
      continue;
    }
    const double id = static_cast<double>(line.line.bankId);
    engine::LockResult taken = lock.tryTake(id, user);
    if (taken.outcome == engine::LockOutcome::Locked) {
      ++out.locked;
      if (!taken.holder.empty()) out.holders.push_back(taken.holder);
      continue;
    }
    if (taken.outcome == engine::LockOutcome::Failed) {
      // The routine refuses a bank that is no longer there; anything else stops the work.
      if (taken.errorText.find("nie istnieje") != std::string::npos) {
        ++out.changedSince;
        continue;
      }
      out.error = sql::Status::failure(taken.errorText);
      break;
    }
    Applied outcome = Applied::ChangedSince;
    out.error = writeChange(db, importId, number, line.line, lock, &outcome);
    lock.tryRelease(id, user);
    if (!out.error) break;
    if (outcome == Applied::Done) {
      ++out.applied;
    } else {
      ++out.changedSince;
    }
  }
  return out;
}

std::string kirApplyMessage(const KirApplyOutcome& o) {
  std::string text = "Zastosowano zmiany z pliku KIR w bankach: " + std::to_string(o.applied) + ".";
  if (o.locked > 0) {
    text += "|Pominięto banki edytowane przez innych użytkowników: " + std::to_string(o.locked) + ".";
    for (const std::string& holder : o.holders) text += "|" + holder;
  }
  if (o.changedSince > 0)
    text += "|Pominięto banki zmienione lub usunięte po imporcie: " + std::to_string(o.changedSince) + ".";
  if (o.alreadyApplied > 0) text += "|Zastosowane już wcześniej: " + std::to_string(o.alreadyApplied) + ".";
  if (o.cancelled) text += "|Przerwano; pozostałe zmiany nie zostały zastosowane.";
  return text;
}

}  // namespace slownik::banking
