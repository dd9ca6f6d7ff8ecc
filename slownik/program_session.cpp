#include "slownik/program_session.h"

#include <memory>
#include <mutex>
#include <string>

#include "framework/data/globals.h"
#include "framework/runtime/log.h"
#include "framework/sql/session.h"
#include "framework/sql/thread_database.h"

namespace slownik {
namespace {

std::mutex sessionMutex;
std::unique_ptr<sql::Session> programSession;

}  // namespace

void startProgramSession() {
  std::lock_guard lock(sessionMutex);
  if (programSession) return;
  std::string url = sql::databaseUrl();
  if (url.empty()) return;
  sql::Status status;
  auto session = sql::Session::start(url, static_cast<long long>(data::glo().ID_UZYTKOWNIKA.get()), &status);
  if (!session) {
    rt::logMessage("no session for the edit locks: " + status.message());
    return;
  }
  sql::setProcessSessionId(session->id());
  programSession = std::move(session);
}

void endProgramSession() {
  std::unique_ptr<sql::Session> ending;
  {
    std::lock_guard lock(sessionMutex);
    ending = std::move(programSession);
  }
  sql::setProcessSessionId(0);
  if (ending) ending->end();
}

void abandonProgramSession() {
  std::lock_guard lock(sessionMutex);
  sql::setProcessSessionId(0);
  if (programSession) programSession->abandon();
}

long long programSessionId() {
  std::lock_guard lock(sessionMutex);
  return programSession ? programSession->id() : 0;
}

}  // namespace slownik
