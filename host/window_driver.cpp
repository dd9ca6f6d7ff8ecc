#include "host/window_driver.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "framework/runtime/window.h"
#include "host/list_view.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"

namespace slownik::host {

WindowDriver::WindowDriver(QtFrontEnd& frontEnd, int timeoutMs)
    : frontEnd_(frontEnd), timeoutMs_(timeoutMs), watch_(new QTimer(this)) {
  // A modal box runs its own event loop inside whatever wait is going on; the timer
  // fires within that loop too, so the box never waits for a person who is not there.
  connect(watch_, &QTimer::timeout, this, &WindowDriver::dismissModal);
  watch_->start(25);
}

WindowDriver::~WindowDriver() = default;

void WindowDriver::dismissModal() {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    messages_ << QStringLiteral("menu podręczne");
    popup->close();
    return;
  }
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!dialog || !dialog->isVisible()) return;
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
    messages_ << box->windowTitle() + ": " + box->text();
    // Esc as the keyboard gives it: the box answers with its escape button (No or
    // Cancel), never with its default.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &esc);
    if (box->isVisible()) box->close();
    return;
  }
  messages_ << QStringLiteral("okno dialogowe: ") + dialog->windowTitle();
  dialog->reject();
}

std::set<int> WindowDriver::shownIds() const {
  std::set<int> ids;
  for (QtWindow* w : frontEnd_.windows()) ids.insert(w->window()->id());
  return ids;
}

QtWindow* WindowDriver::waitForNewWindow(const std::set<int>& before) {
  QtWindow* found = nullptr;
  processEventsUntil(
      [&] {
        for (QtWindow* w : frontEnd_.windows())
          if (!before.count(w->window()->id()) && w->isVisible()) found = w;
        return found != nullptr;
      },
      timeoutMs_);
  if (!found) error_ = QStringLiteral("żadne nowe okno nie pokazało się w ciągu %1 ms").arg(timeoutMs_);
  return found;
}

ListView* WindowDriver::listOf(QtWindow* window) { return window ? window->findChild<ListView*>() : nullptr; }

bool WindowDriver::waitForRows(QtWindow* window) {
  const int id = window->window()->id();
  auto rows = [&] {
    QtWindow* w = frontEnd_.widgetFor(id);  // the window may go while we wait
    ListView* list = listOf(w);
    return list && list->model()->rowCount() > 0;
  };
  if (processEventsUntil(rows, timeoutMs_)) return true;
  error_ = listOf(frontEnd_.widgetFor(id)) ? QStringLiteral("lista okna nie pokazała wierszy w ciągu %1 ms").arg(timeoutMs_)
                                           : QStringLiteral("okno nie ma listy");
  return false;
}

bool WindowDriver::waitClosed(int windowId) {
  if (processEventsUntil([&] { return frontEnd_.widgetFor(windowId) == nullptr; }, timeoutMs_)) return true;
  error_ = QStringLiteral("okno nie zamknęło się w ciągu %1 ms").arg(timeoutMs_);
  return false;
}

void WindowDriver::pressKey(QtWindow* window, int qtKey, Qt::KeyboardModifiers modifiers) {
  QWidget* target = window->widgetFor(window->window()->focus());
  if (!target) target = listOf(window);
  if (!target) target = window;
  QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers);
  QApplication::sendEvent(target, &release);
}

QStringList WindowDriver::takeMessages() { return std::exchange(messages_, {}); }

}  // namespace slownik::host
