// The host's menus of entry points: document pickers only under "Narzędzia testowe", and
// only when the program was asked for them.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "host/entry_menu.h"

namespace slownik::host {
namespace {

void runNothing() {}

std::vector<EntryPoint> entries() {
  return {{"TYP_DOKUMENTU_HANDLOWEGO_BRW", "Typy dokumentów handlowych", "Dokumenty", "browse", runNothing},
          {"WYBIERZCENEARTYKULU_SLOWNIK", "Wybór ceny artykułu", "Dokumenty", kTestToolKind, runNothing},
          {"ETYKIETA_DOKUMENTU_BRW", "Etykiety dokumentów", "Dokumenty", "browse", runNothing},
          {"KONTRAHENTFORMA_BRW", "Wybór kontrahenta", "Kontrahenci", kTestToolKind, runNothing}};
}

QStringList items(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? "-" : a->text());
  return out;
}

TEST(EntryMenu, DocumentPickersStayOutOfTheMenusUnlessAskedFor) {
  showTestTools(false);
  QMenuBar bar;
  QList<QMenu*> menus = addEntryMenus(&bar, nullptr, entries(), {}, [](const EntryPoint&) {});
  ASSERT_EQ(menus.size(), 1) << "a group of pickers alone makes no menu";
  EXPECT_EQ(items(menus[0]), (QStringList{"&Typy dokumentów handlowych", "&Etykiety dokumentów"}));

  showTestTools(true);
  QMenuBar withTools;
  QStringList started;
  menus = addEntryMenus(&withTools, nullptr, entries(), {},
                        [&](const EntryPoint& e) { started << e.exportName; });
  ASSERT_EQ(menus.size(), 2);
  QStringList documents = items(menus[0]);
  ASSERT_EQ(documents.size(), 4);
  EXPECT_EQ(documents[2], "-");
  EXPECT_EQ(documents[3].remove('&'), "Narzędzia testowe");
  QMenu* tools = menus[0]->actions().at(3)->menu();
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(items(tools), (QStringList{"&Wybór ceny artykułu"}));
  tools->actions().at(0)->trigger();
  EXPECT_EQ(started, (QStringList{"WYBIERZCENEARTYKULU_SLOWNIK"}));
  showTestTools(std::nullopt);
  EXPECT_FALSE(testToolsShown()) << "the test binary was not started with " << kTestToolsParameter;
}

}  // namespace
}  // namespace slownik::host
