#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

#include "data/test_tables.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/data/thread_views.h"

namespace slownik::data {
namespace {

using test::personTable;

// Two windows in two threads: each writes its own buffer, request variables and view
// while the other does the same; neither ever sees the other's values.
TEST(PerThreadState, TwoThreadsNeverShareBuffersRequestsOrViews) {
  std::barrier meet(2);
  std::atomic<int> mismatches{0};
  std::atomic<const void*> addresses[2] = {nullptr, nullptr};
  auto window = [&](int who) {
    const std::string name = "watek " + std::to_string(who);
    RecordBuffer& mine = buffer(personTable());
    addresses[who] = &mine;
    ViewManager& view = openThreadView("TEST_BRW", personTable(), [&](ViewManager& v) { v.setFilter("ID > " + std::to_string(who)); });
    for (int i = 0; i < 2000; ++i) {
      field("DTO:NAZWA").set(name);
      GLOBALREQUEST() = static_cast<std::uint8_t>(who + 1);
      GLOBALRESPONSE() = static_cast<std::uint8_t>(who + 3);
      VCRREQUEST() = who;
      if (i == 0) meet.arrive_and_wait();
      if (field("DTO:NAZWA").text() != name || GLOBALREQUEST() != who + 1 || GLOBALRESPONSE() != who + 3 || VCRREQUEST() != who)
        ++mismatches;
    }
    if (view.filter() != "ID > " + std::to_string(who)) ++mismatches;
    if (!isThreadViewInUse("TEST_BRW")) ++mismatches;
    // Thread end closes what this thread left open.
    if (closeThreadViews() != 1) ++mismatches;
  };
  std::thread a(window, 0), b(window, 1);
  a.join();
  b.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_NE(addresses[0].load(), addresses[1].load());
  // This thread never opened the browse: it has nothing of it and closes nothing.
  EXPECT_FALSE(isThreadViewInUse("TEST_BRW"));
  EXPECT_EQ(threadViewBinding("TEST_BRW"), kViewUnbound);
  EXPECT_EQ(closeThreadViews(), 0);
}

TEST(PerThreadState, AViewIsBoundOncePerThreadAndNestedUseGetsItsOwn) {
  int bindings = 0;
  auto bind = [&](ViewManager&) { ++bindings; };
  EXPECT_EQ(threadViewBinding("NEST_BRW"), kViewUnbound);
  ViewManager& outer = openThreadView("NEST_BRW", personTable(), [&](ViewManager& v) {
    EXPECT_EQ(threadViewBinding("NEST_BRW"), kViewBinding);  // the guard is held while binding
    bind(v);
  });
  EXPECT_EQ(threadViewBinding("NEST_BRW"), kViewBound);
  outer.setFilter("ID > 1");
  ViewManager& nested = openThreadView("NEST_BRW", personTable(), bind);
  EXPECT_NE(&outer, &nested);
  EXPECT_EQ(outer.filter(), "ID > 1");  // the nested window did not disturb it
  closeThreadView("NEST_BRW");
  EXPECT_TRUE(isThreadViewInUse("NEST_BRW"));
  EXPECT_TRUE(outer.isOpen());
  closeThreadView("NEST_BRW");
  EXPECT_FALSE(isThreadViewInUse("NEST_BRW"));
  EXPECT_FALSE(outer.isOpen());
  ViewManager& again = openThreadView("NEST_BRW", personTable(), bind);
  EXPECT_EQ(&again, &outer);  // the same view, not bound again
  EXPECT_EQ(bindings, 2);     // the outer view once, the nested one once
  EXPECT_EQ(closeThreadViews(), 1);
}

TEST(PerThreadState, FileManagersArePerThreadAndKeepTheirErrorHandler) {
  struct Handler : ErrorHandler {
    void fileError(std::string_view, int, std::string_view) override {}
  } handler;
  FileManager& mine = fileManager(personTable());
  mine.setErrors(&handler);
  const FileManager* other = nullptr;
  ErrorHandler* othersHandler = &handler;
  std::thread t([&] {
    other = &fileManager(personTable());
    othersHandler = other->errors();
  });
  t.join();
  EXPECT_NE(other, &mine);
  EXPECT_EQ(othersHandler, nullptr);
  EXPECT_EQ(mine.errors(), &handler);
  EXPECT_EQ(&fileManager("DT_OSOBA")->record(), &buffer(personTable()));
  mine.setErrors(nullptr);
}

}  // namespace
}  // namespace slownik::data
