#include "framework/sql/session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <random>

#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

constinit std::atomic<long long> processSession{0};
thread_local long long threadSession = 0;
constinit std::atomic<long long> nextOwner{1};
thread_local long long threadOwner = 0;

std::string workstationName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "?";
  return truncateUtf8(name, 64);
}

// Keys of the session's liveness token, each a positive 31-bit number, so that they
// fit PostgreSQL's two-integer advisory lock and read back unchanged from pg_locks.
long long randomKey() {
  static std::mutex m;
  static std::mt19937_64 engine{std::random_device{}()};
  std::lock_guard lock(m);
  return static_cast<long long>(engine() % 0x7FFFFFFEULL) + 1;
}

// --- what tells that a program still runs, per backend ------------------------------

// The server's own view: the advisory lock that the session's connection holds is in
// pg_locks exactly as long as that connection is open.
const char* const kPostgresHeldSql =
    "EXISTS (SELECT 1 FROM pg_locks l WHERE l.locktype = 'advisory' AND l.granted AND l.objsubid = 2 "
    "AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database()) "
    "AND l.classid::bigint = s.KLUCZ_A AND l.objid::bigint = s.KLUCZ_B)";

std::string sqliteFileOf(Database& db) {
  Result r;
  if (!db.execute("SELECT file FROM pragma_database_list WHERE name = 'main'", &r).isOk()) return {};
  return r.scalar();
}

std::string lockFileName(const std::string& dbFile, long long id, long long keyA) {
  if (dbFile.empty()) return {};
  return dbFile + "-sesja-" + std::to_string(id) + "-" + std::to_string(keyA);
}

// Whether the lock file of a session on an SQLite database shows its program gone:
// the file is there and nobody holds it locked. A file that is missing tells nothing
// (the program may run on another machine that names the share differently); then
// the lease decides. A file found abandoned is removed.
bool lockFileAbandoned(const std::string& file) {
  if (file.empty()) return false;
  int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (abandoned) ::unlink(file.c_str());
  ::close(fd);
  return abandoned;
}

struct SessionState {
  long long id = 0;
  long long user = 0;
  bool leaseValid = false;  // PostgreSQL: and the connection's advisory lock is held
  long long keyA = 0;
};

// Every session row (or one), with what the database alone can tell of it.
Status readSessions(Database& db, const std::string& where, std::vector<Param> params,
                    std::vector<SessionState>* out) {
  const bool pg = db.backend() == Backend::Postgres;
  std::string sql = "SELECT s.ID_SESJI, s.ID_UZYTKOWNIKA, CASE WHEN s.OSTATNI_SYGNAL + s.DZIERZAWA >= " +
                    databaseNowSql(db.backend()) + (pg ? std::string(" AND ") + kPostgresHeldSql : std::string()) +
                    " THEN 1 ELSE 0 END, s.KLUCZ_A FROM SESJA s" + where;
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  for (std::size_t i = 0; i < r.size(); ++i) {
    SessionState st;
    st.id = std::atoll(r.text(i, 0).c_str());
    st.user = std::atoll(r.text(i, 1).c_str());
    st.leaseValid = r.text(i, 2) == "1";
    st.keyA = std::atoll(r.text(i, 3).c_str());
    out->push_back(st);
  }
  return {};
}

Status runningStates(Database& db, const std::string& where, std::vector<Param> params,
                     std::vector<std::pair<SessionState, bool>>* out) {
  std::vector<SessionState> states;
  if (Status s = readSessions(db, where, std::move(params), &states); !s) return s;
  std::string dbFile;
  if (db.backend() == Backend::Sqlite) {
    for (const auto& st : states)
      if (st.leaseValid) {
        dbFile = sqliteFileOf(db);
        break;
      }
  }
  for (const auto& st : states) {
    bool running = st.leaseValid && !lockFileAbandoned(lockFileName(dbFile, st.id, st.keyA));
    out->emplace_back(st, running);
  }
  return {};
}

}  // namespace

// --- the program's and the thread's session --------------------------------------------

long long currentSessionId() {
  return threadSession != 0 ? threadSession : processSession.load(std::memory_order_acquire);
}

void setProcessSessionId(long long id) { processSession.store(id, std::memory_order_release); }

ThreadSession::ThreadSession(long long id) : previous_(threadSession) { threadSession = id; }
ThreadSession::~ThreadSession() { threadSession = previous_; }

long long lockOwnerOfThisThread() {
  if (threadOwner == 0) threadOwner = nextOwner.fetch_add(1, std::memory_order_relaxed);
  return threadOwner;
}

std::string databaseNowSql(Backend backend) {
  switch (backend) {
    case Backend::Postgres: return "EXTRACT(EPOCH FROM clock_timestamp())";
    case Backend::Sqlite: break;
  }
  return "((julianday('now') - 2440587.5) * 86400.0)";
}

Status isSessionAlive(Database& db, long long id, bool* alive) {
  *alive = true;
  if (id == 0) return {};
  std::vector<std::pair<SessionState, bool>> states;
  if (Status s = runningStates(db, " WHERE s.ID_SESJI = ?", {id}, &states); !s) return s;
  *alive = !states.empty() && states.front().second;
  return {};
}

Status endedSessions(Database& db, std::vector<long long>* ended) {
  std::vector<std::pair<SessionState, bool>> states;
  if (Status s = runningStates(db, "", {}, &states); !s) return s;
  for (const auto& [st, running] : states)
    if (!running) ended->push_back(st.id);
  // Every program's sweep releases them in the same order, so two sweeps that meet
  // wait for each other instead of deadlocking.
  std::sort(ended->begin(), ended->end());
  return {};
}

Status hasRunningSession(Database& db, long long user, bool* running) {
  *running = false;
  std::vector<std::pair<SessionState, bool>> states;
  if (Status s = runningStates(db, " WHERE s.ID_UZYTKOWNIKA = ?", {user}, &states); !s) return s;
  for (const auto& [st, alive] : states) *running = *running || alive;
  return {};
}

// --- the session itself ------------------------------------------------------------------

Session::Session(std::unique_ptr<Database> db, SessionTiming timing) : db_(std::move(db)), timing_(timing) {}

std::unique_ptr<Session> Session::start(const std::string& url, long long user, Status* status, SessionTiming timing) {
  Status s;
  std::unique_ptr<Database> db = openDatabase(url, &s);
  if (!db) {
    if (status) *status = s.isOk() ? Status::failure("Nie można połączyć się z bazą danych") : s;
    return nullptr;
  }
  std::unique_ptr<Session> session(new Session(std::move(db), timing));
  session->keyA_ = randomKey();
  session->keyB_ = randomKey();
  {
    std::lock_guard lock(session->mutex_);
    // On PostgreSQL the advisory lock comes first: a row seen without it is a program
    // that has ended, and another program's sweep would remove it.
    const bool heldFirst = session->db_->backend() == Backend::Postgres;
    if (heldFirst) s = session->holdLiveness();
    if (s) s = session->registerRow(user, false);
    if (s && !heldFirst) s = session->holdLiveness();
  }
  if (!s) {
    if (status) *status = s;
    session->ended_ = true;  // nothing to release; the destructor leaves the row alone
    return nullptr;
  }
  session->heartbeat_ = std::thread([raw = session.get()] { raw->heartbeat(); });
  if (status) *status = {};
  return session;
}

Session::~Session() { end(); }

Status Session::registerRow(long long user, bool reuseId) {
  user_ = user;
  const std::string now = databaseNowSql(db_->backend());
  const double lease = std::chrono::duration<double>(timing_.lease).count();
  // Two programs starting at once may pick the same number: the primary key refuses
  // the second, which tries the next one.
  for (int attempt = 0; attempt < 20; ++attempt) {
    Transaction tx(*db_, TransactionMode::Immediate);
    if (!tx.status()) return tx.status();
    long long id = id_;
    if (!reuseId) {
      Result r;
      if (Status s = db_->execute("SELECT COALESCE(MAX(ID_SESJI), 0) + 1 FROM SESJA", &r); !s) return s;
      id = std::atoll(r.scalar().c_str());
    }
    std::vector<Param> params = {id, user, workstationName(), static_cast<long long>(::getpid()), keyA_, keyB_, lease};
    Status s = db_->execute("INSERT INTO SESJA (ID_SESJI, ID_UZYTKOWNIKA, STANOWISKO, PROCES, KLUCZ_A, KLUCZ_B, "
                            "DZIERZAWA, START, OSTATNI_SYGNAL) VALUES (?, ?, ?, ?, ?, ?, ?, " +
                                now + ", " + now + ")",
                            params, nullptr);
    if (s) s = tx.commit();
    if (s) {
      if (!reuseId) id_ = id;  // before the heartbeat starts; never changes after
      return {};
    }
    if (reuseId) return s;
  }
  return Status::failure("Nie można zarejestrować sesji programu");
}

Status Session::holdLiveness() {
  if (db_->backend() == Backend::Postgres) {
    // A killed program's socket is closed by its system and the server sees that at
    // once; these make the server also notice a machine that vanished from the network.
    for (const char* setting :
         {"SET tcp_keepalives_idle = 10", "SET tcp_keepalives_interval = 5", "SET tcp_keepalives_count = 3"})
      db_->execute(setting);
    std::vector<Param> keys = {keyA_, keyB_};
    return db_->execute("SELECT pg_advisory_lock(CAST(? AS INTEGER), CAST(? AS INTEGER))", keys, nullptr);
  }
  std::string file = lockFileName(sqliteFileOf(*db_), id_, keyA_);
  if (file.empty()) return {};  // an in-memory database: the lease alone
  // Locked under a temporary name and then renamed, so that nobody ever finds the
  // file there but not yet held.
  std::string temporary = file + ".nowy";
  int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return {};  // a read-only folder: the lease alone
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(temporary.c_str(), file.c_str()) != 0) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return {};
  }
  lockFd_ = fd;
  lockFile_ = file;
  return {};
}

Status Session::renew() {
  std::lock_guard lock(mutex_);
  if (ended_) return Status::failure("Sesja została zakończona");
  if (!db_->isConnected()) {
    // The server lost the connection, and with it the advisory lock: others have seen
    // this session end. Come back under the same number; the locks are gone for good.
    Status s;
    auto fresh = openDatabase(db_->url(), &s);
    if (!fresh) return s;
    db_ = std::move(fresh);
    if (Status h = holdLiveness(); !h) return h;
  }
  std::vector<Param> params = {id_};
  Result r;
  Status s = db_->execute("UPDATE SESJA SET OSTATNI_SYGNAL = " + databaseNowSql(db_->backend()) + " WHERE ID_SESJI = ?",
                          params, &r);
  if (!s) return s;
  if (r.affectedRows == 0) return registerRow(user_, true);
  return {};
}

void Session::heartbeat() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (wake_.wait_for(lock, timing_.renewEvery, [this] { return stopping_; })) break;
    lock.unlock();
    renew();
    {
      // Locks of programs that ended are released here, so that their rows' colours
      // clear even when nobody asks for those rows.
      std::lock_guard again(mutex_);
      if (!ended_) db_->run("call TKW_KartotekaSemaforPorzadkuj()");
    }
    lock.lock();
  }
}

void Session::stopHeartbeat() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (heartbeat_.joinable()) heartbeat_.join();
}

void Session::abandon() {
  stopHeartbeat();
  std::lock_guard lock(mutex_);
  if (ended_) return;
  ended_ = true;
  db_.reset();
  if (lockFd_ >= 0) {
    ::close(lockFd_);
    lockFd_ = -1;
  }
}

void Session::end() {
  {
    std::lock_guard lock(mutex_);
    if (ended_) return;
  }
  stopHeartbeat();
  std::lock_guard lock(mutex_);
  if (ended_) return;
  ended_ = true;
  if (id_ != 0) db_->run("call TKW_SesjaZakoncz(" + std::to_string(id_) + ")");
  if (db_->backend() == Backend::Postgres) {
    std::vector<Param> keys = {keyA_, keyB_};
    db_->execute("SELECT pg_advisory_unlock(CAST(? AS INTEGER), CAST(? AS INTEGER))", keys, nullptr);
  }
  if (lockFd_ >= 0) {
    ::unlink(lockFile_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
  }
}

}  // namespace slownik::sql
