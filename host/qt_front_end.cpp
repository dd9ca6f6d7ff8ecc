#include "host/qt_front_end.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include "framework/classes/window_layouts.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/window.h"
#include "host/dialog_place.h"
#include "host/help_window.h"
#include "host/icon_library.h"
#include "host/print_preview.h"
#include "host/qt_list_model.h"
#include "host/qt_window.h"

namespace slownik::host {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The frame asks the front-end for the window widget behind a subwindow or a top-level window.
QtWindow* windowWidgetOf(QObject* o) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(o)) return qobject_cast<QtWindow*>(sub->widget());
  return qobject_cast<QtWindow*>(o);
}

// Intercepts the close box: the procedure decides whether its window closes.
class CloseGuard : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Close) return false;
    QtWindow* w = windowWidgetOf(watched);
    if (!w || w->window()->isClosed()) return false;
    event->ignore();
    w->window()->closeByUser();
    return true;
  }
};

struct ButtonText {
  int code;
  const char* text;
  QMessageBox::ButtonRole role;
};
const ButtonText kButtons[] = {
    {rt::button::Ok, "OK", QMessageBox::AcceptRole},         {rt::button::Yes, "&Tak", QMessageBox::YesRole},
    {rt::button::No, "&Nie", QMessageBox::NoRole},           {rt::button::Abort, "&Przerwij", QMessageBox::RejectRole},
    {rt::button::Retry, "P&onów", QMessageBox::AcceptRole},  {rt::button::Ignore, "&Ignoruj", QMessageBox::AcceptRole},
    {rt::button::Cancel, "&Anuluj", QMessageBox::RejectRole}, {rt::button::Help, "Pomo&c", QMessageBox::HelpRole},
};

void addMenuItems(QMenu* menu, const std::vector<rt::PopupItem>& items, int* next, std::map<QAction*, int>* index) {
  for (const rt::PopupItem& item : items) {
    if (item.separator) {
      menu->addSeparator();
      continue;
    }
    if (!item.items.empty()) {
      QMenu* sub = menu->addMenu(IconLibrary::instance().icon(item.icon), qs(item.text));
      sub->setEnabled(item.enabled);
      addMenuItems(sub, item.items, next, index);
      continue;
    }
    QAction* a = menu->addAction(IconLibrary::instance().icon(item.icon), qs(item.text));
    a->setEnabled(item.enabled);
    if (item.checked) {
      a->setCheckable(true);
      a->setChecked(true);
    }
    (*index)[a] = ++*next;  // numbered as popupChoices() numbers the choosable items
  }
}

}  // namespace

// The runtime's day numbers are converted by the runtime, so that both agree on every day.
QDate dateFromDay(long day) {
  auto d = rt::civilDate(std::int32_t(day));
  return d ? QDate(d->year, d->month, d->day) : QDate();
}
long dayFromDate(const QDate& date) { return date.isValid() ? rt::dayNumber(date.year(), date.month(), date.day()) : 0; }

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = qs(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
  return out.join(";;");
}

QtFrontEnd::QtFrontEnd() = default;
QtFrontEnd::~QtFrontEnd() {
  if (followsLayouts_) fw::windowLayouts().setListener({});
  shutDown();
}

void QtFrontEnd::setWorkspace(QMdiArea* workspace) { workspace_ = workspace; }

QtWindow* QtFrontEnd::widgetFor(int windowId) const {
  auto it = windows_.find(windowId);
  return it == windows_.end() ? nullptr : it->second.data();
}

std::vector<QtWindow*> QtFrontEnd::windows() const {
  std::vector<QtWindow*> out;
  for (const auto& [id, widget] : windows_)  // ids grow: map order is opening order
    if (widget) out.push_back(widget.data());
  return out;
}

void QtFrontEnd::shutDown() {
  std::lock_guard lock(mutex_);
  shutDown_ = true;
  answered_.notify_all();
}

void QtFrontEnd::closeAllWindows() {
  for (const auto& w : rt::openWindows()) w->closeByUser();
}

template <typename T>
T QtFrontEnd::ask(std::function<T()> body, T fallback) {
  if (QThread::currentThread() == thread()) return body();
  auto result = std::make_shared<std::optional<T>>();
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return fallback;
  }
  QMetaObject::invokeMethod(
      this,
      [this, body, result] {
        {
          std::lock_guard lock(mutex_);
          if (shutDown_) return;  // the asking thread has had its default answer
        }
        T value = body();
        std::lock_guard lock(mutex_);
        *result = std::move(value);
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  answered_.wait(lock, [&] { return result->has_value() || shutDown_; });
  return result->has_value() ? std::move(**result) : fallback;
}

void QtFrontEnd::post(std::function<void()> body) { QMetaObject::invokeMethod(this, std::move(body), Qt::QueuedConnection); }

QWidget* QtFrontEnd::dialogParent(const std::shared_ptr<rt::Window>& window) const {
  if (window)
    if (QtWindow* w = widgetFor(window->id())) return w;
  return workspace_ ? workspace_->window() : QApplication::activeWindow();
}

void QtFrontEnd::windowOpened(const std::shared_ptr<rt::Window>& window) {
  // Only the front-end the runtime draws with hears of windows opening: it, and no
  // other, follows what procedures set in their windows' layouts.
  if (!followsLayouts_.exchange(true))
    fw::windowLayouts().setListener([this](int windowId) {
      post([this, windowId] {
        if (QtWindow* w = widgetFor(windowId)) w->applyLayout();
      });
    });
  post([this, window] {
    if (window->isClosed() || widgetFor(window->id())) return;
    auto* widget = new QtWindow(window);
    windows_[window->id()] = widget;
    static CloseGuard* guard = new CloseGuard(QApplication::instance());
    if (workspace_) {
      QMdiSubWindow* sub = workspace_->addSubWindow(widget);
      sub->setAttribute(Qt::WA_DeleteOnClose);
      sub->installEventFilter(guard);
      sub->setWindowIcon(widget->windowIcon());
      placeInWorkspace(sub, widget);
      sub->show();
      workspace_->setActiveSubWindow(sub);
    } else {
      widget->setAttribute(Qt::WA_DeleteOnClose);
      widget->installEventFilter(guard);
      widget->show();
    }
  });
}

// A new window stands below and to the right of the last one opened, as cards fanned
// out, and never larger than the workspace (a placement the window stored wins when it shows).
void QtFrontEnd::placeInWorkspace(QMdiSubWindow* sub, QtWindow* widget) {
  const QSize area = workspace_->viewport()->size();
  const QSize frame = sub->sizeHint() - widget->sizeHint();
  widget->fitWithin(area - frame.expandedTo(QSize(0, 0)));
  QSize size = sub->sizeHint().expandedTo(sub->minimumSizeHint()).boundedTo(area);
  sub->resize(size);
  const int step = std::max(sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub), 16) + 4;
  QPoint at(0, 0);
  for (QMdiSubWindow* other : workspace_->subWindowList(QMdiArea::CreationOrder))
    if (other != sub && other->isVisible() && !other->isMinimized()) at = other->pos() + QPoint(step, step);
  // Back to the corner when the next step would push the window off the workspace.
  if (at.x() + size.width() > area.width() || at.y() + size.height() > area.height()) at = QPoint(0, 0);
  sub->move(at);
}

void QtFrontEnd::windowClosed(const std::shared_ptr<rt::Window>& window) {
  post([this, window] {
    auto it = windows_.find(window->id());
    if (it == windows_.end()) return;
    QPointer<QtWindow> widget = it->second;
    windows_.erase(it);
    if (!widget) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget->parentWidget()); sub && workspace_) sub->close();
    else widget->close();
  });
}

void QtFrontEnd::propertyChanged(const std::shared_ptr<rt::Window>& window, const std::string& control,
                                 rt::Property property) {
  post([this, window, control, property] {
    if (QtWindow* w = widgetFor(window->id())) {
      w->refresh(control, property);
      if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()); sub && control.empty())
        sub->setWindowTitle(w->windowTitle());
      emit windowChanged();
    }
  });
}

void QtFrontEnd::focusChanged(const std::shared_ptr<rt::Window>& window, const std::string& control) {
  post([this, window, control] {
    if (QtWindow* w = widgetFor(window->id())) w->focusControl(control);
  });
}

int QtFrontEnd::messageBox(const rt::MessageBoxRequest& request) {
  return ask<int>(
      [this, request] {
        QStringList lines;
        for (const std::string& l : rt::messageLines(request.text)) lines << qs(l);
        QMessageBox box(dialogParent(request.parent));
        box.setWindowTitle(qs(request.title));
        box.setText(lines.join('\n'));
        switch (request.icon) {
          case rt::MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
          case rt::MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
          case rt::MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
          case rt::MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
          case rt::MessageIcon::None: break;
        }
        std::map<QAbstractButton*, int> codes;
        const int preferred = rt::fallbackButton(request);
        for (const ButtonText& b : kButtons) {
          if (!(request.buttons & b.code) && !(request.buttons == 0 && b.code == rt::button::Ok)) continue;
          QPushButton* button = box.addButton(QString::fromUtf8(b.text), b.role);
          codes[button] = b.code;
          if (b.code == preferred) box.setDefaultButton(button);
          if (b.code == rt::button::Cancel || (b.code == rt::button::No && !(request.buttons & rt::button::Cancel)))
            box.setEscapeButton(button);
        }
        box.exec();
        auto it = codes.find(box.clickedButton());
        return it != codes.end() ? it->second : rt::fallbackButton(request);
      },
      rt::fallbackButton(request));
}

int QtFrontEnd::popupMenu(const rt::PopupRequest& request) {
  return ask<int>(
      [this, request] {
        QMenu menu(dialogParent(request.parent));
        std::map<QAction*, int> index;
        int next = 0;
        addMenuItems(&menu, request.items, &next, &index);
        QPoint at = QCursor::pos();
        if (QtWindow* w = request.parent ? widgetFor(request.parent->id()) : nullptr)
          if (auto p = w->keyboardPopupPosition()) at = *p;
        QAction* chosen = menu.exec(at);
        auto it = index.find(chosen);
        return it != index.end() ? it->second : 0;
      },
      0);
}

std::optional<std::string> QtFrontEnd::fileDialog(const rt::FileDialogRequest& request) {
  return ask<std::optional<std::string>>(
      [this, request]() -> std::optional<std::string> {
        QWidget* parent = dialogParent(request.parent);
        const QString start = request.fileName.empty() ? qs(request.directory)
                                                       : qs(request.directory) + "/" + qs(request.fileName);
        QString chosen;
        if (request.directoryOnly) chosen = QFileDialog::getExistingDirectory(parent, qs(request.title), qs(request.directory));
        else if (request.save) chosen = QFileDialog::getSaveFileName(parent, qs(request.title), start, qtFileFilter(request.filter));
        else chosen = QFileDialog::getOpenFileName(parent, qs(request.title), start, qtFileFilter(request.filter));
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
      },
      std::nullopt);
}

std::optional<long> QtFrontEnd::colorDialog(const std::string& title, long initial) {
  return ask<std::optional<long>>(
      [this, title, initial]() -> std::optional<long> {
        QColor start = runtimeColor(initial);
        QColor c = QColorDialog::getColor(start.isValid() ? start : Qt::white, dialogParent(nullptr), qs(title));
        if (!c.isValid()) return std::nullopt;
        return long(c.red()) + long(c.green()) * 256 + long(c.blue()) * 65536;
      },
      std::nullopt);
}

std::optional<long> QtFrontEnd::calendarDialog(const rt::CalendarRequest& request) {
  return ask<std::optional<long>>(
      [this, request]() -> std::optional<long> {
        const std::string& title = request.title;
        const long initialDay = request.initialDay;
        QDialog dialog(dialogParent(request.place.window));
        dialog.setWindowTitle(title.empty() ? QStringLiteral("Kalendarz") : qs(title));
        auto* calendar = new QCalendarWidget;
        calendar->setFirstDayOfWeek(Qt::Monday);
        calendar->setGridVisible(true);
        calendar->setSelectedDate(initialDay > 0 ? dateFromDay(initialDay) : QDate::currentDate());
        auto* buttons = new QDialogButtonBox;
        buttons->addButton(QStringLiteral("&Wybierz"), QDialogButtonBox::AcceptRole)->setDefault(true);
        buttons->addButton(QStringLiteral("&Anuluj"), QDialogButtonBox::RejectRole);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(calendar);
        layout->addWidget(buttons);
        if (request.place.window)
          if (QtWindow* w = widgetFor(request.place.window->id()))
            placeDialogAt(&dialog, w->widgetFor(request.place.control), request.place.dx, request.place.dy);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dayFromDate(calendar->selectedDate());
      },
      std::nullopt);
}

std::string QtFrontEnd::clipboardText() {
  return ask<std::string>([] { return QApplication::clipboard()->text().toStdString(); }, std::string());
}

void QtFrontEnd::setClipboardText(const std::string& text) {
  ask<bool>(
      [text] {
        QApplication::clipboard()->setText(qs(text));
        return true;
      },
      false);
}

bool QtFrontEnd::openLink(const std::string& url) {
  return ask<bool>([url] { return QDesktopServices::openUrl(QUrl(qs(url))); }, false);
}

void QtFrontEnd::setBusy(bool busy) {
  post([this, busy] {
    if (busy) {
      if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
      QApplication::restoreOverrideCursor();
    }
  });
}

void QtFrontEnd::showHelp(const std::string& file, const std::string& page) {
  (void)file;  // one help folder serves the whole program
  post([this, page] {
    if (HelpWindow::instance()->showTopic(qs(page))) return;
    QMessageBox::information(dialogParent(nullptr), QStringLiteral("Pomoc"),
                             QStringLiteral("Brak strony pomocy „%1”.").arg(qs(page)));
  });
}

bool QtFrontEnd::printPreview(const rt::PrintRequest& request) {
  return ask<bool>(
      [this, request] {
        showPrintPreview(dialogParent(request.parent), qs(request.title), qs(request.html));
        return true;
      },
      false);
}

}  // namespace slownik::host
