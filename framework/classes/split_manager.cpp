#include "framework/classes/split_manager.h"

#include <charconv>

#include "framework/classes/window_layouts.h"
#include "framework/runtime/log.h"
#include "framework/services/window_parameters.h"
#include "framework/services/window_services.h"

namespace slownik::fw {

bool SplitManager::init(std::shared_ptr<rt::Window> window, std::string splitter, std::string first,
                        std::string second, bool vertical) {
  window_.reset();
  if (!window || !window->has(splitter) || !window->has(first) || !window->has(second)) {
    rt::logMessage("splitter " + splitter + ": the window lacks it or one of " + first + ", " + second);
    return false;
  }
  window_ = std::move(window);
  splitter_ = splitter;
  windowLayouts().update(*window_, [&](WindowLayout& l) {
    std::erase_if(l.splitters, [&](const SplitterRule& r) { return r.control == splitter; });
    l.splitters.push_back({std::move(splitter), std::move(first), std::move(second), vertical});
  });
  return true;
}

int SplitManager::offset() const { return window_ ? svc::splitOffset(*window_, splitter_) : 0; }

void SplitManager::setOffset(int offset) {
  if (window_) svc::USTAWSPLIT(*window_, splitter_, offset);
}

void SplitManager::restore(std::string_view windowName) {
  std::string stored = svc::POBIERZPARAMETROKNA(windowName, "split");
  int value = 0;
  auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
  setOffset(ec == std::errc() && end == stored.data() + stored.size() ? value : 0);
}

int SplitManager::save(std::string_view windowName) const {
  return svc::ZAPISZPARAMETROKNA(windowName, "split", std::to_string(offset()));
}

}  // namespace slownik::fw
