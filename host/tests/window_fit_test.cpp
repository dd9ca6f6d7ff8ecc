// Every list window fits the workspace of a main window 1100 pixels wide: its buttons
// share the lines they need and its list scrolls, so no window opens cut off.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLayout>

#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "host/icon_library.h"
#include "host/qt_window.h"

namespace slownik::host {
namespace {

constexpr int kWorkspaceWidth = 1100;

TEST(WindowsFit, NoListWindowNeedsMoreThanTheWorkspaceWidth) {
  const QString root = resourceDir();
  rt::setResourceRoot(root.toStdString());
  int checked = 0;
  for (const QFileInfo& file : QDir(root + "/windows").entryInfoList({"*.json"}, QDir::Files, QDir::Name)) {
    QFile f(file.filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    std::string error;
    auto defs = rt::parseWindowResource(f.readAll().toStdString(), file.fileName().toStdString(), &error);
    ASSERT_TRUE(defs) << error;
    for (rt::WindowDef& def : *defs) {
      if (def.type != "P1$BROWSEWINDOW") continue;
      def.resource = "slownik$" + file.baseName().toStdString();
      auto window = rt::Window::open(std::move(def));
      ASSERT_TRUE(window) << file.fileName().toStdString();
      {
        QtWindow widget(window);
        const int needed = std::max(widget.minimumSize().width(), widget.minimumSizeHint().width());
        EXPECT_LE(needed, kWorkspaceWidth) << file.fileName().toStdString() << " \"" << window->title() << "\"";
        ++checked;
      }
      window->close();
    }
  }
  rt::closeThreadWindows();
  EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace slownik::host
