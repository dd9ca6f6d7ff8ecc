#pragma once
#include <QDate>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/runtime/front_end.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace slownik::host {

class QtWindow;

//! The front-end that draws the runtime's windows with Qt widgets.
//!
//! Notifications from procedure threads are queued to the GUI thread and return at
//! once. Requests (message boxes, menus, dialogs, clipboard) run on the GUI thread
//! while the asking thread waits; once shutDown() has been called, waiting threads get
//! each request's default answer, so that no thread waits on a GUI that has stopped.
//! Create it on the GUI thread.
class QtFrontEnd : public QObject, public rt::FrontEnd {
  Q_OBJECT
 public:
  QtFrontEnd();
  ~QtFrontEnd() override;

  //! Windows open inside this workspace (the frame's); without one they are top-level.
  void setWorkspace(QMdiArea* workspace);
  //! The widget drawing a runtime window (GUI thread), or nullptr.
  QtWindow* widgetFor(int windowId) const;
  //! Every window drawn now, oldest first (GUI thread).
  std::vector<QtWindow*> windows() const;
  //! Asks every open window to close, as the user's close box would.
  void closeAllWindows();
  //! From now on requests are answered with their defaults without asking anyone.
  void shutDown();

  void windowOpened(const std::shared_ptr<rt::Window>& window) override;
  void windowClosed(const std::shared_ptr<rt::Window>& window) override;
  void propertyChanged(const std::shared_ptr<rt::Window>& window, const std::string& control,
                       rt::Property property) override;
  void focusChanged(const std::shared_ptr<rt::Window>& window, const std::string& control) override;

  int messageBox(const rt::MessageBoxRequest& request) override;
  int popupMenu(const rt::PopupRequest& request) override;
  std::optional<std::string> fileDialog(const rt::FileDialogRequest& request) override;
  std::optional<long> colorDialog(const std::string& title, long initial) override;
  std::optional<long> calendarDialog(const rt::CalendarRequest& request) override;
  std::string clipboardText() override;
  void setClipboardText(const std::string& text) override;
  bool openLink(const std::string& url) override;
  void setBusy(bool busy) override;
  void showHelp(const std::string& file, const std::string& page) override;
  bool printPreview(const rt::PrintRequest& request) override;

 signals:
  //! A window's control or state changed on the screen (the frame re-reads its toolbar).
  void windowChanged();

 private:
  //! Runs `body` on the GUI thread and waits for its result; `fallback` after shutDown().
  template <typename T>
  T ask(std::function<T()> body, T fallback);
  //! Queues `body` to the GUI thread without waiting.
  void post(std::function<void()> body);
  QWidget* dialogParent(const std::shared_ptr<rt::Window>& window) const;
  void placeInWorkspace(QMdiSubWindow* sub, QtWindow* widget);

  QPointer<QMdiArea> workspace_;
  std::map<int, QPointer<QtWindow>> windows_;  // GUI thread only
  int busyDepth_ = 0;                          // GUI thread only
  std::atomic<bool> followsLayouts_{false};    // this front-end hears of layout changes

  std::mutex mutex_;
  std::condition_variable answered_;
  bool shutDown_ = false;
};

//! Day numbers (1 = 28 December 1800) and dates.
QDate dateFromDay(long day);
long dayFromDate(const QDate& date);
//! "Pliki DBF|*.dbf|Wszystkie pliki|*.*" → "Pliki DBF (*.dbf);;Wszystkie pliki (*.*)".
QString qtFileFilter(const std::string& filter);

}  // namespace slownik::host
