#include "runtime/window_test_support.h"

#include "framework/runtime/procedure_thread.h"

namespace slownik::test {

std::string describe(const rt::Event& e) {
  std::string out = std::to_string(e.code);
  if (!e.control.empty()) out += " " + e.control;
  if (e.keyCode) out += " k" + std::to_string(e.keyCode);
  if (e.column) out += " c" + std::to_string(e.column) + (e.inHeader ? "h" : "");
  return out;
}

std::vector<std::string> drain(rt::Window& window) {
  std::vector<std::string> out;
  while (auto e = window.nextEvent(std::chrono::milliseconds(0))) out.push_back(describe(*e));
  return out;
}

void EventLog::add(const std::string& where, const rt::Event& e, int thread) {
  std::lock_guard lock(mutex_);
  events_.push_back(where + ": " + describe(e));
  threads_.push_back(thread);
}

std::vector<std::string> EventLog::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<int> EventLog::threads() const {
  std::lock_guard lock(mutex_);
  return threads_;
}

void runWindow(const std::string& resource, const std::string& type, const std::string& tag, EventLog& log,
               const std::function<void(rt::Window&)>& setUp, const React& react) {
  auto window = rt::Window::open(resource, type);
  if (!window) return;
  if (setUp) setUp(*window);
  for (;;) {
    rt::Event e = window->nextEvent();
    log.add(tag, e, rt::threadNumber());
    if (react && !react(*window, e)) break;
    if (e.code == rt::event::CloseWindow) break;
    if (e.code == rt::event::Accepted && (e.control == "?CLOSE" || e.control == "?CANCEL")) break;
  }
  window->close();
}

}  // namespace slownik::test
