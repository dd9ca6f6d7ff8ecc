// Draws every window of every resource file to a PNG, for people to look at:
//   render_windows <output folder> [resource folder]
// Each window is opened as its procedure would open it and drawn as the host draws it
// (offscreen: QT_QPA_PLATFORM=offscreen), with no data in its lists.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <cstdio>

#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "host/look.h"
#include "host/icon_library.h"
#include "host/qt_window.h"

using namespace slownik;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  slownik::host::applyProgramLook(app);  // drawn as the program shows them
  if (argc < 2) {
    std::fprintf(stderr, "użycie: render_windows <folder wyjściowy> [folder zasobów]\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString root = argc > 2 ? QString::fromLocal8Bit(argv[2]) : host::resourceDir();
  rt::setResourceRoot(root.toStdString());
  QDir().mkpath(out);
  int drawn = 0, failed = 0;
  for (const QFileInfo& file : QDir(root + "/windows").entryInfoList({"*.json"}, QDir::Files, QDir::Name)) {
    QFile f(file.filePath());
    if (!f.open(QIODevice::ReadOnly)) continue;
    std::string error;
    auto defs = rt::parseWindowResource(f.readAll().toStdString(), file.fileName().toStdString(), &error);
    if (!defs) {
      std::fprintf(stderr, "%s\n", error.c_str());
      ++failed;
      continue;
    }
    for (rt::WindowDef& def : *defs) {
      def.resource = "slownik$" + file.baseName().toStdString();
      const std::string type = def.type;
      auto window = rt::Window::open(std::move(def));
      if (!window) {
        ++failed;
        continue;
      }
      {
        host::QtWindow widget(window);
        widget.resize(widget.minimumSize().expandedTo(widget.sizeHint()));
        widget.show();
        QApplication::processEvents();
        QString name = file.baseName() + "_" + QString::fromStdString(type).section('$', -1).toLower() + ".png";
        if (widget.grab().save(QDir(out).filePath(name))) ++drawn;
        else ++failed;
      }
      window->close();
    }
  }
  rt::closeThreadWindows();
  std::printf("Narysowano okien: %d, błędów: %d (folder %s)\n", drawn, failed, qPrintable(out));
  return failed ? 1 : 0;
}
