#pragma once
#include <string>

namespace slownik::rt {

//! The runtime's event codes. Field events carry the control they happened to; window
//! events have no control.
namespace event {

inline constexpr int Accepted = 1;      //!< a control's value was completed or a button pressed
inline constexpr int NewSelection = 2;  //!< a list, drop list or sheet moved to another entry
inline constexpr int ScrollUp = 3;      //!< a list wants the row above its first loaded row
inline constexpr int ScrollDown = 4;    //!< … the row below its last loaded row
inline constexpr int PageUp = 5;
inline constexpr int PageDown = 6;
inline constexpr int ScrollTop = 7;
inline constexpr int ScrollBottom = 8;
inline constexpr int MouseDown = 10;    //!< a mouse button went down on a control (list headers)
inline constexpr int MouseUp = 11;
inline constexpr int AlertKey = 15;     //!< a key reserved by the window (an alert) was pressed
inline constexpr int Selecting = 21;    //!< a control is being selected by the mouse
inline constexpr int Selected = 257;    //!< a control got the focus
inline constexpr int CloseWindow = 513; //!< the window is asked to close
inline constexpr int OpenWindow = 515;  //!< the first event of every window
inline constexpr int LoseFocus = 517;   //!< the window stopped being the active one
inline constexpr int GainFocus = 518;   //!< the window became the active one again
inline constexpr int Sized = 563;       //!< the window's size changed
inline constexpr int Redraw = 1023;     //!< the window was drawn again
inline constexpr int Notify = 1024;     //!< posted to a thread by another window
inline constexpr int Reactivate = 1025; //!< the host brings an open window to the front

}  // namespace event

//! One event in a window's queue.
struct Event {
  int code = 0;
  std::string control;  //!< "?LIST", "?OK"; empty for window events
  int keyCode = 0;      //!< the key or mouse button that caused it (0 = none)
  int column = 0;       //!< list column under the mouse, 1-based (mouse events)
  bool inHeader = false;  //!< the mouse was on the list's header row
  int fromThread = 0;   //!< number of the posting thread (Notify)

  bool isFieldEvent() const { return !control.empty(); }
};

}  // namespace slownik::rt
