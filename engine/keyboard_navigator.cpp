#include "engine/keyboard_navigator.h"

#include <algorithm>

#include "framework/runtime/keys.h"

namespace slownik::engine {

namespace {

using K = rt::ControlKind;
using Move = KeyboardNavigator::Move;

struct Binding {
  K kind;
  int key;
  Move move;
};

// A drop list moves like a combo: its arrow keys keep choosing entries.
constexpr Binding kBindings[] = {
    {K::Entry, rt::key::Enter, Move::Next},     {K::Entry, rt::key::Up, Move::Previous},
    {K::Entry, rt::key::Down, Move::Next},

    {K::Button, rt::key::Up, Move::Previous},   {K::Button, rt::key::Down, Move::Next},
    {K::Button, rt::key::Left, Move::Previous}, {K::Button, rt::key::Right, Move::Next},

    {K::Check, rt::key::Enter, Move::Next},     {K::Check, rt::key::Up, Move::Previous},
    {K::Check, rt::key::Down, Move::Next},      {K::Check, rt::key::Left, Move::Previous},
    {K::Check, rt::key::Right, Move::Next},

    {K::List, rt::key::Enter, Move::Next},      {K::List, rt::key::Left, Move::Previous},
    {K::List, rt::key::Right, Move::Next},
    {K::Sheet, rt::key::Enter, Move::Next},     {K::Sheet, rt::key::Left, Move::Previous},
    {K::Sheet, rt::key::Right, Move::Next},

    {K::Combo, rt::key::Enter, Move::Next},     {K::DropList, rt::key::Enter, Move::Next},
    {K::Tab, rt::key::Enter, Move::Next},       {K::Spin, rt::key::Enter, Move::Next},
    {K::Radio, rt::key::Enter, Move::Next},

    {K::Text, rt::key::Enter, Move::NewLine},
};

}  // namespace

KeyboardNavigator::~KeyboardNavigator() { stop(); }

KeyboardNavigator::Move KeyboardNavigator::moveFor(rt::ControlKind kind, int key) {
  for (const auto& b : kBindings) {
    if (b.kind == kind && b.key == key) return b.move;
  }
  return Move::None;
}

std::vector<int> KeyboardNavigator::keysFor(rt::ControlKind kind) {
  std::vector<int> keys;
  for (const auto& b : kBindings) {
    if (b.kind == kind) keys.push_back(b.key);
  }
  return keys;
}

void KeyboardNavigator::start(std::shared_ptr<rt::Window> window) {
  stop();
  window_ = std::move(window);
  if (!window_) return;
  for (const auto& c : window_->controls()) {
    for (int key : keysFor(c.kind)) {
      // A key the form reserved on the control itself stays the form's.
      if (std::find(c.alerts.begin(), c.alerts.end(), key) != c.alerts.end()) continue;
      if (window_->alertOn(c.name, key)) reserved_.emplace_back(c.name, key);
    }
  }
}

bool KeyboardNavigator::takeEvent(const rt::Event& e) {
  if (!window_ || e.code != rt::event::AlertKey || !e.isFieldEvent()) return false;
  bool ours = std::find(reserved_.begin(), reserved_.end(), std::make_pair(e.control, e.keyCode)) != reserved_.end();
  if (!ours) return false;
  auto c = window_->control(e.control);
  if (!c) return false;
  switch (moveFor(c->kind, e.keyCode)) {
    case Move::Next:
      window_->pressKey(rt::key::Tab);
      return true;
    case Move::Previous:
      // Shift held round a Tab: the window goes back along its own tab order.
      window_->pressKey(rt::key::ShiftTab);
      return true;
    case Move::NewLine:
      window_->pressKey(rt::key::ShiftEnter);
      window_->pressKey(rt::key::ShiftKeyDown);
      return true;
    case Move::None:
      break;
  }
  return false;
}

void KeyboardNavigator::stop() {
  if (!window_) return;
  if (!window_->isClosed()) {
    for (const auto& [control, key] : reserved_) window_->removeAlertOn(control, key);
  }
  reserved_.clear();
  window_.reset();
}

}  // namespace slownik::engine
