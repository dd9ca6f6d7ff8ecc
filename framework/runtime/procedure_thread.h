#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace slownik::rt {

//! The calling thread's number: threads are numbered 1, 2, 3, … in the order they first
//! ask, and a procedure thread is numbered before its body runs. Thread 1 is the
//! program's first thread (the host's main thread).
int threadNumber();
bool isFirstThread();

//! A procedure running on a thread of its own. Joining waits until the procedure has
//! returned and the thread-end hooks have run. The destructor asks the thread's windows
//! to close (CloseWindow, again and again, so nested ones go too) and joins, so a
//! dropped handle neither terminates the process nor waits for a person forever.
class ProcedureThread {
 public:
  ProcedureThread() = default;
  ProcedureThread(ProcedureThread&&) noexcept = default;
  ProcedureThread& operator=(ProcedureThread&& other) noexcept;
  ProcedureThread(const ProcedureThread&) = delete;
  ProcedureThread& operator=(const ProcedureThread&) = delete;
  ~ProcedureThread();

  void join();
  bool joinable() const { return thread_.joinable(); }
  int number() const { return number_; }

 private:
  friend ProcedureThread startProcedure(std::function<void()> body);
  std::thread thread_;
  int number_ = 0;
  std::shared_ptr<std::atomic<bool>> finished_;
};

//! Starts `body` on a new thread as the host starts an entry point: the thread-start
//! hooks run first, then the body, then the thread-end hooks and the closing of any
//! window the thread left open. An exception escaping the body is logged, never
//! propagated.
ProcedureThread startProcedure(std::function<void()> body);

//! Registers work to do on every procedure thread at its start / at its end (per-thread
//! clean-up such as closing that thread's views). End hooks run in reverse order of
//! registration. Hooks must not throw; one that does is logged and the rest still run.
//! Returns the hook's number for removeThreadHook.
int onThreadStart(std::function<void()> hook);
int onThreadEnd(std::function<void()> hook);
//! Takes a hook back. A library that registered hooks must take them back before it is
//! unloaded: a hook's code lives in the library that registered it.
void removeThreadHook(int hookNumber);

//! Work under way on the calling thread behind a window that shows its progress, for
//! as long as the object lives. Between steps the work looks at that window's input
//! without waiting for it, so the thread may seem to wait for a person when it does not;
//! a watcher (the headless front-end) tells the two apart by this mark. Made and dropped
//! on the working thread; nests.
class WorkInProgress {
 public:
  explicit WorkInProgress(int windowId);
  ~WorkInProgress();
  WorkInProgress(const WorkInProgress&) = delete;
  WorkInProgress& operator=(const WorkInProgress&) = delete;

 private:
  int thread_;
  int window_;
};

//! The window whose work is under way on thread `threadNumber` (the innermost, when
//! work nests); 0 while the thread does no such work. Any thread may ask.
int workWindowOf(int threadNumber);

//! Runs the thread-end work for the calling thread; a thread the runtime did not start
//! (the program's main thread, a test's thread) may call it when it stops using windows.
void finishThread();

}  // namespace slownik::rt
