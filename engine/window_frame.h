#pragma once
// What every dictionary window, list or form, does around its own work: naming itself to
// the error handler, opening its resource with its minimum size, the theme, the reserved
// keys, the position kept in the settings file, tool-tips, help and the focus
// highlighter, and undoing all of it at closing in the right order.

#include <memory>
#include <string>
#include <string_view>

#include "engine/focus_highlighter.h"
#include "framework/classes/theme_classes.h"
#include "framework/classes/window_manager.h"
#include "framework/runtime/event.h"
#include "framework/services/help_viewer.h"

namespace slownik::engine {

//! The window resource of a module number: 2 → "slownik$slown002".
std::string windowResource(int module);

//! The shared part of a list window's or form's life. Owned by the window procedure,
//! used on its thread only.
class WindowFrame {
 public:
  //! Names the procedure at the error handler (undone by release()).
  void nameProcedure(std::string procedure);
  const std::string& procedure() const { return procedure_; }
  //! Opens "slownik$slownNNN" of `windowType` into `manager`, with the minimum size when
  //! given (0 keeps the resource's). 0, or -1 when the resource could not be opened.
  int open(fw::WindowManager& manager, int module, std::string_view windowType, int minWidth, int minHeight);
  //! Themed colours when the desktop has a theme; `list` gets the theme's row height and
  //! grid colour ("" = a window without a list).
  void applyTheme(std::string_view list);
  //! Reserves Alt alone, Shift+F10 and Ctrl+Shift+F10.
  void reserveKeys();
  //! The stored position and size under the procedure's name, if any.
  void restorePosition();
  //! Registers with the tool-tip manager when GLO:TOOLTIPTYPE asks for balloons.
  void registerTooltips();
  //! The help object with the module's help file and `page`.
  void startHelp(std::string page);
  void startHighlighter();
  //! Before the framework: Alt alone on the program's first thread presses F10 (the
  //! host's menu bar); the focus highlighter follows the focus. True when the event is
  //! used up.
  bool takeEventFirst(const rt::Event& e);
  //! The window regained focus (518) or the host re-activates it (1025): the help page
  //! again; on 1025 the window's list or first control gets the focus.
  void takeWindowEvent(const rt::Event& e, std::string_view focusControl);
  //! Leaves the tool-tip manager and, if the window was opened, stores its position.
  void leave();
  //! Clears the procedure name and releases the help object and the highlighter.
  void release();

  svc::HelpViewer& help() { return help_; }
  FocusHighlighter& highlighter() { return highlighter_; }
  bool isOpened() const { return window_ != nullptr; }

 private:
  std::string procedure_;
  bool named_ = false;
  std::shared_ptr<rt::Window> window_;
  fw::PxpWindowClass theme_;
  FocusHighlighter highlighter_;
  svc::HelpViewer help_;
  bool tooltips_ = false;
};

}  // namespace slownik::engine
