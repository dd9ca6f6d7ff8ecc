#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/runtime/event.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"

namespace slownik::engine {

//! Lets a form be filled in from the keyboard alone: Enter and the arrow keys move to the
//! next or previous control, depending on the kind of the focused one. "Next" presses
//! Tab and "previous" Shift+Tab, so the window's own tab order decides where the focus
//! goes; in multi-line text Enter becomes Shift+Enter (a new line) followed by Shift.
//!
//! Threading: lives on the form's procedure thread and is fed that window's events.
class KeyboardNavigator {
 public:
  enum class Move { None, Next, Previous, NewLine };

  KeyboardNavigator() = default;
  KeyboardNavigator(const KeyboardNavigator&) = delete;
  KeyboardNavigator& operator=(const KeyboardNavigator&) = delete;
  ~KeyboardNavigator();

  //! Reserves, on every control of the window, the keys its kind moves with.
  void start(std::shared_ptr<rt::Window> window);
  //! Handles a reserved key it set up (AlertKey); true when it did, so the form stops
  //! handling that event.
  bool takeEvent(const rt::Event& e);
  //! Gives the reserved keys back.
  void stop();

  //! What `key` does in a control of `kind` (None: the key is not the navigator's).
  static Move moveFor(rt::ControlKind kind, int key);
  //! The keys reserved for a control of `kind`.
  static std::vector<int> keysFor(rt::ControlKind kind);

 private:
  std::shared_ptr<rt::Window> window_;
  std::vector<std::pair<std::string, int>> reserved_;
};

}  // namespace slownik::engine
