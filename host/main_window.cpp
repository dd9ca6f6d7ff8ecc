#include "host/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QKeyEvent>
#include <QPointer>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include "host/entry_menu.h"
#include "host/frame_toolbar.h"
#include "host/help_window.h"
#include "host/icon_library.h"
#include "host/procedure_launcher.h"
#include "host/start_page.h"

namespace slownik::host {
namespace {

QString orNone(const Choice& c) { return c.id != 0 ? c.name : QStringLiteral("(brak)"); }

}  // namespace

MainWindow::MainWindow(const Session& session, const std::vector<EntryPoint>& entries, ProcedureLauncher* launcher,
                       QWidget* parent)
    : QMainWindow(parent), launcher_(launcher) {
  setWindowIcon(IconLibrary::instance().icon("slownik"));

  workspace_ = new QMdiArea;
  workspace_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  workspace_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  workspace_->setBackground(QColor("#5f7489"));
  setCentralWidget(workspace_);

  toolBar_ = new FrameToolBar(this);
  addToolBar(toolBar_);
  connect(workspace_, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* w) { toolBar_->setTarget(w ? w->widget() : nullptr); });

  QMenu* file = menuBar()->addMenu(tr("&Plik"));
  QAction* quit = file->addAction(IconLibrary::instance().icon("zakoncz"), tr("&Zakończ"), this, &QWidget::close);
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  windowsMenu_ = menuBar()->addMenu(tr("&Okna"));
  windowsMenu_->setObjectName("windowsMenu");
  windowsMenu_->addAction(tr("&Kaskadowo"), workspace_, &QMdiArea::cascadeSubWindows);
  windowsMenu_->addAction(tr("&Sąsiadująco"), workspace_, &QMdiArea::tileSubWindows);
  QAction* next = windowsMenu_->addAction(tr("&Następne okno"), workspace_, &QMdiArea::activateNextSubWindow);
  next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
  QAction* previous = windowsMenu_->addAction(tr("&Poprzednie okno"), workspace_, &QMdiArea::activatePreviousSubWindow);
  previous->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
  // The open windows follow, numbered, the active one ticked.
  connect(windowsMenu_, &QMenu::aboutToShow, this, &MainWindow::listOpenWindows);

  QMenu* help = menuBar()->addMenu(tr("Pomo&c"));
  QAction* contents = help->addAction(tr("&Spis treści"), this, &MainWindow::showHelpContents);
  contents->setObjectName("helpContents");
  contents->setShortcut(QKeySequence(Qt::Key_F1));
  help->addAction(tr("&O programie"), this, &MainWindow::showAbout);

  // The module's menus go between "Plik" and "Okno"; their letters avoid P, O and C.
  entryMenus_ = addEntryMenus(menuBar(), windowsMenu_->menuAction(), entries, {'p', 'o', 'c'},
                              [this](const EntryPoint& e) {
                                statusBar()->showMessage(tr("Otwieram: %1").arg(e.caption), 3000);
                                launcher_->start(e);
                              });

  company_ = addStatusField("statusCompany");
  user_ = addStatusField("statusUser");
  warehouse_ = addStatusField("statusWarehouse");
  cashDesk_ = addStatusField("statusCashDesk");
  showSession(session);
  if (entries.empty()) statusBar()->showMessage(tr("Moduł nie udostępnia jeszcze żadnych okien."));

  connect(launcher_, &ProcedureLauncher::finished, this, [this](const QString& name, const QString& failure) {
    if (failure.isEmpty()) return;
    // Not modal: the other windows keep working while the user reads it.
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Błąd procedury"),
                                tr("Procedura %1 zakończyła się błędem:\n%2").arg(name, failure), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName("procedureFailure");
    box->show();
  });
  resize(1100, 720);
  startPage_ = new StartPage(workspace_, entryMenus_);
  // Alt pressed and let go alone opens the menu bar, wherever the keyboard is in the frame.
  qApp->installEventFilter(this);
}

void MainWindow::listOpenWindows() {
  for (QAction* a : windowActions_) {
    windowsMenu_->removeAction(a);
    a->deleteLater();
  }
  windowActions_.clear();
  const QList<QMdiSubWindow*> open = workspace_->subWindowList();
  if (open.isEmpty()) return;
  windowActions_ << windowsMenu_->addSeparator();
  int number = 0;
  for (QMdiSubWindow* sub : open) {
    ++number;
    QString title = sub->windowTitle();
    title.replace('&', "&&");
    QAction* a = windowsMenu_->addAction(number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                                      : QStringLiteral("%1 %2").arg(number).arg(title));
    a->setCheckable(true);
    a->setChecked(sub == workspace_->activeSubWindow());
    QPointer<QMdiSubWindow> target = sub;
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) workspace_->setActiveSubWindow(target);
    });
    windowActions_ << a;
  }
}

void MainWindow::showHelpContents() {
  if (!HelpWindow::instance()->showTopic(HelpWindow::kContentsPage))
    statusBar()->showMessage(tr("Brak spisu treści pomocy w folderze zasobów."), 5000);
}

void MainWindow::showAsLastTime() {
  QSettings settings;
  const QByteArray geometry = settings.value("okno_glowne/geometria").toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    // The first start uses the whole screen: the lists need the room.
    showMaximized();
    return;
  }
  restoreState(settings.value("okno_glowne/stan").toByteArray());
  show();
}

void MainWindow::storePlacement() const {
  QSettings settings;
  settings.setValue("okno_glowne/geometria", saveGeometry());
  settings.setValue("okno_glowne/stan", saveState());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || w->window() != this) return false;
  if (type == QEvent::MouseButtonPress) {
    altAlone_ = false;
    return false;
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat()) return false;
  const bool alt = key->key() == Qt::Key_Alt && !(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
  if (type == QEvent::KeyPress) {
    altAlone_ = alt;
    return false;
  }
  if (alt && altAlone_) {
    altAlone_ = false;
    // Delivered once to each widget up the chain: the first one opens the menu.
    if (!menuBar()->activeAction() && !menuBar()->actions().isEmpty())
      QTimer::singleShot(0, this, [this] {
        if (!menuBar()->activeAction()) menuBar()->setActiveAction(menuBar()->actions().first());
      });
  }
  return false;
}

QLabel* MainWindow::addStatusField(const char* objectName) {
  auto* label = new QLabel;
  label->setObjectName(objectName);
  label->setContentsMargins(6, 0, 6, 0);
  statusBar()->addPermanentWidget(label);
  return label;
}

void MainWindow::showSession(const Session& session) {
  setWindowTitle(tr("Słownik — %1").arg(session.company.name));
  company_->setText(tr("Firma: %1").arg(orNone(session.company)));
  user_->setText(tr("Użytkownik: %1").arg(orNone(session.user)));
  warehouse_->setText(tr("Magazyn: %1").arg(orNone(session.warehouse)));
  cashDesk_->setText(tr("Kasa: %1").arg(orNone(session.cashDesk)));
}

void MainWindow::showAbout() {
  QMessageBox::about(this, tr("O programie"),
                     tr("<b>Słownik</b><br>Dane podstawowe systemu magazynowo-handlowego: stawki VAT, waluty, "
                        "banki, firmy, magazyny, typy dokumentów i inne słowniki.<br><br>%1")
                         .arg(moduleDescription_.toHtmlEscaped()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  storePlacement();
  if (launcher_->runningCount() == 0) {
    event->accept();
    return;
  }
  // The module's windows run on their own threads; ask them to close and give them a
  // moment to store their settings, but never leave a thread running under an unloaded module.
  // Asked again while waiting: closing a form makes the list under it active, and that
  // one can only be asked once it is.
  QDeadlineTimer deadline(5000);
  while (launcher_->runningCount() > 0 && !deadline.hasExpired()) {
    if (closeWindows_) closeWindows_();
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  if (launcher_->runningCount() > 0) {
    QMessageBox::information(this, tr("Zakończenie programu"),
                             tr("Otwarte okna wciąż pracują (%1). Zamknij je, a potem zakończ program.")
                                 .arg(launcher_->runningCount()));
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace slownik::host
