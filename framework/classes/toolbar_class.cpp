#include "framework/classes/toolbar_class.h"

#include <algorithm>

namespace slownik::fw {

void ToolbarClass::addTarget(ToolbarTarget& target) {
  if (std::find(targets_.begin(), targets_.end(), &target) == targets_.end()) targets_.push_back(&target);
  current_ = &target;
}

void ToolbarClass::setTarget(ToolbarTarget& target) { addTarget(target); }

ToolbarTarget* ToolbarClass::activeTarget() const {
  for (auto* t : targets_) {
    if (t->hasFocus()) return t;
  }
  return current_;
}

bool ToolbarClass::perform(ToolbarAction action) {
  ToolbarTarget* t = activeTarget();
  if (!t || !t->canPerform(action)) return false;
  t->perform(action);
  return true;
}

int ToolbarClass::takeEvent(const rt::Event& e) {
  if (e.code != kToolbarEvent) return kLevelBenign;
  int n = e.keyCode;
  if (n >= static_cast<int>(ToolbarAction::Insert) && n <= static_cast<int>(ToolbarAction::Last))
    perform(static_cast<ToolbarAction>(n));
  return kLevelNotify;
}

}  // namespace slownik::fw
