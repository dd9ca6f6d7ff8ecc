#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"

namespace slownik::svc {

//! The framework's progress window (type "P1$PROGRESSWINDOW"): a thermometer from 0 to
//! 100, a text line, a counter line and the button "Anuluj" (Esc).
//!
//! Work that shows it runs on the procedure thread, so the window's input is taken only
//! when the work asks: checkCancel() between steps. Belongs to the thread that opened it.
class ProgressWindow {
 public:
  static constexpr const char* kType = "P1$PROGRESSWINDOW";
  static constexpr const char* kThermometer = "?PROGRESS:THERMOMETER";
  static constexpr const char* kText = "?NAZWA";
  static constexpr const char* kCounter = "?LICZNIK";
  static constexpr const char* kCancel = "?PROGRESS:CANCEL";

  //! The window as the front-end lays it out; the same for every caller but its title.
  static rt::WindowDef definition(std::string title);

  ProgressWindow() = default;
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;
  ~ProgressWindow() { close(); }

  //! Opens the window on the calling thread; `cancellable` false greys "Anuluj" (work
  //! that can't stop half-way).
  bool open(std::string title, bool cancellable = true);
  bool isOpen() const { return window_ && !window_->isClosed(); }
  void close();

  //! The thermometer's upper bound (100 until set; values below 1 count as 1).
  void setTotal(long total);
  //! Shows `done` of the total on the thermometer, as a whole percentage 0-100.
  void setProgress(long done);
  int percent() const { return percent_; }
  void setText(std::string text);
  void setCounter(std::string text);

  //! Takes the input that waits for the window without blocking; true once the person
  //! pressed "Anuluj" or Esc or closed the window.
  bool checkCancel();
  bool isCancelled() const { return cancelled_; }

  const std::shared_ptr<rt::Window>& window() const { return window_; }

 private:
  std::shared_ptr<rt::Window> window_;
  std::unique_ptr<rt::WorkInProgress> work_;  //!< while open: the thread is at work, not waiting
  long total_ = 100;
  int percent_ = -1;
  bool cancelled_ = false;
  std::chrono::steady_clock::time_point lastPause_{};
};

//! Runs `work` behind a progress window that shows `text` (the statements of EXECSQLWIN:
//! one server call that can't be cancelled half-way). Without a text no window is shown.
void runBehindProgress(std::string_view text, const std::function<void()>& work);

}  // namespace slownik::svc
