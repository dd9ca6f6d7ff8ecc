#pragma once
#include <atomic>
#include <memory>
#include <string_view>

#include "framework/runtime/window.h"

namespace slownik::fw {

//! The grid colour themed lists get (red 198, green 199, blue 181).
inline constexpr long kThemeGridColor = 11913158;

//! Whether the desktop draws windows with a visual theme; the front-end says so at
//! start. Process-wide and race-free.
class PxpGlobalClass {
 public:
  bool isThemeActive() const { return active_.load(std::memory_order_acquire); }
  void setThemeActive(bool active) { active_.store(active, std::memory_order_release); }

 private:
  std::atomic<bool> active_{false};
};

//! The process's theme object.
PxpGlobalClass& PXPGlobal();

//! A window's themed look, passed to the front-end with the window's layout.
class PxpWindowClass {
 public:
  void init(std::shared_ptr<rt::Window> window);
  //! The theme colours the window.
  void setWindowColor();
  //! A list's default row height under the theme.
  void setListBoxDefaultLineHeight(std::string_view list, int height);
  void setGridColor(std::string_view list, long color = kThemeGridColor);

 private:
  std::shared_ptr<rt::Window> window_;
};

//! A list's row height (also without a theme).
void setListRowHeight(const rt::Window& window, std::string_view list, int height);
//! A list's font family and size in points; an empty family or a size below 1 keeps
//! the window's for that part.
void setListFont(const rt::Window& window, std::string_view list, std::string_view family, int points);

}  // namespace slownik::fw
