#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/runtime/event.h"
#include "framework/runtime/window.h"

namespace slownik::test {

//! An event as a short text ("1 ?INSERT k45"), so sequences compare readably.
std::string describe(const rt::Event& e);
//! Every event queued in `window` now (the test thread owns it).
std::vector<std::string> drain(rt::Window& window);

//! What a procedure thread saw, for the test thread to read.
class EventLog {
 public:
  void add(const std::string& where, const rt::Event& e, int thread);
  std::vector<std::string> events() const;
  std::vector<int> threads() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<int> threads_;
};

//! Decides what a procedure does with an event; false ends the window's loop.
using React = std::function<bool(rt::Window&, const rt::Event&)>;

//! A window procedure as the window classes will run one: opens the window, lets
//! `setUp` fill it, logs every event under `tag` and hands it to `react` until that
//! says stop, a close is asked for, or ?CLOSE/?CANCEL is pressed; then closes.
void runWindow(const std::string& resource, const std::string& type, const std::string& tag, EventLog& log,
               const std::function<void(rt::Window&)>& setUp, const React& react);

}  // namespace slownik::test
