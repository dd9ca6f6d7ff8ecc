#include "host/entry_menu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <atomic>

namespace slownik::host {
namespace {

// -1: the program parameter decides; 0 or 1: a test did.
std::atomic<int> testToolsChoice{-1};

bool isTestTool(const EntryPoint& e) { return e.kind == QLatin1String(kTestToolKind); }

void addEntry(QMenu* menu, const EntryPoint& e, QSet<QChar>* used,
              const std::function<void(const EntryPoint&)>& start) {
  QAction* act = menu->addAction(withMnemonic(e.caption, used));
  act->setData(e.exportName);
  act->setStatusTip(e.caption);  // the procedure's own name means nothing to the user
  QObject::connect(act, &QAction::triggered, menu, [start, e] { start(e); });
}

}  // namespace

bool testToolsShown() {
  int choice = testToolsChoice.load();
  if (choice >= 0) return choice == 1;
  return QCoreApplication::instance() &&
         QCoreApplication::arguments().contains(QLatin1String(kTestToolsParameter));
}

void showTestTools(std::optional<bool> shown) { testToolsChoice = shown ? (*shown ? 1 : 0) : -1; }

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
  const bool tools = testToolsShown();
  for (const EntryPoint& e : entries) {
    if (isTestTool(e) && !tools) continue;
    const QString group = e.subsystem.isEmpty() ? QStringLiteral("Inne") : e.subsystem;
    if (!subsystems.contains(group)) subsystems << group;
  }
  for (const QString& group : subsystems) {
    auto* menu = new QMenu(withMnemonic(group, &usedMnemonics), bar);
    QSet<QChar> used;
    QString lastKind;
    bool first = true;
    QMenu* toolMenu = nullptr;
    QSet<QChar> toolMnemonics;
    for (const EntryPoint& e : entries) {
      const QString g = e.subsystem.isEmpty() ? QStringLiteral("Inne") : e.subsystem;
      if (g != group) continue;
      if (isTestTool(e)) {
        if (!tools) continue;
        if (!toolMenu) toolMenu = new QMenu(QStringLiteral("Narzędzia testowe"), menu);
        addEntry(toolMenu, e, &toolMnemonics, start);
        continue;
      }
      if (!first && e.kind != lastKind) menu->addSeparator();
      first = false;
      lastKind = e.kind;
      addEntry(menu, e, &used, start);
    }
    if (toolMenu) {
      if (!first) menu->addSeparator();
      toolMenu->setTitle(withMnemonic(toolMenu->title(), &used));
      menu->addMenu(toolMenu);
    }
    bar->insertMenu(before, menu);
    menus << menu;
  }
  return menus;
}

}  // namespace slownik::host
