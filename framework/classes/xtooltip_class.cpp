#include "framework/classes/xtooltip_class.h"

namespace slownik::fw {

void XTooltipClass::init(int style, std::string balloonTitle, bool on) {
  std::lock_guard lock(mutex_);
  style_ = style;
  title_ = std::move(balloonTitle);
  on_ = on;
}

void XTooltipClass::addWindow(const rt::Window& window) {
  std::lock_guard lock(mutex_);
  if (on_) windows_.insert(window.id());
}

void XTooltipClass::removeWindow(const rt::Window& window) {
  std::lock_guard lock(mutex_);
  windows_.erase(window.id());
}

void XTooltipClass::kill() {
  std::lock_guard lock(mutex_);
  on_ = false;
  windows_.clear();
}

bool XTooltipClass::isOn() const {
  std::lock_guard lock(mutex_);
  return on_;
}

int XTooltipClass::style() const {
  std::lock_guard lock(mutex_);
  return style_;
}

std::string XTooltipClass::title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

bool XTooltipClass::isRegistered(int windowId) const {
  std::lock_guard lock(mutex_);
  return windows_.count(windowId) > 0;
}

std::optional<XTooltipClass::Balloon> XTooltipClass::balloonFor(const rt::Window& window,
                                                                std::string_view control) const {
  auto c = window.control(control);  // the window's own lock; never held together with ours
  if (!c || c->tip.empty()) return std::nullopt;
  std::lock_guard lock(mutex_);
  if (!on_ || !windows_.count(window.id())) return std::nullopt;
  return Balloon{title_, c->tip, style_};
}

XTooltipClass& XTOOLTIP() {
  static XTooltipClass manager;
  return manager;
}

}  // namespace slownik::fw
