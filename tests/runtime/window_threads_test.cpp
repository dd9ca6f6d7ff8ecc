#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "runtime/headless_test.h"
#include "runtime/window_test_support.h"

namespace slownik::rt {
namespace {

using testing::ElementsAre;

class WindowThreads : public test::HeadlessTest {};

// Two lists on two procedure threads, driven at once: each thread hears only its own
// window's events, and a notification posted from one thread reaches the other.
TEST_F(WindowThreads, TwoWindowsOnTwoThreads) {
  test::EventLog logA, logB;
  auto stopOnNotify = [](Window&, const Event& e) { return e.code != event::Notify; };
  auto a = startProcedure([&] {
    test::runWindow("slownik$test001", "P1$BROWSEWINDOW", "A", logA, [](Window& w) { w.setTitle("Okno A"); },
                    [](Window& w, const Event& e) {
                      if (e.code == event::Accepted && e.control == "?INSERT") w.setText("?CAPTION", "A dodało");
                      return true;
                    });
  });
  auto b = startProcedure([&] {
    test::runWindow("slownik$test001", "P1$BROWSEWINDOW", "B", logB, [](Window& w) { w.setTitle("Okno B"); },
                    stopOnNotify);
  });
  auto wa = fe().waitForWindow("Okno A");
  auto wb = fe().waitForWindow("Okno B");
  ASSERT_NE(wa, nullptr);
  ASSERT_NE(wb, nullptr);
  EXPECT_NE(wa->ownerThread(), wb->ownerThread());

  std::thread driverA([&] {
    for (int i = 0; i < 50; ++i) fe().press(wa, key::Down);
    fe().press(wa, key::Ins);
  });
  std::thread driverB([&] {
    for (int i = 0; i < 50; ++i) fe().type(wb, "?LOKATOR", std::to_string(i));
  });
  driverA.join();
  driverB.join();
  EXPECT_EQ(wa->text("?CAPTION"), "A dodało");
  EXPECT_EQ(wb->text("?CAPTION"), "Próbne rekordy");
  EXPECT_EQ(wb->value("?LOKATOR"), "49");

  EXPECT_TRUE(postToThread(b.number(), Event{event::Notify, {}, 0, 0, false, a.number()}));
  EXPECT_TRUE(fe().waitForClose(wb));
  EXPECT_FALSE(postToThread(b.number(), Event{event::Notify}));  // no window there any more
  EXPECT_TRUE(fe().press(wa, key::Esc));
  a.join();
  b.join();

  for (int t : logA.threads()) EXPECT_EQ(t, a.number());
  for (int t : logB.threads()) EXPECT_EQ(t, b.number());
  auto eventsB = logB.events();
  ASSERT_FALSE(eventsB.empty());
  EXPECT_EQ(eventsB.back(), "B: 1024");
  for (const auto& e : logA.events()) EXPECT_EQ(e.rfind("A: ", 0), 0u);
  EXPECT_EQ(std::count(eventsB.begin(), eventsB.end(), "B: 1 ?LOKATOR"), 50);
}

// The procedure thread changes properties while the front-end's thread reads them.
TEST_F(WindowThreads, PropertiesReadWhileTheyChange) {
  std::atomic<bool> done{false};
  auto p = startProcedure([&] {
    auto w = Window::open("slownik$test001", "P1$BROWSEWINDOW");
    for (int i = 0; i < 2000; ++i) {
      w->setRows("?LIST", {{std::to_string(i)}});
      w->setText("?CAPTION", std::to_string(i));
    }
    done = true;
    while (w->nextEvent().code != event::CloseWindow) {
    }
    w->close();
  });
  std::shared_ptr<Window> w;
  while (!w) {
    for (const auto& open : openWindows()) {
      if (open->ownerThread() == p.number()) w = open;
    }
  }
  while (!done) {
    auto rows = w->control("?LIST")->rows;
    EXPECT_LE(rows.size(), 1u);
    (void)w->text("?CAPTION");
  }
  EXPECT_EQ(w->text("?CAPTION"), "1999");
  EXPECT_TRUE(fe().close(w));
  p.join();
}

TEST(ProcedureThreads, HooksNumbersAndLeftoverWindows) {
  setResourceRoot(test::sourceDir() + "/tests/fixtures");
  static std::atomic<int> started{0}, ended{0};
  static thread_local int perThread = 0;
  onThreadStart([] {
    perThread = 7;
    ++started;
  });
  onThreadEnd([] {
    if (perThread == 7) ++ended;  // runs on the ending thread itself
  });
  int first = threadNumber();
  std::shared_ptr<Window> left;
  std::atomic<bool> leftOpen{false};
  auto p = startProcedure([&] {
    left = Window::open("slownik$test001", "P1$BROWSEWINDOW");
    leftOpen = !left->isClosed();
  });
  p.join();
  EXPECT_TRUE(leftOpen);
  EXPECT_TRUE(left->isClosed());  // closed at thread end, not left on screen
  EXPECT_FALSE(hasOpenWindow(p.number()));
  EXPECT_GT(p.number(), first);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(ended, 1);

  // A procedure that throws is logged; the process goes on and the end hooks still run.
  std::vector<std::string> logged;
  std::mutex m;
  setLogSink([&](std::string_view line) {
    std::lock_guard lock(m);
    logged.emplace_back(line);
  });
  auto failing = startProcedure([] { throw std::runtime_error("awaria"); });
  failing.join();
  setLogSink({});
  EXPECT_EQ(ended, 2);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("awaria"), std::string::npos);
  EXPECT_NE(failing.number(), p.number());

  // A handle dropped while its windows wait for a person asks them to close, nested
  // ones too, instead of waiting forever.
  std::atomic<int> closes{0};
  {
    auto waiting = startProcedure([&] {
      auto outer = Window::open("slownik$test001", "P1$BROWSEWINDOW");
      auto inner = Window::open("slownik$test001", "P1$FORMWINDOW");
      for (auto* w : {inner.get(), outer.get()}) {
        while (w->nextEvent().code != event::CloseWindow) {
        }
        ++closes;
        w->close();
      }
    });
    while (!hasOpenWindow(waiting.number()) || !isThreadIdle(waiting.number())) std::this_thread::yield();
  }
  EXPECT_EQ(closes, 2);
}

}  // namespace
}  // namespace slownik::rt
