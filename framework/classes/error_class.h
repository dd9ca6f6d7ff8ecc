#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/error_handler.h"

namespace slownik::fw {

//! What the error handler reported on one thread, and the names of the procedures that
//! run on it (the innermost last). Each thread has its own: constructed when the thread
//! starts, destroyed when it ends. Never shared between threads, so it needs no lock.
class ErrorStatusClass {
 public:
  struct Report {
    std::string procedure;  //!< the procedure that ran when it happened ("" = none)
    std::string table;      //!< "" for a statement that is not about one table
    int code = 0;
    std::string text;
  };

  void add(Report report);
  std::optional<Report> last() const;
  int count() const { return count_; }
  void clear();

  void enterProcedure(std::string name) { procedures_.push_back(std::move(name)); }
  void leaveProcedure() {
    if (!procedures_.empty()) procedures_.pop_back();
  }
  std::string procedure() const { return procedures_.empty() ? std::string() : procedures_.back(); }

 private:
  std::optional<Report> last_;
  int count_ = 0;
  std::vector<std::string> procedures_;
};

//! The calling thread's error status. A thread the runtime did not start (the program's
//! main thread, a test's) gets one on first use.
ErrorStatusClass& threadErrorStatus();
//! Whether the calling thread has one now.
bool hasThreadErrorStatus();
//! Thread start: a fresh status for the calling thread.
void constructThreadErrorStatus();
//! Thread end: the calling thread's status goes.
void destroyThreadErrorStatus();

//! The module's error handler: file managers tell it of failed operations, windows tell
//! it their names and failed statements; every report goes to the calling thread's
//! error status and the log, with the name of the procedure that runs.
//!
//! One object serves every thread: it keeps no state of its own besides what the
//! threads' statuses hold, so it is safe to share. Nothing it does shows a window: the
//! window that made the call tells the person what it wants to.
class ErrorClass : public data::ErrorHandler {
 public:
  ~ErrorClass() override = default;

  //! The procedure now running on the calling thread. A window names itself on opening
  //! and calls it with "" on closing, which gives the name of the window it was opened
  //! from back, so a form closing does not leave its browse nameless.
  virtual void setProcedureName(std::string_view name);
  //! The procedure running on the calling thread ("" = none).
  std::string procedureName() const;

  void fileError(std::string_view table, int code, std::string_view text) override;
  //! A failed statement (EXECSQL and its kind); the text is the database's.
  virtual void sqlError(int code, std::string_view text);
};

}  // namespace slownik::fw
