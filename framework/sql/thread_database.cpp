#include "framework/sql/thread_database.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace slownik::sql {
namespace {

std::mutex urlMutex;
std::string processUrl;
std::atomic<unsigned> urlGeneration{0};

struct ThreadConnection {
  std::unique_ptr<Database> db;
  unsigned generation = 0;
};
thread_local ThreadConnection threadConnection;

}  // namespace

void setDatabaseUrl(std::string url) {
  std::lock_guard lock(urlMutex);
  processUrl = std::move(url);
  urlGeneration.fetch_add(1);
}

std::string databaseUrl() {
  std::lock_guard lock(urlMutex);
  return processUrl;
}

Database* threadDatabase(Status* status) {
  unsigned generation = urlGeneration.load();
  ThreadConnection& tc = threadConnection;
  if (tc.db && tc.generation == generation) {
    if (status) *status = {};
    return tc.db.get();
  }
  tc.db.reset();
  std::string url = databaseUrl();
  if (url.empty()) {
    if (status) *status = Status::failure("Nie wskazano bazy danych");
    return nullptr;
  }
  Status s;
  tc.db = openDatabase(url, &s);
  tc.generation = generation;
  if (status) *status = s;
  return tc.db.get();
}

void closeThreadDatabase() { threadConnection.db.reset(); }

}  // namespace slownik::sql
