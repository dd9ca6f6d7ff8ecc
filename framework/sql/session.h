#pragma once
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql {

//! How long a session's sign of life counts, and how often the program renews it.
//! The defaults free a dead program's locks within 60 seconds even where nothing else
//! tells that it is gone (a power cut on an SQLite share): at most `lease` after its
//! last renewal, plus one sweep period of another running program.
struct SessionTiming {
  std::chrono::milliseconds lease{40000};
  std::chrono::milliseconds renewEvery{10000};
};

//! One running program's row in SESJA. Edit locks (BLOKADA) belong to a session; a
//! session that has ended, in whatever way, no longer holds them.
//!
//! While it lives the session keeps a connection of its own, on which a heartbeat
//! thread renews its lease and sweeps away the locks of sessions that have ended. On
//! PostgreSQL that connection holds an advisory lock named by the session's keys, so
//! the server itself tells when the program is gone (its connection closed); on SQLite
//! the program holds a lock file beside the database for the same purpose.
//!
//! Thread-safe: the heartbeat and the owner may call in at once.
class Session {
 public:
  //! Registers a session of `user` on the database at `url`. Null, with the reason in
  //! *status, when the database cannot be reached or written.
  static std::unique_ptr<Session> start(const std::string& url, long long user, Status* status,
                                        SessionTiming timing = {});
  //! Ends the session (see end()).
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  long long id() const { return id_; }
  const SessionTiming& timing() const { return timing_; }

  //! Renews the lease now; the heartbeat does this every `renewEvery`. A session whose
  //! row another program removed (it took this one for dead) registers it again.
  Status renew();
  //! Clean end: every lock of the session is released at once, its row deleted, the
  //! heartbeat stopped. Idempotent.
  void end();
  //! The program is going away without a clean end (its libraries are being unloaded):
  //! the heartbeat stops and the connection and lock file close, so that the others
  //! see the session end at once. Touches no shared state of the process.
  void abandon();

 private:
  void stopHeartbeat();
  Session(std::unique_ptr<Database> db, SessionTiming timing);
  Status registerRow(long long user, bool reuseId);
  Status holdLiveness();
  void heartbeat();

  std::unique_ptr<Database> db_;  // used only under mutex_
  SessionTiming timing_;
  long long id_ = 0;
  long long user_ = 0;
  long long keyA_ = 0, keyB_ = 0;
  std::string lockFile_;  // SQLite: the file this program holds locked
  int lockFd_ = -1;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool ended_ = false;
  std::thread heartbeat_;
};

//! The session a lock taken on this thread belongs to: the thread's own when one was
//! set (ThreadSession), else the program's (setProcessSession), else 0 = none. Locks
//! taken without a session are held until released, as locks were before sessions.
long long currentSessionId();
//! The program's session for every thread (0 = none). Any thread.
void setProcessSessionId(long long id);

//! Makes `id` the session of the calling thread for the guard's life (a test that
//! plays several programs in one process, one per thread).
class ThreadSession {
 public:
  explicit ThreadSession(long long id);
  ~ThreadSession();
  ThreadSession(const ThreadSession&) = delete;
  ThreadSession& operator=(const ThreadSession&) = delete;

 private:
  long long previous_;
};

//! The window chain of the calling thread. Windows opened from a window run nested on
//! its thread, so a list and the form it opens share one chain; two windows on two
//! threads never do. Unique within the process.
long long lockOwnerOfThisThread();

//! What the database answers a write of a locked dictionary row by a form whose lock
//! was cleared or taken over meanwhile; the write is refused.
extern const char kLockGuardMessage[];

//! Seconds since 1970 by the database's clock, as SQL text for the backend.
std::string databaseNowSql(Backend backend);

//! Whether session `id` still runs. 0 (no session) counts as running: nothing can
//! tell its end.
Status isSessionAlive(Database& db, long long id, bool* alive);
//! Every registered session that has ended (lease run out, connection or lock file gone).
Status endedSessions(Database& db, std::vector<long long>* ended);
//! Whether `user` has a running session.
Status hasRunningSession(Database& db, long long user, bool* running);

}  // namespace slownik::sql
