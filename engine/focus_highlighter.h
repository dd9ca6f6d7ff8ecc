#pragma once
#include <memory>
#include <string>

#include "framework/runtime/control.h"
#include "framework/runtime/event.h"
#include "framework/runtime/window.h"

namespace slownik::engine {

//! How the focused control is marked. Every browse and form starts the highlighter with
//! these values; they are fields only so that the look is written down in one place.
struct FocusStyle {
  long background = 13434879;   //!< red 255, green 255, blue 204
  long missingFrame = 255;      //!< red: a required control still without a value
  bool bold = false;            //!< bold text while focused (available, off by default)
};

//! Marks the control that has the focus: a light background and a frame just outside it,
//! red while the control is required and has no value yet. The control that loses the
//! focus gets back its own background and font weight, and its frame is wiped.
//!
//! Threading: lives on the window's procedure thread and is fed that window's events.
class FocusHighlighter {
 public:
  FocusHighlighter() = default;
  FocusHighlighter(const FocusHighlighter&) = delete;
  FocusHighlighter& operator=(const FocusHighlighter&) = delete;
  ~FocusHighlighter();

  //! Starts on `window` and marks the control that has the focus now.
  void start(std::shared_ptr<rt::Window> window, FocusStyle style = {});
  //! Follows focus changes (Selecting, Selected) and redraws after Sized and Redraw.
  //! Never consumes an event: the window's own handling goes on.
  void takeEvent(const rt::Event& e);
  //! Gives the marked control its own look back and lets go of the window.
  void stop();

  //! The control marked now, "" = none.
  const std::string& current() const { return current_; }

  //! Whether a control of this kind is ever marked: not decoration, buttons, prompts,
  //! groups, panels, containers or drop lists.
  static bool highlights(rt::ControlKind kind);
  //! Whether the frame of a required control with this picture and value is red: no
  //! value yet (empty text; 0 for a number, date or time, which is how those fields
  //! say "empty").
  static bool lacksValue(const std::string& picture, const std::string& value);

 private:
  void moveTo(const std::string& control);
  void mark();
  void unmark();

  std::shared_ptr<rt::Window> window_;
  FocusStyle style_;
  std::string current_;
  bool marked_ = false;
  long ownBackground_ = rt::kNoColor;
  int ownWeight_ = rt::kNormalWeight;
};

}  // namespace slownik::engine
