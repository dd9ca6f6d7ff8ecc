#include "framework/services/progress_window.h"

#include <algorithm>

#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"

namespace slownik::svc {
namespace {

// Long work takes the window's input between steps without waiting; now and then it
// waits a moment, so that a watcher sees the window ready for input and the front-end's
// clicks are taken even when every step is quick.
constexpr std::chrono::milliseconds kPauseEvery{20};
constexpr std::chrono::milliseconds kPause{1};

rt::ControlDef control(rt::ControlKind kind, std::string name, std::string caption = {}) {
  rt::ControlDef c;
  c.kind = kind;
  c.name = std::move(name);
  c.caption = std::move(caption);
  return c;
}

}  // namespace

rt::WindowDef ProgressWindow::definition(std::string title) {
  rt::WindowDef def;
  def.resource = "slownik$progress";
  def.type = kType;
  def.caption = std::move(title);
  def.minWidth = 200;
  def.minHeight = 60;
  auto thermometer = control(rt::ControlKind::Progress, kThermometer);
  thermometer.value = "0";
  def.controls.push_back(std::move(thermometer));
  def.controls.push_back(control(rt::ControlKind::String, kText));
  def.controls.push_back(control(rt::ControlKind::String, kCounter));
  auto cancel = control(rt::ControlKind::Button, kCancel, "Anuluj");
  cancel.key = rt::key::Esc;
  cancel.keyLabel = "Esc";
  def.controls.push_back(std::move(cancel));
  return def;
}

bool ProgressWindow::open(std::string title, bool cancellable) {
  close();
  window_ = rt::Window::open(definition(std::move(title)));
  if (!window_) return false;
  work_ = std::make_unique<rt::WorkInProgress>(window_->id());
  if (!cancellable) window_->disable(kCancel);
  total_ = 100;
  percent_ = -1;
  cancelled_ = false;
  lastPause_ = std::chrono::steady_clock::now();
  setProgress(0);
  return true;
}

void ProgressWindow::close() {
  if (window_ && !window_->isClosed()) window_->close();
  work_.reset();
}

void ProgressWindow::setTotal(long total) { total_ = std::max(1L, total); }

void ProgressWindow::setProgress(long done) {
  long clamped = std::clamp(done, 0L, total_);
  int percent = static_cast<int>(clamped * 100 / total_);
  if (percent == percent_) return;  // the thermometer moves only when the number changes
  percent_ = percent;
  if (window_) window_->setValue(kThermometer, std::to_string(percent));
}

void ProgressWindow::setText(std::string text) {
  if (window_) window_->setText(kText, std::move(text));
}

void ProgressWindow::setCounter(std::string text) {
  if (window_) window_->setText(kCounter, std::move(text));
}

bool ProgressWindow::checkCancel() {
  if (!isOpen()) return cancelled_;
  auto now = std::chrono::steady_clock::now();
  auto wait = std::chrono::milliseconds{0};
  if (now - lastPause_ >= kPauseEvery) {
    wait = kPause;
    lastPause_ = now;
  }
  while (auto e = window_->nextEvent(wait)) {
    wait = std::chrono::milliseconds{0};
    bool cancelButton = e->code == rt::event::Accepted && e->control == kCancel;
    if (cancelButton || e->code == rt::event::CloseWindow) {
      cancelled_ = true;
      break;  // a closed window answers every wait with CloseWindow
    }
  }
  return cancelled_;
}

void runBehindProgress(std::string_view text, const std::function<void()>& work) {
  if (text.empty()) {
    work();
    return;
  }
  ProgressWindow progress;
  if (!progress.open("Proszę czekać...", false)) rt::logMessage("progress window did not open");
  progress.setText(std::string(text));
  work();
  progress.setProgress(100);
}

}  // namespace slownik::svc
