#pragma once
#include <vector>

#include "framework/classes/window_manager.h"

namespace slownik::fw {

//! The host frame's buttons, in the order the frame shows them.
enum class ToolbarAction : int { Insert = 1, Change, Delete, Select, First, Previous, Next, Last };

//! The event a frame toolbar button posts to the active window: code kToolbarEvent,
//! keyCode = the ToolbarAction's number, no control.
inline constexpr int kToolbarEvent = 1101;

//! What a toolbar button acts on: a list, or a record form.
class ToolbarTarget {
 public:
  virtual ~ToolbarTarget() = default;
  virtual bool canPerform(ToolbarAction action) const = 0;
  virtual void perform(ToolbarAction action) = 0;
  //! Whether this target is the one the user works in now (its list has the focus).
  virtual bool hasFocus() const { return false; }
};

//! Hands the frame's buttons to the window's targets: the one that has the focus, else
//! the one set last. Register it with the window manager (addItem).
class ToolbarClass : public WindowComponent {
 public:
  void addTarget(ToolbarTarget& target);
  void setTarget(ToolbarTarget& target);
  //! The target a button would act on now; nullptr when there is none.
  ToolbarTarget* activeTarget() const;
  //! Performs the action on the active target; false when it has none or refuses it.
  bool perform(ToolbarAction action);

  int takeEvent(const rt::Event& e) override;

 private:
  std::vector<ToolbarTarget*> targets_;
  ToolbarTarget* current_ = nullptr;
};

}  // namespace slownik::fw
