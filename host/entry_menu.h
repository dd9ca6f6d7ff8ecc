#pragma once
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "host/module_library.h"

class QMenu;
class QMenuBar;
class QAction;

namespace slownik::host {

//! The caption with a keyboard mnemonic: the first letter not yet in *used gets "&"
//! (letters compared without case) and is added to *used. An "&" already in the text is
//! kept as the caption's own mnemonic; a caption with no free letter gets none.
QString withMnemonic(const QString& caption, QSet<QChar>* used);

//! The kind of entry points that only make sense from a document (pickers, choosers): the
//! menus leave them out unless the program was started with kTestToolsParameter, and then
//! offer them in a submenu "Narzędzia testowe" at the end of their subsystem's menu.
inline constexpr const char* kTestToolKind = "tool";
inline constexpr const char* kTestToolsParameter = "--narzedzia-testowe";
//! Whether the test tools are offered: the program parameter, unless a test decided.
bool testToolsShown();
//! Decides for the process (tests); std::nullopt goes back to the program parameter.
void showTestTools(std::optional<bool> shown);

//! Adds one menu per subsystem to the bar, before `before` (or at the end when null),
//! in the order the subsystems first appear in the table; within a menu the entries keep
//! the table's order, with a separator where the kind changes. Choosing an entry calls
//! start(entry). `usedMnemonics` holds the letters the bar's other menus already use.
QList<QMenu*> addEntryMenus(QMenuBar* bar, QAction* before, const std::vector<EntryPoint>& entries,
                            QSet<QChar> usedMnemonics, const std::function<void(const EntryPoint&)>& start);

}  // namespace slownik::host
