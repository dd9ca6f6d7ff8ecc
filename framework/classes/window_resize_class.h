#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "framework/classes/window_layouts.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

//! The resizer: how each control follows its window when the window grows or shrinks.
//! Nothing is moved here; the strategies become the window's layout rules, which the
//! front-end turns into stretch rules of its layout. Controls without a strategy keep
//! their place at the top-left and their size.
class WindowResizeClass {
 public:
  //! Starts over `window`: no strategies yet.
  void init(std::shared_ptr<rt::Window> window);
  //! The strategy of one control (a later one replaces it). False, and logged, for a
  //! control the window does not have.
  bool setStrategy(std::string_view control, Anchor horizontal, Anchor vertical, Stretch stretch);
  //! Hands the strategies to the front-end (after the window's placement is restored,
  //! and again when the window asks for it, e.g. after a maximise request).
  void apply();
  const std::vector<LayoutRule>& rules() const { return rules_; }
  //! Releases the window; its rules stay with it for the front-end.
  void kill() { window_.reset(); }

 private:
  std::shared_ptr<rt::Window> window_;
  std::vector<LayoutRule> rules_;
};

}  // namespace slownik::fw
