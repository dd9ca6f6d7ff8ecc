#pragma once
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/classes/window_layouts.h"
#include "framework/runtime/control.h"
#include "host/frame_toolbar.h"

class QBoxLayout;
class QHBoxLayout;
class QSplitter;

namespace slownik::rt {
class Window;
}

namespace slownik::host {

class FocusFrame;
class ListView;
class PictureEdit;

//! A runtime window drawn with widgets. Built from the window's controls and laid out
//! automatically: prompt/field pairs as form rows, a picture beside the window's title
//! text, row groups side by side, sheets as tabs, groups as framed boxes, lists as
//! tables, and the window's own buttons in a bar at the bottom. Controls the procedure
//! creates later join a row above that bar.
//!
//! What the user does goes to the runtime window as input (type, click, keys); what the
//! procedure changes comes back through refresh(); what it asks of the window's layout
//! (placement, resizer rules, list row heights and grid colours, theme, splitters) comes
//! back through applyLayout(), and moves and resizes go back to the layouts registry.
//! GUI thread only.
class QtWindow : public QWidget, public FrameActionTarget {
  Q_OBJECT
 public:
  //! The entry every list names its locator's search field by; what is typed there
  //! reaches the window kLocatorPause after the last key, without Enter.
  static constexpr const char* kLocatorEntry = "?LOKATOR";
  static constexpr int kLocatorPause = 350;  // ms

  explicit QtWindow(std::shared_ptr<rt::Window> window, QWidget* parent = nullptr);
  ~QtWindow() override;

  const std::shared_ptr<rt::Window>& window() const { return window_; }
  //! Shows the control's (or, for an empty name, the window's) property as it stands now;
  //! draws a created control and drops a destroyed one.
  void refresh(const std::string& control, rt::Property property);
  //! Applies what the procedure set in the window's layout.
  void applyLayout();
  //! Moves the keyboard focus to the control the runtime focused.
  void focusControl(const std::string& control);
  //! The widget drawing a control, or nullptr.
  QWidget* widgetFor(const std::string& control) const;
  //! The frame drawn round a control, or nullptr when it never had one.
  FocusFrame* frameFor(const std::string& control) const;
  //! The window's minimum size in pixels (its dialog units converted with the font).
  QSize minimumFromResource() const;
  //! Keeps the window's minimum size within `area` (its workspace), so that no part of
  //! it is out of reach: the button bar wraps and the lists scroll instead.
  void fitWithin(const QSize& area);
  //! Where the window stands now (its sub-window in a workspace, else itself).
  fw::Placement placement() const;
  //! The tool tip a control shows: the balloon (title and text, as rich text) when
  //! the tool-tip manager has the window, else its plain tip.
  QString tipFor(const std::string& control) const;

  //! Where a popup menu the keyboard opened belongs: under the selected row of the
  //! focused list (or the focused control); nullopt when the mouse opened it.
  std::optional<QPoint> keyboardPopupPosition() const;

  bool canPerform(FrameAction action) const override;
  void perform(FrameAction action) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void build(QBoxLayout* layout, const std::string& parent, bool isWindow);
  QWidget* makeWidget(const rt::Control& c);
  QWidget* makeButtonGroup(const rt::Control& row);
  void connectInput(const rt::Control& c, QWidget* w);
  void apply(const rt::Control& c, QWidget* w);
  void applyLook(const rt::Control& c, QWidget* w);
  std::vector<rt::Control> childrenOf(const std::string& parent) const;
  void report(const std::string& refused) const;
  void watch(QWidget* w);
  std::string controlOf(QObject* o) const;
  bool wantsKey(const rt::Control& c, int code) const;
  bool keyPressed(QWidget* w, const rt::Control& c, QKeyEvent* event);
  bool commitTyping(QWidget* w, const std::string& name);
  const rt::Control* onlyList() const;
  void takeKeyboardBack();

  void addCreated(const std::string& control);
  void dropDestroyed();
  QWidget* container() const;
  void applyPlacement(const fw::Placement& p);
  void reportPlacement();
  void applySplitter(const fw::SplitterRule& rule);
  void setSplit(const std::string& splitter);

  std::shared_ptr<rt::Window> window_;
  std::vector<rt::Control> controls_;  // as drawn, in tab order
  std::map<std::string, QWidget*> widgets_;
  std::map<QObject*, std::string> names_;
  std::map<std::string, ListView*> lists_;
  std::map<std::string, FocusFrame*> frames_;
  struct Split {
    QSplitter* splitter = nullptr;
    int base = -1;  // where the layout first put the divider (offset 0); -1 = not laid out yet
  };
  std::map<std::string, Split> splits_;
  QHBoxLayout* createdRow_ = nullptr;
  fw::WindowLayout applied_;  // what applyLayout() last took
  fw::Placement normal_;      // the last placement that was not maximized
  bool applying_ = false;     // true while code, not the user, changes a widget
  bool placing_ = false;      // true while the procedure's placement is applied
  bool tracking_ = false;     // moves and resizes are reported
  bool altAlone_ = false;     // Alt went down and nothing else happened since
  bool keyboardInput_ = false;  // the last thing the person did here was a key
  bool restoring_ = false;      // the window is taking the keyboard back after a form
};

}  // namespace slownik::host
