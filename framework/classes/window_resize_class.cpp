#include "framework/classes/window_resize_class.h"

#include <algorithm>
#include <string>

#include "framework/runtime/log.h"

namespace slownik::fw {

void WindowResizeClass::init(std::shared_ptr<rt::Window> window) {
  window_ = std::move(window);
  rules_.clear();
}

bool WindowResizeClass::setStrategy(std::string_view control, Anchor horizontal, Anchor vertical, Stretch stretch) {
  if (!window_ || !window_->has(control)) {
    rt::logMessage("resizer: no control " + std::string(control) +
                   (window_ ? " in \"" + window_->title() + "\"" : std::string(" (no window)")));
    return false;
  }
  LayoutRule rule{std::string(control), horizontal, vertical, stretch};
  auto same = std::find_if(rules_.begin(), rules_.end(), [&](const LayoutRule& r) { return r.control == control; });
  if (same != rules_.end()) {
    *same = std::move(rule);
  } else {
    rules_.push_back(std::move(rule));
  }
  return true;
}

void WindowResizeClass::apply() {
  if (!window_) return;
  windowLayouts().update(*window_, [&](WindowLayout& l) { l.rules = rules_; });
}

}  // namespace slownik::fw
