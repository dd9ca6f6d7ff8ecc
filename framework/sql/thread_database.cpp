#include "framework/sql/thread_database.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/sql/table_changes.h"

namespace slownik::sql {
namespace {

std::mutex urlMutex;
std::string processUrl;
std::atomic<unsigned> urlGeneration{0};

struct Pooled {
  std::unique_ptr<Database> db;
  unsigned generation = 0;
};

// Idle connections, the most recently given back last. Guarded by poolMutex.
std::mutex poolMutex;
std::vector<Pooled>& idle() {
  static auto* pool = new std::vector<Pooled>();  // never destroyed: threads may end after main()
  return *pool;
}

std::unique_ptr<Database> borrow(unsigned generation) {
  std::vector<std::unique_ptr<Database>> stale;  // closed outside the lock
  std::unique_ptr<Database> found;
  {
    std::lock_guard lock(poolMutex);
    auto& pool = idle();
    while (!pool.empty()) {
      Pooled p = std::move(pool.back());
      pool.pop_back();
      if (p.generation == generation && p.db->isConnected()) {
        found = std::move(p.db);
        break;
      }
      stale.push_back(std::move(p.db));
    }
  }
  return found;
}

void giveBack(std::unique_ptr<Database> db, unsigned generation) {
  if (!db) return;
  // A transaction left open by the thread is not the next thread's: roll it back, and
  // close a connection that cannot.
  while (db->transactionDepth() > 0)
    if (!db->rollback()) return;
  if (generation != urlGeneration.load() || !db->isConnected()) return;
  std::lock_guard lock(poolMutex);
  auto& pool = idle();
  if (pool.size() >= kPoolSize) return;
  pool.push_back(Pooled{std::move(db), generation});
}

struct ThreadConnection {
  std::unique_ptr<Database> db;
  unsigned generation = 0;
  ~ThreadConnection() { giveBack(std::move(db), generation); }
};
thread_local ThreadConnection threadConnection;

}  // namespace

void setDatabaseUrl(std::string url) {
  std::vector<Pooled> dropped;
  {
    std::lock_guard lock(urlMutex);
    processUrl = std::move(url);
    urlGeneration.fetch_add(1);
  }
  // What was cached from the old database says nothing about the new one.
  noteUnknownChange();
  {
    std::lock_guard lock(poolMutex);
    dropped.swap(idle());
  }
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
  tc.generation = generation;
  if ((tc.db = borrow(generation))) {
    if (status) *status = {};
    return tc.db.get();
  }
  std::string url = databaseUrl();
  if (url.empty()) {
    if (status) *status = Status::failure("Nie wskazano bazy danych");
    return nullptr;
  }
  Status s;
  tc.db = openDatabase(url, &s);
  if (status) *status = s;
  return tc.db.get();
}

void closeThreadDatabase() { threadConnection.db.reset(); }

void releaseThreadDatabase() {
  ThreadConnection& tc = threadConnection;
  giveBack(std::move(tc.db), tc.generation);
  tc.db.reset();
}

std::size_t pooledConnections() {
  std::lock_guard lock(poolMutex);
  return idle().size();
}

}  // namespace slownik::sql
