#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include <unistd.h>

#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"
#include "framework/classes/theme_classes.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/data/dane_module.h"
#include "framework/data/globals.h"
#include "framework/services/sibling_modules.h"
#include "slownik/module_lifecycle.h"

namespace slownik {
namespace {

// Many host threads at once: the process-wide references, the once-only flags and the
// shared managers must stay consistent and free of data races (this file also runs
// under the thread sanitizer).
TEST(ModuleLifecycleThreads, ConcurrentInitKillAndSharedObjects) {
  constexpr int kThreads = 8;
  std::array<fw::ErrorClass, kThreads> hostErrors;
  std::array<fw::IniClass, kThreads> hostInis;
  const auto iniPath = std::filesystem::temp_directory_path() / ("slownik_threads_" + std::to_string(::getpid()) + ".ini");
  for (auto& ini : hostInis) ini.init(iniPath.string());

  std::atomic<bool> go{false};
  std::atomic<int> sawNullReference{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      SLOWNIK_INIT(&hostErrors[i], &hostInis[i]);
      for (int k = 0; k < 200; ++k) {
        fw::ErrorClass* errors = &errorHandler();
        fw::IniClass* ini = &settingsManager();
        if (!errors || !ini) ++sawNullReference;
        errors->setProcedureName("Proc_" + std::to_string(i));
        errors->setProcedureName("");
        fw::PXPGlobal().setThemeActive(k % 2 == 0);
        (void)fw::PXPGlobal().isThemeActive();
        (void)fw::XTOOLTIP().title();
        data::glo().ID_FIRMY = i;
      }
      settingsManager().update("Okno_" + std::to_string(i), fw::Placement{i, i, 100 + i, 50 + i});
      SLOWNIK_KILL();
    });
  }
  go = true;
  for (auto& t : threads) t.join();

  EXPECT_EQ(sawNullReference, 0);
  EXPECT_TRUE(isModuleInitialised());
  EXPECT_TRUE(isModuleKilled());
  // One INIT won: the references are its objects, and the siblings got exactly those.
  auto dane = data::daneModule().state();
  EXPECT_EQ(dane.initCalls, 1);
  EXPECT_EQ(&errorHandler(), dane.errors);
  EXPECT_EQ(&settingsManager(), dane.ini);
  for (auto* s : {&svc::vexrunModule(), &svc::vexdefModule(), &svc::edokumentyrunModule()}) {
    EXPECT_EQ(s->state().initCalls, 1) << s->name();
    EXPECT_EQ(s->state().errors, dane.errors) << s->name();
    EXPECT_EQ(s->state().killCalls, 1) << s->name();
  }
  // No placement written by one thread was lost to another's write.
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(settingsManager().fetch("Okno_" + std::to_string(i)), (fw::Placement{i, i, 100 + i, 50 + i})) << i;
  }
  std::filesystem::remove(iniPath);
}

}  // namespace
}  // namespace slownik
