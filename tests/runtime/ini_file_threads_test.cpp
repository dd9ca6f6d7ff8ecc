#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

#include "framework/runtime/ini_file.h"

namespace slownik::rt {
namespace {

// Two windows on two threads store their positions in one settings file at once,
// through objects of their own: no write is lost.
TEST(IniFileThreads, ConcurrentWritersLoseNothing) {
  auto path = (std::filesystem::temp_directory_path() / ("slownik_ini_threads_" + std::to_string(::getpid()) + ".ini"))
                  .string();
  std::filesystem::remove(path);
  constexpr int kKeys = 40;
  std::vector<std::thread> writers;
  for (int t = 0; t < 2; ++t) {
    writers.emplace_back([&, t] {
      IniFile ini(path);
      for (int i = 0; i < kKeys; ++i) ini.set("Okno" + std::to_string(t), "K" + std::to_string(i), std::to_string(i * 10 + t));
    });
  }
  for (auto& w : writers) w.join();
  IniFile ini(path);
  for (int t = 0; t < 2; ++t) {
    for (int i = 0; i < kKeys; ++i) {
      EXPECT_EQ(ini.get("Okno" + std::to_string(t), "K" + std::to_string(i)), std::to_string(i * 10 + t));
    }
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace slownik::rt
