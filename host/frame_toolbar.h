#pragma once
#include <QPointer>
#include <QToolBar>
#include <array>

class QAction;

namespace slownik::host {

//! What the frame toolbar can ask of the active window.
enum class FrameAction { Insert, Change, Delete, Select, First, Previous, Next, Last };
inline constexpr int kFrameActionCount = 8;

//! Implemented by a window widget that the frame toolbar acts on (a list window).
//! Both calls come on the GUI thread.
class FrameActionTarget {
 public:
  virtual ~FrameActionTarget() = default;
  virtual bool canPerform(FrameAction action) const = 0;
  virtual void perform(FrameAction action) = 0;
};

//! The frame's toolbar: insert, change, delete, select and first/previous/next/last.
//! It acts on the active window when that window is a FrameActionTarget and is
//! disabled otherwise. It has no shortcuts of its own: the windows answer the same keys.
class FrameToolBar : public QToolBar {
  Q_OBJECT
 public:
  explicit FrameToolBar(QWidget* parent = nullptr);

  //! The window to act on (any widget; null or a non-target disables the buttons).
  void setTarget(QWidget* window);
  //! Asks the target again which actions it allows now (after its selection changed).
  void refresh();
  QAction* action(FrameAction a) const { return actions_[static_cast<int>(a)]; }

 private:
  FrameActionTarget* target() const;

  QPointer<QWidget> window_;
  std::array<QAction*, kFrameActionCount> actions_{};
};

}  // namespace slownik::host
