#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/control.h"
#include "framework/runtime/event.h"
#include "framework/runtime/window_resource.h"

namespace slownik::rt {

struct ThreadWindows;

//! A window of the retained model: its controls with their properties, its alerts and
//! its event queue.
//!
//! Threading: the window belongs to the thread that opened it (its procedure thread),
//! which alone takes events (nextEvent) and closes it. Every other member may be called
//! from any thread: the front-end reads properties and feeds input from its own thread.
//! Every property change is reported to the front-end after the window's lock is
//! released, on the thread that made the change.
//!
//! A property set on a control the window lacks changes nothing and is logged once per
//! window and name. Input (the `press…`/`type`/`click…` members) is what a person does:
//! it is refused, with a reason, while the window is closed or inactive (a window opened
//! from it on the same thread is still open), or when the control is hidden or disabled.
class Window : public std::enable_shared_from_this<Window> {
 public:
  //! Opens the window of type `windowType` from the resource `resourceName` on the
  //! calling thread. A resource that can't be read gives nullptr and the reason in
  //! *error (also logged); nothing is shown.
  static std::shared_ptr<Window> open(std::string_view resourceName, std::string_view windowType,
                                      std::string* error = nullptr);
  //! Opens a window from a definition already in hand.
  static std::shared_ptr<Window> open(WindowDef def);

  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window();

  int id() const { return id_; }  //!< unique in the process
  int ownerThread() const { return ownerThread_; }
  const std::string& resource() const { return def_.resource; }
  const std::string& type() const { return def_.type; }
  int minWidth() const { return def_.minWidth; }
  int minHeight() const { return def_.minHeight; }
  const std::string& icon() const { return def_.icon; }

  std::string title() const;
  void setTitle(std::string title);
  bool isActive() const;
  bool isClosed() const;
  //! True while the owner thread waits in nextEvent() on this window with nothing queued.
  bool isIdle() const;

  // --- controls -------------------------------------------------------------------
  bool has(std::string_view control) const;
  std::optional<Control> control(std::string_view name) const;
  std::vector<Control> controls() const;  //!< every control, in tab order
  //! Names of the controls Tab visits now (focusable, visible, enabled), in order.
  std::vector<std::string> tabOrder() const;
  std::string focus() const;  //!< the focused control, "" = none

  std::string value(std::string_view control) const;
  std::string text(std::string_view control) const;

  bool setText(std::string_view control, std::string text);
  bool setValue(std::string_view control, std::string value);
  bool enable(std::string_view control, bool on = true);
  bool disable(std::string_view control) { return enable(control, false); }
  bool hide(std::string_view control, bool hidden = true);
  bool unhide(std::string_view control) { return hide(control, false); }
  bool setReadOnly(std::string_view control, bool on);
  bool setRequired(std::string_view control, bool on);
  bool setFontColor(std::string_view control, long color);
  bool setBackColor(std::string_view control, long color);
  bool setSelectedColors(std::string_view control, long fontColor, long backColor);
  bool setFrameColor(std::string_view control, long color);
  bool setFontWeight(std::string_view control, int weight);
  bool setListStyle(std::string_view control, int style, ListStyle look);
  //! Moves a list's selection (1-based; 0 = none) without an event: code does this.
  bool setSelection(std::string_view control, int row);
  bool setIcon(std::string_view control, std::string icon);
  bool setIconList(std::string_view control, std::vector<std::string> icons);
  bool setRows(std::string_view control, std::vector<std::vector<std::string>> rows);
  bool setItems(std::string_view control, std::vector<std::string> items);
  bool setTip(std::string_view control, std::string tip);
  bool setPicture(std::string_view control, std::string picture);
  bool setFormat(std::string_view control, std::string format);
  bool setColumnHeader(std::string_view control, int column, std::string header);
  //! Focuses a control from code; posts Selected for it.
  bool select(std::string_view control);

  //! A control made at run time (inside `parent`, "" = the window), placed last in tab order.
  bool createControl(std::string name, ControlKind kind, std::string parent = {});
  bool destroyControl(std::string_view name);

  // --- alerts (reserved keys) ---------------------------------------------------
  static constexpr int kAlertSlots = 255;
  //! Reserves `key` in the first free slot (nothing if already reserved or all full).
  void alert(int key);
  //! Writes `key` into slot 1..255 (0 empties the slot).
  void setAlertSlot(int slot, int key);
  int alertSlot(int slot) const;
  void removeAlert(int key);
  void clearAlerts();
  bool isAlerted(int key) const;
  //! Reserves `key` only while `control` has the focus.
  bool alertOn(std::string_view control, int key);
  bool removeAlertOn(std::string_view control, int key);

  // --- events -------------------------------------------------------------------
  //! Waits for the next event (owner thread).
  Event nextEvent();
  //! As nextEvent(), giving up after `timeout`.
  std::optional<Event> nextEvent(std::chrono::milliseconds timeout);
  //! Queues an event from code (any thread). Ignored once the window is closed.
  void post(Event e);
  void post(int code, std::string control = {}) { post(Event{code, std::move(control)}); }

  // --- input: what a person (or code pressing keys) does --------------------------
  // Each returns "" when done, else why it was refused.
  std::string pressKey(int keyCode);
  //! Clicks a control: a button is pressed, a check box toggled, a radio chosen, a tab
  //! shown, anything else focused.
  std::string click(std::string_view control);
  //! Types `text` into an editable control (its whole new value) and completes it.
  std::string type(std::string_view control, std::string text);
  //! Chooses an entry of a combo or drop list (by its text).
  std::string choose(std::string_view control, std::string item);
  //! Clicks a list row (1-based); a double click also accepts it.
  std::string clickRow(std::string_view list, int row, bool doubleClick = false);
  //! Extends a list's selection to `row` with the mouse: a Shift+click (`range`) selects
  //! every row from where the selection started, a Ctrl+click adds or takes away that row
  //! alone. The clicked row becomes the current one (unless a Ctrl+click took it away).
  std::string extendRow(std::string_view list, int row, bool range);
  //! Right-clicks a list row: selects it, then the right button goes as a key press.
  std::string rightClickRow(std::string_view list, int row);
  //! Clicks a list's column header (1-based) with a plain, Shift (257) or Ctrl (513) click.
  std::string clickHeader(std::string_view list, int column, int mouseKey);
  //! The window's close box.
  std::string closeByUser();

  //! Closes the window (owner thread; a second call does nothing). The window it was
  //! opened from on the same thread becomes active again and gets GainFocus.
  void close();

 private:
  Window(WindowDef def, int ownerThread);

  Control* find(std::string_view name);
  const Control* find(std::string_view name) const;
  bool usable(const Control& c) const;
  void logMissing(std::string_view name) const;
  template <typename Change>
  bool change(std::string_view name, Property property, Change&& apply);
  void notify(const std::string& control, Property property);
  void pushLocked(Event e);
  std::string refuseLocked() const;
  //! The control a user's action aims at: null, with the reason in `refused`, when the
  //! window takes no actions, the control is missing (or is no list when `list`), its
  //! kind refuses the action (`kindRefusal` returns why), or it is hidden or disabled.
  Control* targetLocked(std::string_view name, bool list, std::string& refused,
                        const std::function<std::string(const Control&)>& kindRefusal = {});
  std::string moveFocusLocked(int step, std::vector<std::string>& focusChanges);
  void focusLocked(const std::string& name, std::vector<std::string>& focusChanges);
  std::string keyLocked(int keyCode, std::vector<std::pair<std::string, Property>>& changes,
                        std::vector<std::string>& focusChanges);
  std::string activateLocked(Control& c, int keyCode, std::vector<std::pair<std::string, Property>>& changes,
                             std::vector<std::string>& focusChanges);
  void report(const std::vector<std::pair<std::string, Property>>& changes, const std::vector<std::string>& focus);
  void setActive(bool active);
  std::vector<std::string> tabOrderLocked() const;
  bool visibleLocked(const Control& c) const;

  friend struct ThreadWindows;

  const int id_;
  const int ownerThread_;
  WindowDef def_;
  std::shared_ptr<ThreadWindows> thread_;

  mutable std::mutex mutex_;
  std::condition_variable eventReady_;
  std::deque<Event> queue_;
  bool waiting_ = false;
  bool active_ = true;
  bool closed_ = false;
  std::string title_;
  std::vector<Control> controls_;
  std::string focus_;
  std::array<int, kAlertSlots + 1> alertSlots_{};  // slot 0 unused
  mutable std::set<std::string> reportedMissing_;
};

//! The window the calling thread works in now (its newest open window), or nullptr.
std::shared_ptr<Window> activeWindow();
//! Every open window of the process, oldest first.
std::vector<std::shared_ptr<Window>> openWindows();
//! Posts an event to the active window of thread `threadNumber`; false when that
//! thread has no open window.
bool postToThread(int threadNumber, Event e);
//! True when thread `threadNumber` waits for an event in its active window with nothing
//! queued (the thread has settled after the input it was given).
bool isThreadIdle(int threadNumber);
//! True when thread `threadNumber` has at least one open window.
bool hasOpenWindow(int threadNumber);
//! Closes every window the calling thread left open, newest first (thread end).
void closeThreadWindows();

}  // namespace slownik::rt
