#include "support/lock_soak.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/session.h"

namespace slownik::test {
namespace {

struct Shared {
  explicit Shared(int records) : holder(records), diedHolding(records), saves(records) {}
  std::vector<std::atomic<int>> holder;       // 0 free, else the program's number + 1
  std::vector<std::atomic<bool>> diedHolding;  // its last holder died with it
  std::vector<std::atomic<long>> saves;
  std::atomic<long> takes{0}, refusals{0}, savesTotal{0}, refusedSaves{0}, deaths{0}, steals{0}, overlaps{0},
      errors{0}, rounds{0};
  std::mutex errorMutex;
  std::string firstError;

  void fail(const std::string& text) {
    ++errors;
    std::lock_guard lock(errorMutex);
    if (firstError.empty()) firstError = text;
  }
};

bool isRefusal(const sql::Status& s) { return s.message().find("Lock") != std::string::npos; }

// One program: its connection, its session and the record it holds.
class Program {
 public:
  Program(const LockSoakOptions& o, Shared& shared, int number)
      : o_(o), shared_(shared), number_(number), user_(1000 + number % 4), random_(o.seed * 7919u + number) {}

  void run() {
    if (!begin()) return;
    for (int round = 0; round < o_.rounds; ++round) {
      ++shared_.rounds;
      if (held_ < 0) {
        take(static_cast<int>(random_() % static_cast<unsigned>(o_.records)));
        continue;
      }
      switch (random_() % 8) {
        case 0: case 1: case 2: save(); break;
        case 3: case 4: case 5: release(); break;
        case 6: die(); break;
        default: take(held_); break;  // a form of the same window chain takes it again
      }
    }
    while (held_ >= 0) release();
    session_->end();
  }

 private:
  bool begin() {
    sql::Status s;
    db_ = sql::openDatabase(o_.url, &s);
    if (db_) session_ = sql::Session::start(o_.url, user_, &s, {o_.lease, o_.renewEvery});
    if (!db_ || !session_) {
      shared_.fail("start: " + s.message());
      return false;
    }
    onThread_.emplace(session_->id());
    return true;
  }

  std::string call(const char* routine, int record) const {
    return std::string("call ") + routine + "('banki'," + std::to_string(record + 1) + "," + std::to_string(user_) +
           (std::string(routine) == "TKW_KartotekaSemaforUstaw" ? ",2)" : ")");
  }

  void take(int record) {
    sql::Status s = db_->run(call("TKW_KartotekaSemaforUstaw", record));
    if (!s) {
      if (isRefusal(s)) ++shared_.refusals;
      else shared_.fail("take: " + s.message());
      return;
    }
    ++shared_.takes;
    if (held_ == record) {
      ++depth_;
      return;
    }
    int expected = 0;
    if (!shared_.holder[record].compare_exchange_strong(expected, number_ + 1)) ++shared_.overlaps;
    if (shared_.diedHolding[record].exchange(false)) ++shared_.steals;
    held_ = record;
    depth_ = 1;
    sql::Result r;
    std::vector<sql::Param> id = {static_cast<long long>(record + 1)};
    if (!db_->execute("SELECT NAZWA FROM BANKI WHERE ID_BANKU = ?", id, &r).isOk()) shared_.fail("read");
    value_ = std::atol(r.scalar().c_str());
  }

  // The form's save: the lock is checked and the row written in one transaction, so
  // nobody can take the lock in between.
  void save() {
    sql::Transaction tx(*db_, sql::TransactionMode::Immediate);
    sql::Status s = tx.status();
    if (s) s = db_->run(call("TKW_KartotekaSemaforSprawdz", held_));
    if (!s) {
      if (isRefusal(s)) ++shared_.refusedSaves;
      else shared_.fail("check: " + s.message());
      return;
    }
    std::vector<sql::Param> params = {std::to_string(value_ + 1), static_cast<long long>(held_ + 1)};
    s = db_->execute("UPDATE BANKI SET NAZWA = ? WHERE ID_BANKU = ?", params, nullptr);
    if (s) s = tx.commit();
    if (!s) {
      shared_.fail("save: " + s.message());
      return;
    }
    ++value_;
    ++shared_.saves[held_];
    ++shared_.savesTotal;
  }

  void release() {
    if (--depth_ == 0) {
      // Let go of the marker first: once the database frees the record, another
      // program may take it at once.
      shared_.holder[held_].store(0);
      int record = held_;
      held_ = -1;
      if (sql::Status s = db_->run(call("TKW_KartotekaSemaforPoloz", record)); !s) shared_.fail("release: " + s.message());
      return;
    }
    if (sql::Status s = db_->run(call("TKW_KartotekaSemaforPoloz", held_)); !s) shared_.fail("release: " + s.message());
  }

  // The program is killed: nothing is released, its connections close.
  void die() {
    shared_.holder[held_].store(0);
    shared_.diedHolding[held_].store(true);
    held_ = -1;
    depth_ = 0;
    ++shared_.deaths;
    onThread_.reset();
    session_->abandon();
    session_.reset();
    db_.reset();
    begin();
  }

  const LockSoakOptions& o_;
  Shared& shared_;
  int number_;
  long long user_;
  std::mt19937 random_;
  std::unique_ptr<sql::Database> db_;
  std::unique_ptr<sql::Session> session_;
  std::optional<sql::ThreadSession> onThread_;
  int held_ = -1;
  int depth_ = 0;
  long value_ = 0;
};

}  // namespace

LockSoakFigures runLockSoak(const LockSoakOptions& o) {
  LockSoakFigures f;
  sql::Status s;
  auto db = sql::openDatabase(o.url, &s);
  if (!db) {
    f.errors = 1;
    f.firstError = s.message();
    return f;
  }
  for (int record = 1; record <= o.records; ++record) {
    std::vector<sql::Param> id = {static_cast<long long>(record)};
    if (sql::Status insert = db->execute("INSERT INTO BANKI (ID_BANKU, NAZWA, SEMAFOR) VALUES (?, '0', 0)", id, nullptr);
        !insert) {
      f.errors = 1;
      f.firstError = insert.message();
      return f;
    }
  }
  Shared shared(o.records);
  auto started = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int n = 0; n < o.sessions; ++n)
    threads.emplace_back([&o, &shared, n] { Program(o, shared, n).run(); });
  for (auto& t : threads) t.join();
  f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  // The locks of programs that died and were never taken over go at the next sweep.
  if (sql::Status swept = db->run("call TKW_KartotekaSemaforPorzadkuj()"); !swept) shared.fail("sweep: " + swept.message());
  for (int record = 0; record < o.records; ++record) {
    sql::Result r;
    std::vector<sql::Param> id = {static_cast<long long>(record + 1)};
    db->execute("SELECT NAZWA, COALESCE(SEMAFOR, 0) FROM BANKI WHERE ID_BANKU = ?", id, &r);
    f.lostUpdates += std::labs(shared.saves[record].load() - std::atol(r.text(0, 0).c_str()));
    if (r.text(0, 1) != "0") ++f.locksLeft;
  }
  sql::Result left;
  db->execute("SELECT COUNT(*) FROM BLOKADA", &left);
  f.locksLeft += std::atol(left.scalar().c_str());
  f.rounds = shared.rounds;
  f.takes = shared.takes;
  f.refusals = shared.refusals;
  f.saves = shared.savesTotal;
  f.refusedSaves = shared.refusedSaves;
  f.deaths = shared.deaths;
  f.stealsAfterDeath = shared.steals;
  f.overlaps = shared.overlaps;
  f.errors = shared.errors;
  f.firstError = shared.firstError;
  return f;
}

}  // namespace slownik::test
