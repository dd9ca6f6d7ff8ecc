#include "host/start_page.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace slownik::host {
namespace {

QString withoutMnemonic(QString text) {
  text.replace("&&", QChar(0x1));
  text.remove('&');
  text.replace(QChar(0x1), '&');
  return text;
}

}  // namespace

StartPage::StartPage(QMdiArea* workspace, const QList<QMenu*>& menus)
    : QWidget(workspace->viewport()), workspace_(workspace) {
  setObjectName("startPage");
  setAttribute(Qt::WA_StyledBackground, true);
  setStyleSheet("#startPage { background: transparent; } #startPage QLabel { color: white; }"
                "#startPage QGroupBox { color: white; font-weight: bold; }");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  auto* title = new QLabel(tr("Słownik — dane podstawowe"));
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  title->setFont(big);
  layout->addWidget(title);
  auto* hint = new QLabel(tr("Wybierz, od czego zacząć, albo otwórz menu klawiszem Alt. "
                             "Klawisz F1 w każdym oknie pokazuje jego pomoc."));
  hint->setWordWrap(true);
  layout->addWidget(hint);

  auto* grid = new QGridLayout;
  const int columns = 3;
  int placed = 0;
  for (QMenu* menu : menus) {
    QList<QAction*> entries;
    for (QAction* a : menu->actions())
      if (!a->isSeparator() && !a->menu()) entries << a;
    if (entries.isEmpty()) continue;
    auto* box = new QGroupBox(withoutMnemonic(menu->title()));
    auto* inner = new QVBoxLayout(box);
    // The first entries of each menu: the rest are a keystroke away in the menu itself.
    for (QAction* a : entries.mid(0, 6)) {
      auto* button = new QToolButton;
      button->setText(withoutMnemonic(a->text()));
      button->setIcon(a->icon());
      button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      button->setAutoRaise(true);
      button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
      connect(button, &QToolButton::clicked, a, &QAction::trigger);
      inner->addWidget(button);
    }
    grid->addWidget(box, placed / columns, placed % columns, Qt::AlignTop);
    ++placed;
  }
  layout->addLayout(grid);
  layout->addStretch(1);

  workspace_->viewport()->installEventFilter(this);
  connect(workspace_, &QMdiArea::subWindowActivated, this, [this] { QTimer::singleShot(0, this, &StartPage::follow); });
  lower();
  setGeometry(workspace_->viewport()->rect());
  follow();
}

void StartPage::follow() {
  bool any = false;
  for (QMdiSubWindow* sub : workspace_->subWindowList())
    if (sub->isVisible() && !sub->testAttribute(Qt::WA_WState_Hidden)) any = true;
  setVisible(!any);
  if (!any) lower();
}

bool StartPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == workspace_->viewport()) {
    if (event->type() == QEvent::Resize) setGeometry(workspace_->viewport()->rect());
    if (event->type() == QEvent::ChildRemoved || event->type() == QEvent::ChildAdded)
      QTimer::singleShot(0, this, &StartPage::follow);
  }
  return false;
}

}  // namespace slownik::host
