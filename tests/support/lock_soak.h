#pragma once
// Several programs (threads, each with its own connection and session) take, edit,
// save, release and die on a few records at random, as users of the record locks do;
// afterwards the records tell whether an update was lost and whether a lock was left.
#include <chrono>
#include <string>

namespace slownik::test {

struct LockSoakOptions {
  std::string url;    //!< a migrated database with no banks yet
  int sessions = 8;   //!< programs at once
  int rounds = 300;   //!< actions of each program
  int records = 3;    //!< banks they share (few, so that they meet often)
  unsigned seed = 1;
  //! Long by default: a dead program must be seen by what the server or the lock file
  //! tells, not by its lease running out.
  std::chrono::milliseconds lease{120000};
  std::chrono::milliseconds renewEvery{1000};
};

struct LockSoakFigures {
  long rounds = 0;
  long takes = 0;
  long refusals = 0;            //!< a take refused because somebody else held the record
  long saves = 0;
  long refusedSaves = 0;        //!< a save refused because the lock was no longer the saver's
  long deaths = 0;              //!< programs that ended without releasing (their session let go)
  long stealsAfterDeath = 0;    //!< takes of a record whose last holder had died
  long overlaps = 0;            //!< two holders of one record at once (must be 0)
  long lostUpdates = 0;         //!< saves that the records do not show (must be 0)
  long locksLeft = 0;           //!< locks left after every program ended and a sweep (must be 0)
  long errors = 0;              //!< failures other than refusals (must be 0)
  std::string firstError;
  double seconds = 0;
};

LockSoakFigures runLockSoak(const LockSoakOptions& options);

}  // namespace slownik::test
