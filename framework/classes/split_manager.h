#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "framework/runtime/window.h"

namespace slownik::fw {

//! A splitter between two controls of a window. The offset of the divider from where
//! the window's layout first puts it is the splitter control's value; the front-end
//! moves it when the person drags it. The offset is kept per window as the window
//! parameter "split".
class SplitManager {
 public:
  //! Starts the splitter `splitter` between `first` and `second`; false (and logged)
  //! when the window lacks one of the three controls.
  bool init(std::shared_ptr<rt::Window> window, std::string splitter, std::string first, std::string second,
            bool vertical = true);
  int offset() const;
  void setOffset(int offset);
  //! Restores the offset stored for `windowName` (nothing stored: 0).
  void restore(std::string_view windowName);
  //! Stores the offset for `windowName`; 0 on success, else the runtime error code.
  int save(std::string_view windowName) const;

 private:
  std::shared_ptr<rt::Window> window_;
  std::string splitter_;
};

}  // namespace slownik::fw
