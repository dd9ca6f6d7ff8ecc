#pragma once
#include <functional>
#include <string>

#include "framework/classes/ini_class.h"
#include "framework/services/progress_window.h"

namespace slownik::fw {

//! Long work behind the progress window, in steps on the procedure thread.
//!
//! run() opens the window, calls the step again and again until it says it is done,
//! and between two steps takes the window's input: "Anuluj", Esc or the close box stop
//! the work before the next step. A step is never interrupted half-way, so what one
//! step writes is either all there or not begun. The step reports through the setters.
class ProcessClass {
 public:
  enum class Outcome { Completed, Cancelled, NotOpened };

  //! One step; returns false when nothing is left to do.
  using Step = std::function<bool(ProcessClass&)>;

  //! Runs the work in a window titled `title`. With `settingsSection`, the window's
  //! placement is restored from and stored to `ini` under that name.
  Outcome run(std::string title, const Step& step, std::string settingsSection = {}, IniClass* ini = nullptr);

  //! The thermometer's upper bound and how far the work is (shown as 0-100 %).
  void setTotal(long total) { window_.setTotal(total); }
  void setProgress(long done) { window_.setProgress(done); }
  void setText(std::string text) { window_.setText(std::move(text)); }
  void setCounter(std::string text) { window_.setCounter(std::move(text)); }

  bool isCancelled() const { return window_.isCancelled(); }
  //! Steps run in the last run.
  long steps() const { return steps_; }
  const svc::ProgressWindow& window() const { return window_; }

 private:
  svc::ProgressWindow window_;
  long steps_ = 0;
};

}  // namespace slownik::fw
