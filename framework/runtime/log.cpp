#include "framework/runtime/log.h"

#include <iostream>
#include <mutex>
#include <string>

namespace slownik::rt {
namespace {

std::mutex& logMutex() {
  static std::mutex m;
  return m;
}

std::function<void(std::string_view)>& logSink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}

}  // namespace

void logMessage(std::string_view text) {
  std::lock_guard lock(logMutex());
  if (logSink()) {
    logSink()(text);
  } else {
    std::cerr << "slownik: " << text << '\n';
  }
}

void setLogSink(std::function<void(std::string_view)> sink) {
  std::lock_guard lock(logMutex());
  logSink() = std::move(sink);
}

}  // namespace slownik::rt
