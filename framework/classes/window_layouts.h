#pragma once
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/control.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

//! Where a window stands on the screen and how big it is (screen pixels, as the
//! front-end measures them).
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
  bool operator==(const Placement&) const = default;
};

//! How a control follows its window when the window is resized.
enum class Anchor { Start, End, Nearest, Center };  //!< keep the distance to the left/top edge, the right/bottom edge, the nearer one, or stay centred
enum class Stretch { None, Width, Height, Both };

//! One control's layout rule, as the resizer's strategy gives it.
struct LayoutRule {
  std::string control;
  Anchor horizontal = Anchor::Start;
  Anchor vertical = Anchor::Start;
  Stretch stretch = Stretch::None;
  bool operator==(const LayoutRule&) const = default;
};

//! A divider between two controls that the person drags; its offset from the starting
//! position is the splitter control's value.
struct SplitterRule {
  std::string control;
  std::string first;   //!< left (or upper) control
  std::string second;  //!< right (or lower) control
  bool vertical = true;  //!< a vertical divider: the controls stand side by side
  bool operator==(const SplitterRule&) const = default;
};

//! A list's own font: a family name ("" = the window's) and a size in points (0 = the
//! window's).
struct ListFont {
  std::string family;
  int points = 0;
  bool operator==(const ListFont&) const = default;
};

//! What the procedure tells the front-end about a window beyond its controls' own
//! properties: where to place it, how its controls stretch, and the list and theme
//! looks. The front-end reads it when it lays the window out and again when told of
//! a change.
struct WindowLayout {
  std::optional<Placement> placement;
  std::vector<LayoutRule> rules;
  std::vector<SplitterRule> splitters;
  std::map<std::string, int> listRowHeights;  //!< by list control
  std::map<std::string, long> gridColors;     //!< by list control
  std::map<std::string, ListFont> listFonts;  //!< by list control
  bool themed = false;                        //!< the theme colours the window
};

//! The layouts of every window of the process, by window id. Any thread may use it
//! (guarded by a lock). An entry lives as long as its window object: it is forgotten
//! once nobody holds the window any more, so a closed window's placement can still be
//! read and stored by the procedure that closed it.
class WindowLayouts {
 public:
  //! The window's layout (empty when nothing was set).
  WindowLayout get(int windowId) const;
  //! Changes the window's layout and tells the listener (outside the lock).
  void update(const rt::Window& window, const std::function<void(WindowLayout&)>& change);
  //! The front-end's placement of a window, e.g. after the person moved it.
  void setPlacement(const rt::Window& window, Placement placement);
  //! Called with the window id after every change (the Qt front-end relays it).
  void setListener(std::function<void(int windowId)> listener);

 private:
  struct Entry {
    std::weak_ptr<const rt::Window> window;
    WindowLayout layout;
  };
  void pruneLocked();

  mutable std::mutex mutex_;
  std::map<int, Entry> entries_;
  std::shared_ptr<std::function<void(int)>> listener_;
};

//! The process's window layouts.
WindowLayouts& windowLayouts();

}  // namespace slownik::fw
