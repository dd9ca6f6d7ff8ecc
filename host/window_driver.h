#pragma once
#include <QApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <set>

class QTimer;

namespace slownik::host {

class ListView;
class QtFrontEnd;
class QtWindow;

//! Runs the GUI thread's events until `done` holds or `timeoutMs` pass; true when it held.
template <typename Pred>
bool processEventsUntil(Pred done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

//! Plays the person in front of the real windows the Qt front-end draws, for tools and
//! tests that run without anyone at the screen: waits for windows and their rows, presses
//! keys as the keyboard would, waits for windows to go. Every wait ends after the time-out
//! with a message in error(), so that nothing hangs. Message boxes and other modal dialogs
//! that come up meanwhile are noted (messages()) and dismissed as Esc would dismiss them.
//! GUI thread only.
class WindowDriver : public QObject {
  Q_OBJECT
 public:
  explicit WindowDriver(QtFrontEnd& frontEnd, int timeoutMs = 10000);
  ~WindowDriver() override;

  //! Ids of the windows drawn now.
  std::set<int> shownIds() const;
  //! Waits for a window drawn that is not among `before`; nullptr after the time-out.
  QtWindow* waitForNewWindow(const std::set<int>& before);
  //! Waits until the window's first list shows a row; false after the time-out or when
  //! the window has no list.
  bool waitForRows(QtWindow* window);
  //! Waits until the window with this id is no longer drawn.
  bool waitClosed(int windowId);
  //! Sends a key press and release to the control focused in the window (its first list
  //! when nothing is focused), the way the keyboard delivers them.
  void pressKey(QtWindow* window, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

  //! The first list control of a window, or nullptr.
  static ListView* listOf(QtWindow* window);

  //! "title: text" of every box dismissed since the last call.
  QStringList takeMessages();
  //! Why the last wait failed.
  const QString& error() const { return error_; }
  int timeout() const { return timeoutMs_; }

 private:
  void dismissModal();

  QtFrontEnd& frontEnd_;
  int timeoutMs_;
  QTimer* watch_;
  QStringList messages_;
  QString error_;
};

}  // namespace slownik::host

