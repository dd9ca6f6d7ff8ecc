#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "framework/classes/process_class.h"
#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "runtime/headless_test.h"

namespace slownik::fw {
namespace {

using Progress = svc::ProgressWindow;
using namespace std::chrono_literals;

// Lets the test hold a step until it has looked at the window.
class Gate {
 public:
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void pass() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

// The progress window of another thread, found without waiting for its thread to idle
// (a step held at a gate never idles).
std::shared_ptr<rt::Window> findWindow(const std::string& title) {
  for (int i = 0; i < 5000; ++i) {
    for (const auto& w : rt::openWindows()) {
      if (w->title() == title) return w;
    }
    std::this_thread::sleep_for(1ms);
  }
  return nullptr;
}

class ProcessClassTest : public test::HeadlessTest {};

TEST_F(ProcessClassTest, CountsToTheEndAndClosesItsWindow) {
  constexpr long kTotal = 10;
  std::atomic<long> stepsRun{0};
  std::atomic<int> outcome{-1};
  std::atomic<int> lastPercent{-1};
  std::atomic<bool> windowClosed{false};
  Gate atStep4;
  std::atomic<bool> reachedStep4{false};
  auto thread = rt::startProcedure([&] {
    ProcessClass process;
    long done = 0;
    auto result = process.run("Import banków...", [&](ProcessClass& p) {
      ++done;
      if (done == 1) p.setTotal(kTotal);
      p.setProgress(done);
      p.setText("Bank " + std::to_string(done));
      p.setCounter(std::to_string(done) + "/" + std::to_string(kTotal));
      if (done == 4) {
        reachedStep4 = true;
        atStep4.pass();
      }
      return done < kTotal;
    });
    stepsRun = process.steps();
    lastPercent = process.window().percent();
    windowClosed = !process.window().isOpen();
    outcome = static_cast<int>(result);
  });
  auto window = findWindow("Import banków...");
  ASSERT_NE(window, nullptr);
  while (!reachedStep4) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(window->value(Progress::kThermometer), "40");
  EXPECT_EQ(window->text(Progress::kText), "Bank 4");
  EXPECT_EQ(window->text(Progress::kCounter), "4/10");
  EXPECT_EQ(window->type(), "P1$PROGRESSWINDOW");
  atStep4.open();
  thread.join();

  EXPECT_EQ(outcome, static_cast<int>(ProcessClass::Outcome::Completed));
  EXPECT_EQ(stepsRun, kTotal);
  EXPECT_EQ(lastPercent, 100);
  EXPECT_TRUE(windowClosed);
}

TEST_F(ProcessClassTest, CancelStopsTheWorkBetweenSteps) {
  std::atomic<long> started{0};
  std::atomic<long> finished{0};
  std::atomic<int> outcome{-1};
  Gate inStep3;
  auto thread = rt::startProcedure([&] {
    ProcessClass process;
    auto result = process.run("Przeliczanie...", [&](ProcessClass& p) {
      long n = ++started;
      p.setCounter(std::to_string(n));
      if (n == 3) inStep3.pass();
      ++finished;
      return n < 1000;
    });
    outcome = static_cast<int>(result);
  });
  auto window = findWindow("Przeliczanie...");
  ASSERT_NE(window, nullptr);
  while (started < 3) std::this_thread::sleep_for(1ms);
  // "Anuluj" pressed while the third step works: the step completes, no other starts.
  EXPECT_EQ(window->control(Progress::kCancel)->text, "Anuluj");
  EXPECT_EQ(window->click(Progress::kCancel), "");
  inStep3.open();
  thread.join();

  EXPECT_EQ(outcome, static_cast<int>(ProcessClass::Outcome::Cancelled));
  EXPECT_EQ(started, 3);
  EXPECT_EQ(finished, 3);  // the step under way was never cut short
}

TEST_F(ProcessClassTest, EscPressedByThePersonCancelsQuickSteps) {
  std::atomic<long> steps{0};
  std::atomic<int> outcome{-1};
  auto thread = rt::startProcedure([&] {
    ProcessClass process;
    auto result = process.run("Import banków...", [&](ProcessClass&) {
      std::this_thread::sleep_for(1ms);
      return ++steps < 100000;
    });
    outcome = static_cast<int>(result);
  });
  auto window = fe().waitForWindow("Import banków...");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(fe().press(window, rt::key::Esc));
  thread.join();
  EXPECT_EQ(outcome, static_cast<int>(ProcessClass::Outcome::Cancelled));
  EXPECT_LT(steps, 100000);
}

// A button that starts work behind the progress window: pressing it returns when the
// work is done, not at the first moment the work looks at the progress window's input,
// so the test then reads the result and can close the window without hanging.
TEST_F(ProcessClassTest, ActionThatStartsWorkReturnsWhenTheWorkIsDone) {
  constexpr long kSteps = 200;
  std::atomic<long> steps{0};
  auto thread = rt::startProcedure([&] {
    rt::WindowDef def;
    def.resource = "slownik$test";
    def.type = "P1$WINDOW";
    def.caption = "Lista z importem";
    rt::ControlDef button;
    button.kind = rt::ControlKind::Button;
    button.name = "?IMPORT";
    button.caption = "Import";
    def.controls.push_back(button);
    auto window = rt::Window::open(def);
    if (!window) return;
    for (;;) {
      rt::Event e = window->nextEvent();
      if (e.code == rt::event::CloseWindow) break;
      if (e.code == rt::event::Accepted && e.control == "?IMPORT") {
        ProcessClass process;
        process.run("Import banków...", [&](ProcessClass&) {
          std::this_thread::sleep_for(1ms);
          return ++steps < kSteps;
        });
      }
    }
    window->close();
  });
  auto window = fe().waitForWindow("Lista z importem");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(fe().click(window, "?IMPORT"));
  EXPECT_EQ(steps, kSteps);
  EXPECT_TRUE(fe().close(window));
  thread.join();
}

TEST_F(ProcessClassTest, ThermometerStaysWithinItsBounds) {
  Progress progress;
  ASSERT_TRUE(progress.open("Test"));
  struct Case {
    long total;
    long done;
    int percent;
  };
  for (const Case& c : {Case{200, 50, 25}, Case{3, 1, 33}, Case{10, 15, 100}, Case{10, -5, 0}, Case{0, 0, 0},
                        Case{0, 1, 100}, Case{-7, 1, 100}, Case{1000000, 999999, 99}}) {
    progress.setTotal(c.total);
    progress.setProgress(c.done);
    EXPECT_EQ(progress.percent(), c.percent) << c.total << " / " << c.done;
    EXPECT_EQ(progress.window()->value(Progress::kThermometer), std::to_string(c.percent));
  }
  progress.close();
  EXPECT_FALSE(progress.isOpen());
  EXPECT_FALSE(progress.checkCancel());  // a closed window has nothing to cancel
}

TEST_F(ProcessClassTest, StatementsRunBehindAWindowThatCannotBeCancelled) {
  bool ran = false;
  bool cancelGreyed = false;
  std::string shown;
  svc::runBehindProgress("Usuwanie magazynu Główny...", [&] {
    auto w = rt::activeWindow();
    ASSERT_NE(w, nullptr);
    shown = w->text(Progress::kText);
    cancelGreyed = !w->control(Progress::kCancel)->enabled;
    ran = true;
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(shown, "Usuwanie magazynu Główny...");
  EXPECT_TRUE(cancelGreyed);
  EXPECT_EQ(rt::activeWindow(), nullptr);  // closed again

  ran = false;
  svc::runBehindProgress("", [&] {
    ran = true;
    EXPECT_EQ(rt::activeWindow(), nullptr);  // no text, no window
  });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace slownik::fw
