#pragma once
#include "framework/classes/toolbar_class.h"

namespace slownik::fw {

//! Record-navigation requests a form leaves in VCRREQUEST for the list that called it.
enum VcrRequest : int { kVcrNone = 0, kVcrForward = 1, kVcrBackward = 2, kVcrFirst = 3, kVcrLast = 4 };

//! The frame's first/previous/next/last buttons on a record form: the form saves the
//! record (change) or just closes (view), and leaves the direction in VCRREQUEST so that
//! the calling list moves and opens the form on the next row. A save that fails keeps
//! the form open and clears the request.
class ToolbarUpdateClass : public ToolbarTarget {
 public:
  void init(WindowManager& form) { form_ = &form; }
  bool canPerform(ToolbarAction action) const override;
  void perform(ToolbarAction action) override;
  bool hasFocus() const override { return form_ != nullptr; }

 private:
  WindowManager* form_ = nullptr;
};

}  // namespace slownik::fw
