#include "host/help_window.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "host/icon_library.h"

namespace slownik::host {
namespace {

QPointer<HelpWindow>& shared() {
  static QPointer<HelpWindow> window;
  return window;
}

QString helpDir() { return resourceDir() + "/help"; }

}  // namespace

HelpWindow* HelpWindow::instance() {
  if (!shared()) shared() = new HelpWindow;
  return shared();
}

bool HelpWindow::exists() { return !shared().isNull(); }

QString HelpWindow::pageFile(const QString& topic) {
  const QString name = topic.section('#', 0, 0).trimmed();
  if (name.isEmpty() || name.contains("..")) return {};
  const QString path = helpDir() + "/" + name;
  for (const QString& candidate : {path, path + "l", path.section('.', 0, -2) + ".html", path + ".htm"})
    if (QFileInfo(candidate).isFile()) return candidate;
  return {};
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
  setObjectName("helpWindow");
  setWindowTitle(tr("Pomoc"));
  setWindowIcon(IconLibrary::instance().icon("slownik"));
  // Lives as long as the program: closing only hides it, the next F1 shows it again.
  setAttribute(Qt::WA_DeleteOnClose, false);
  connect(qApp, &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);

  browser_ = new QTextBrowser;
  browser_->setObjectName("helpBrowser");
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({helpDir()});
  // The pages link help.css; set as the default sheet it holds for every page shown.
  QFile css(helpDir() + "/help.css");
  if (css.open(QIODevice::ReadOnly)) browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

  auto* back = new QPushButton(tr("&Wstecz"));
  auto* contents = new QPushButton(tr("&Spis treści"));
  auto* close = new QPushButton(tr("&Zamknij"));
  back->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { showTopic(kContentsPage); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Pomoc") : tr("Pomoc — %1").arg(title));
  });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  auto* bar = new QHBoxLayout;
  bar->addWidget(back);
  bar->addWidget(contents);
  bar->addStretch(1);
  bar->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);
  resize(760, 600);
}

bool HelpWindow::showTopic(const QString& topic) {
  const QString file = pageFile(topic);
  if (file.isEmpty()) return false;
  QUrl url = QUrl::fromLocalFile(file);
  if (topic.contains('#')) url.setFragment(topic.section('#', 1));
  if (browser_->source() == url) browser_->reload();
  else browser_->setSource(url);
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  return true;
}

}  // namespace slownik::host
