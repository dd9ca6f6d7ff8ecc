#include "engine/record_semaphore.h"

#include <algorithm>
#include <map>
#include <utility>

#include "framework/classes/browse_class.h"
#include "framework/data/globals.h"
#include "framework/runtime/control.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/session.h"
#include "framework/sql/text.h"

namespace slownik::engine {
namespace {

constexpr long kBlue = 0xFF0000;       // the runtime's colours are blue-green-red
constexpr long kLightBlue = 0xFF8000;
constexpr long kRed = 0x0000FF;

std::string call(const std::string& routine, const std::string& table, double id, double user,
                 const std::string& tail = {}) {
  return "call " + routine + "(" + sql::quote(table) + "," + sql::sqlId(id) + "," + sql::sqlId(user) + tail + ")";
}

// The locks this thread's windows took and have not released, with how often (a list
// and the form it opened may both take one).
thread_local std::map<std::pair<std::string, double>, int> heldHere;

// The line naming the holder, as the lock routines append it to their refusal.
std::string holderLineOf(const std::string& errorText) {
  std::size_t start = errorText.find("Edytuje: ");
  if (start == std::string::npos) return {};
  std::size_t end = errorText.find('|', start);
  return errorText.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::string refusalText(const std::string& lockedMessage, const LockResult& result) {
  return result.holder.empty() ? lockedMessage : lockedMessage + "|" + result.holder;
}

bool isHeldOnThisThread(const std::string& table, double id) { return heldHere.count({table, id}) > 0; }

RecordSemaphore::RecordSemaphore(std::string table, std::string lockedMessage)
    : table_(std::move(table)), lockedMessage_(std::move(lockedMessage)) {}

std::string RecordSemaphore::takeStatement(double id, double user) const {
  return call("TKW_KartotekaSemaforUstaw", table_, id, user, ",2");
}
std::string RecordSemaphore::releaseStatement(double id, double user) const {
  return call("TKW_KartotekaSemaforPoloz", table_, id, user);
}
std::string RecordSemaphore::removeStatement(double id, double user) const {
  return call("TKW_KartotekaZapisSkasuj", table_, id, user);
}

LockResult RecordSemaphore::run(const std::string& statement) const {
  svc::EXECSQL(statement);
  if (rt::errorCode() == 0) return {};
  LockResult r;
  r.errorText = rt::errorText();
  // The stored procedures answer a refusal because of another user's lock with a text
  // that contains "Lock"; everything else is told as the database said it.
  r.outcome = r.errorText.find("Lock") != std::string::npos ? LockOutcome::Locked : LockOutcome::Failed;
  if (r.outcome == LockOutcome::Locked) r.holder = holderLineOf(r.errorText);
  return r;
}

LockResult RecordSemaphore::tryTake(double id, double user) const { return run(takeStatement(id, user)); }
LockResult RecordSemaphore::tryRelease(double id, double user) const { return run(releaseStatement(id, user)); }
LockResult RecordSemaphore::tryRemove(double id, double user) const { return run(removeStatement(id, user)); }

bool RecordSemaphore::warnUnlessDone(const LockResult& result) const {
  if (result.isDone()) return true;
  svc::MSG_OSTRZEZENIE(result.outcome == LockOutcome::Locked ? refusalText(lockedMessage_, result) : result.errorText);
  return false;
}

bool RecordSemaphore::take(double id) const {
  if (!warnUnlessDone(tryTake(id, currentUser()))) return false;
  ++heldHere[{table_, id}];
  return true;
}

bool RecordSemaphore::release(double id) const {
  auto held = heldHere.find({table_, id});
  if (held != heldHere.end() && --held->second <= 0) heldHere.erase(held);
  LockResult r = tryRelease(id, currentUser());
  svc::CLOSESQL();
  // A release never meets another user's lock (it leaves such a lock alone), so any
  // failure is the database's own and is told as it is.
  if (r.isDone()) return true;
  svc::MSG_OSTRZEZENIE(r.errorText);
  return false;
}

bool RecordSemaphore::remove(double id) const {
  if (!warnUnlessDone(tryRemove(id, currentUser()))) return false;
  heldHere.erase({table_, id});
  return true;
}

std::string RecordSemaphore::heldCondition(double id, std::vector<sql::Param>* params) const {
  *params = {table_, static_cast<long long>(id), sql::currentSessionId(), sql::lockOwnerOfThisThread(),
             static_cast<long long>(currentUser())};
  return "EXISTS (SELECT 1 FROM BLOKADA WHERE TABELA = ? AND ID_REKORDU = ? AND ID_SESJI = ? AND WLASCICIEL = ? AND "
         "ID_UZYTKOWNIKA = ?)";
}

std::string RecordSemaphore::holderOf(double id) const {
  std::string line = svc::FUNCSQL("select * from TKW_KartotekaSemaforKto(" + sql::quote(table_) + "," + sql::sqlId(id) + ")");
  return rt::errorCode() == 0 ? line : std::string();
}

bool RecordSemaphore::clear(double id, std::string* formerHolder) const {
  std::string line = svc::FUNCSQL("select * from TKW_KartotekaSemaforZdejmij(" + sql::quote(table_) + "," +
                                  sql::sqlId(id) + "," + sql::sqlId(currentUser()) + ")");
  if (rt::errorCode() != 0) {
    svc::MSG_OSTRZEZENIE(rt::errorText());
    return false;
  }
  if (formerHolder) *formerHolder = line;
  return true;
}

double currentUser() { return data::glo().ID_UZYTKOWNIKA.get(); }

LockHolder lockHolder(double semafor, double user) {
  if (semafor > 0 && semafor == user) return LockHolder::CurrentUser;
  if (semafor > 0) return LockHolder::OtherUser;
  return LockHolder::Nobody;
}

CellColours semaphoreColours(LockHolder holder) {
  switch (holder) {
    case LockHolder::OtherUser: return {kBlue, rt::kNoColor, kLightBlue, rt::kNoColor};
    case LockHolder::CurrentUser: return {kRed, rt::kNoColor, kRed, rt::kNoColor};
    case LockHolder::Nobody: break;
  }
  return {rt::kNoColor, rt::kNoColor, rt::kNoColor, rt::kNoColor};
}

bool SemaphoreRowColours::init(const std::string& listFormat, std::vector<int> columns) {
  colouredColumns_.clear();
  plainColumns_.clear();
  auto format = rt::ListFormat::parse(listFormat);
  if (!format) return false;
  for (std::size_t i = 0; i < format->columns.size(); ++i) {
    const rt::ListColumn& c = format->columns[i];
    if (!c.cellColours || c.colourField <= 0) continue;
    bool chosen = std::find(columns.begin(), columns.end(), static_cast<int>(i) + 1) != columns.end();
    (chosen ? colouredColumns_ : plainColumns_).push_back(c.colourField);
  }
  return true;
}

void SemaphoreRowColours::apply(fw::ListRow& row, double semafor, double user) const {
  auto put = [&row](int field, const CellColours& c) {
    fw::setCellColours(row, field, c.text, c.back, c.selectedText, c.selectedBack);
  };
  const CellColours locked = semaphoreColours(lockHolder(semafor, user));
  const CellColours plain = semaphoreColours(LockHolder::Nobody);
  for (int f : colouredColumns_) put(f, locked);
  for (int f : plainColumns_) put(f, plain);
}

}  // namespace slownik::engine
