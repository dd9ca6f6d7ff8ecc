#pragma once
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "framework/runtime/window.h"

namespace slownik::fw {

//! The tool-tip manager: windows that register with it show their controls' tips (the
//! runtime's control tips, from the resources) as balloons with a common title.
//! One object serves the whole process; every member takes a lock.
class XTooltipClass {
 public:
  //! Style that makes windows register (GLO:TOOLTIPTYPE).
  static constexpr int kBalloonStyle = 2;

  struct Balloon {
    std::string title;
    std::string text;
    int style = 0;
  };

  void init(int style, std::string balloonTitle, bool on);
  void addWindow(const rt::Window& window);
  void removeWindow(const rt::Window& window);
  //! Shuts the manager down: it is off and forgets every window.
  void kill();

  bool isOn() const;
  int style() const;
  std::string title() const;
  bool isRegistered(int windowId) const;
  //! How the front-end shows the tip of `control` now: a balloon when the window is
  //! registered, the manager is on and the control has a tip; nullopt = the plain tip.
  std::optional<Balloon> balloonFor(const rt::Window& window, std::string_view control) const;

 private:
  mutable std::mutex mutex_;
  int style_ = 0;
  std::string title_;
  bool on_ = false;
  std::set<int> windows_;
};

//! The process's tool-tip manager.
XTooltipClass& XTOOLTIP();

}  // namespace slownik::fw
