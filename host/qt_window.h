#pragma once
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/runtime/control.h"
#include "host/frame_toolbar.h"

class QBoxLayout;
class QTableView;

namespace slownik::rt {
class Window;
}

namespace slownik::host {

class QtListModel;

//! A runtime window drawn with widgets. Built from the window's controls and laid out
//! automatically: prompt/field pairs as form rows, row groups side by side, sheets as
//! tabs, groups as framed boxes, lists as tables, and the window's own buttons in a row
//! at the bottom. What the user does goes to the runtime window as input (type, click,
//! keys); what the procedure changes comes back through refresh(). GUI thread only.
class QtWindow : public QWidget, public FrameActionTarget {
  Q_OBJECT
 public:
  explicit QtWindow(std::shared_ptr<rt::Window> window, QWidget* parent = nullptr);

  const std::shared_ptr<rt::Window>& window() const { return window_; }
  //! Shows the control's (or, for an empty name, the window's) property as it stands now.
  void refresh(const std::string& control, rt::Property property);
  //! Moves the keyboard focus to the control the runtime focused.
  void focusControl(const std::string& control);
  //! The widget drawing a control, or nullptr.
  QWidget* widgetFor(const std::string& control) const;
  //! The window's minimum size in pixels (its dialog units converted with the font).
  QSize minimumFromResource() const;

  bool canPerform(FrameAction action) const override;
  void perform(FrameAction action) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build(QWidget* host, QBoxLayout* layout, const std::string& parent, bool isWindow);
  QWidget* makeWidget(const rt::Control& c);
  void connectInput(const rt::Control& c, QWidget* w);
  void apply(const rt::Control& c, QWidget* w);
  std::vector<rt::Control> childrenOf(const std::string& parent) const;
  void report(const std::string& refused) const;

  std::shared_ptr<rt::Window> window_;
  std::vector<rt::Control> controls_;  // as built, in tab order
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, QtListModel*> lists_;
  bool applying_ = false;  // true while code, not the user, changes a widget
};

}  // namespace slownik::host
