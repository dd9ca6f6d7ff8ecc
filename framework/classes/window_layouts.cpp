#include "framework/classes/window_layouts.h"

namespace slownik::fw {

WindowLayout WindowLayouts::get(int windowId) const {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(windowId);
  return it == entries_.end() ? WindowLayout{} : it->second.layout;
}

void WindowLayouts::pruneLocked() {
  for (auto it = entries_.begin(); it != entries_.end();) {
    it = it->second.window.expired() ? entries_.erase(it) : std::next(it);
  }
}

void WindowLayouts::update(const rt::Window& window, const std::function<void(WindowLayout&)>& change) {
  std::shared_ptr<std::function<void(int)>> listener;
  {
    std::lock_guard lock(mutex_);
    pruneLocked();
    auto& entry = entries_[window.id()];
    if (entry.window.expired()) entry.window = window.weak_from_this();
    change(entry.layout);
    listener = listener_;
  }
  if (listener && *listener) (*listener)(window.id());
}

void WindowLayouts::setPlacement(const rt::Window& window, Placement placement) {
  update(window, [&](WindowLayout& layout) { layout.placement = placement; });
}

void WindowLayouts::setListener(std::function<void(int)> listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::make_shared<std::function<void(int)>>(std::move(listener));
}

WindowLayouts& windowLayouts() {
  // Never destroyed: a front-end held by another library's static may still call it
  // while the program's statics are being torn down.
  static WindowLayouts* layouts = new WindowLayouts;
  return *layouts;
}

}  // namespace slownik::fw
