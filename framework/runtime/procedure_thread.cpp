#include "framework/runtime/procedure_thread.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/runtime/log.h"
#include "framework/runtime/window.h"

namespace slownik::rt {
namespace {

std::atomic<int> lastThreadNumber{0};
thread_local int ownNumber = 0;

struct Hook {
  int number;
  std::function<void()> run;
};

struct Hooks {
  std::mutex mutex;
  int lastNumber = 0;
  std::vector<Hook> start;
  std::vector<Hook> end;
};

Hooks& hooks() {
  static Hooks h;
  return h;
}

void runHook(const Hook& hook, const char* when) {
  try {
    hook.run();
  } catch (const std::exception& e) {
    logMessage(std::string("thread ") + when + " hook failed: " + e.what());
  } catch (...) {
    logMessage(std::string("thread ") + when + " hook failed");
  }
}

// Work windows by thread number, innermost last.
struct WorkWindows {
  std::mutex mutex;
  std::map<int, std::vector<int>> byThread;
};

WorkWindows& workWindows() {
  static WorkWindows w;
  return w;
}

}  // namespace

WorkInProgress::WorkInProgress(int windowId) : thread_(threadNumber()), window_(windowId) {
  auto& w = workWindows();
  std::lock_guard lock(w.mutex);
  w.byThread[thread_].push_back(window_);
}

WorkInProgress::~WorkInProgress() {
  auto& w = workWindows();
  std::lock_guard lock(w.mutex);
  auto it = w.byThread.find(thread_);
  if (it == w.byThread.end()) return;
  auto& stack = it->second;
  for (auto own = stack.rbegin(); own != stack.rend(); ++own) {
    if (*own == window_) {
      stack.erase(std::next(own).base());
      break;
    }
  }
  if (stack.empty()) w.byThread.erase(it);
}

int workWindowOf(int threadNumber) {
  auto& w = workWindows();
  std::lock_guard lock(w.mutex);
  auto it = w.byThread.find(threadNumber);
  return it == w.byThread.end() || it->second.empty() ? 0 : it->second.back();
}

int threadNumber() {
  if (ownNumber == 0) ownNumber = ++lastThreadNumber;
  return ownNumber;
}

bool isFirstThread() { return threadNumber() == 1; }

ProcedureThread& ProcedureThread::operator=(ProcedureThread&& other) noexcept {
  if (this != &other) {
    ProcedureThread dropped(std::move(*this));
    thread_ = std::move(other.thread_);
    number_ = other.number_;
    finished_ = std::move(other.finished_);
  }
  return *this;
}

ProcedureThread::~ProcedureThread() {
  if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
  while (finished_ && !finished_->load()) {
    postToThread(number_, Event{event::CloseWindow});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  thread_.join();
}

void ProcedureThread::join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

ProcedureThread startProcedure(std::function<void()> body) {
  threadNumber();  // the starting thread is numbered before the one it starts
  ProcedureThread handle;
  handle.number_ = ++lastThreadNumber;
  handle.finished_ = std::make_shared<std::atomic<bool>>(false);
  handle.thread_ = std::thread([number = handle.number_, finished = handle.finished_, body = std::move(body)] {
    ownNumber = number;
    std::vector<Hook> start;
    {
      std::lock_guard lock(hooks().mutex);
      start = hooks().start;
    }
    for (const auto& hook : start) runHook(hook, "start");
    try {
      body();
    } catch (const std::exception& e) {
      logMessage(std::string("procedure on thread ") + std::to_string(number) + " failed: " + e.what());
    } catch (...) {
      logMessage("procedure on thread " + std::to_string(number) + " failed");
    }
    finishThread();
    finished->store(true);
  });
  return handle;
}

int onThreadStart(std::function<void()> hook) {
  std::lock_guard lock(hooks().mutex);
  int number = ++hooks().lastNumber;
  hooks().start.push_back({number, std::move(hook)});
  return number;
}

int onThreadEnd(std::function<void()> hook) {
  std::lock_guard lock(hooks().mutex);
  int number = ++hooks().lastNumber;
  hooks().end.push_back({number, std::move(hook)});
  return number;
}

void removeThreadHook(int hookNumber) {
  std::lock_guard lock(hooks().mutex);
  for (auto* list : {&hooks().start, &hooks().end})
    std::erase_if(*list, [hookNumber](const Hook& h) { return h.number == hookNumber; });
}

void finishThread() {
  closeThreadWindows();
  std::vector<Hook> end;
  {
    std::lock_guard lock(hooks().mutex);
    end = hooks().end;
  }
  for (auto it = end.rbegin(); it != end.rend(); ++it) runHook(*it, "end");
}

}  // namespace slownik::rt
