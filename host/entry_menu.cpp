#include "host/entry_menu.h"

#include <QMenu>
#include <QMenuBar>

namespace slownik::host {

QString withMnemonic(const QString& caption, QSet<QChar>* used) {
  const int own = caption.indexOf('&');
  if (own >= 0 && own + 1 < caption.size() && caption[own + 1] != '&') {
    used->insert(caption[own + 1].toLower());
    return caption;
  }
  for (int i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i].toLower();
    if (!c.isLetterOrNumber() || used->contains(c)) continue;
    used->insert(c);
    QString out = caption;
    out.insert(i, '&');
    return out;
  }
  return caption;
}

QList<QMenu*> addEntryMenus(QMenuBar* bar, QAction* before, const std::vector<EntryPoint>& entries,
                            QSet<QChar> usedMnemonics, const std::function<void(const EntryPoint&)>& start) {
  QList<QMenu*> menus;
  QList<QString> subsystems;
  for (const EntryPoint& e : entries) {
    const QString group = e.subsystem.isEmpty() ? QStringLiteral("Inne") : e.subsystem;
    if (!subsystems.contains(group)) subsystems << group;
  }
  for (const QString& group : subsystems) {
    auto* menu = new QMenu(withMnemonic(group, &usedMnemonics), bar);
    QSet<QChar> used;
    QString lastKind;
    bool first = true;
    for (const EntryPoint& e : entries) {
      const QString g = e.subsystem.isEmpty() ? QStringLiteral("Inne") : e.subsystem;
      if (g != group) continue;
      if (!first && e.kind != lastKind) menu->addSeparator();
      first = false;
      lastKind = e.kind;
      QAction* act = menu->addAction(withMnemonic(e.caption, &used));
      act->setData(e.exportName);
      act->setStatusTip(e.exportName);
      QObject::connect(act, &QAction::triggered, menu, [start, e] { start(e); });
    }
    bar->insertMenu(before, menu);
    menus << menu;
  }
  return menus;
}

}  // namespace slownik::host
