#include "dictionaries/banking/interest_chain.h"

#include <cstdlib>
#include <optional>

#include "framework/runtime/error_state.h"
#include "framework/runtime/log.h"
#include "framework/services/sql_services.h"
#include "framework/sql/database.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"

namespace slownik::banking {
namespace {

std::string dayText(std::int32_t d) { return std::to_string(d); }

std::string ofTable(double tableId) { return "where ID_TABELI_ODSETEK=" + sql::sqlId(tableId); }

// One chain step: the statements run together or not at all, so that a failure
// midway never leaves one period re-ended and its neighbour not.
class ChainStep {
 public:
  explicit ChainStep(const char* what) : what_(what) {
    if (sql::Database* db = sql::threadDatabase()) tx_.emplace(*db, sql::TransactionMode::Immediate);
    ok_ = tx_ && tx_->status().isOk();
    if (!ok_) rt::logMessage(std::string("interest chain, ") + what_ + ": no transaction");
  }
  ChainStep(const ChainStep&) = delete;
  ChainStep& operator=(const ChainStep&) = delete;
  ~ChainStep() {
    if (ok_) {
      if (!tx_->commit().isOk()) rt::logMessage(std::string("interest chain, ") + what_ + ": commit failed");
    }
  }  // not ok: the transaction rolls back as it goes

  //! The start day the query answers, 0 for none; a failure ends the step.
  std::int32_t day(const std::string& query) {
    if (!ok_) return 0;
    std::string value = svc::FUNCSQL(query);
    if (!check()) return 0;
    return static_cast<std::int32_t>(std::strtoll(value.c_str(), nullptr, 10));
  }
  void run(const std::string& statement) {
    if (!ok_) return;
    svc::EXECSQL(statement);
    svc::CLOSESQL();
    check();
  }

 private:
  bool check() {
    if (rt::errorCode() == 0) return true;
    // The chain is the module's bookkeeping: the user is not asked about it, the list
    // shows what the database holds, and the log keeps the reason.
    rt::logMessage(std::string("interest chain, ") + what_ + ": " + rt::errorText());
    ok_ = false;
    return false;
  }

  const char* what_;
  std::optional<sql::Transaction> tx_;
  bool ok_ = false;
};

std::int32_t previousStart(ChainStep& step, double tableId, std::int32_t start) {
  return step.day("select top 1 od_dnia from odsetki  " + ofTable(tableId) + " and  od_dnia<" + dayText(start) +
                  " order by od_dnia desc");
}

void setEnd(ChainStep& step, double tableId, std::int32_t start, std::int32_t end) {
  step.run("update odsetki set do_dnia=" + dayText(end) + " " + ofTable(tableId) + " and  od_dnia=" + dayText(start));
}

void insertStep(ChainStep& step, double tableId, std::int32_t start) {
  if (std::int32_t previous = previousStart(step, tableId, start); previous > 0)
    setEnd(step, tableId, previous, start - 1);
  // The next period's start minus one, read as the day it is.
  std::int32_t nextEnd = step.day("select top 1 od_dnia-1 from odsetki  " + ofTable(tableId) + " and  od_dnia>" +
                                  dayText(start) + " order by od_dnia");
  if (nextEnd > 0) setEnd(step, tableId, start, nextEnd);
}

void deleteStep(ChainStep& step, double tableId, std::int32_t start, std::int32_t end) {
  if (std::int32_t previous = previousStart(step, tableId, start); previous > 0) setEnd(step, tableId, previous, end);
}

PeriodCheck check(const std::string& query) {
  PeriodCheck c;
  std::string value = svc::FUNCSQL(query);
  if (rt::errorCode() != 0) {
    c.error = rt::errorText();
    return c;
  }
  c.found = std::strtoll(value.c_str(), nullptr, 10) > 0;
  return c;
}

}  // namespace

void chainAfterInsert(double tableId, std::int32_t start) {
  ChainStep step("insert");
  insertStep(step, tableId, start);
}

void chainAfterDelete(double tableId, std::int32_t start, std::int32_t end) {
  ChainStep step("delete");
  deleteStep(step, tableId, start, end);
}

void chainAfterMove(double tableId, std::int32_t oldStart, std::int32_t oldEnd, std::int32_t newStart) {
  if (oldStart == newStart) return;
  ChainStep step("move");
  // The moved period itself may now be the one before its old place; it is re-ended
  // at its new place right after.
  deleteStep(step, tableId, oldStart, oldEnd);
  setEnd(step, tableId, newStart, kOpenEnd);
  insertStep(step, tableId, newStart);
}

PeriodCheck periodStartsOn(double tableId, std::int32_t start) {
  return check("select od_dnia from odsetki " + ofTable(tableId) + " and OD_DNIA=" + dayText(start));
}

PeriodCheck hasInvertedPeriod(double tableId) {
  return check("select 1 from odsetki " + ofTable(tableId) + " and isnull(do_dnia,0)<>0 and do_dnia<od_dnia");
}

}  // namespace slownik::banking
