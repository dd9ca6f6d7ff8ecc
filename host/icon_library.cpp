#include "host/icon_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace slownik::host {

QString resourceDir() {
  const QByteArray env = qgetenv("SLOWNIK_RESOURCES");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
#ifdef SLOWNIK_SOURCE_RESOURCES
  if (QFileInfo(SLOWNIK_SOURCE_RESOURCES).isDir()) return QStringLiteral(SLOWNIK_SOURCE_RESOURCES);
#endif
  return QCoreApplication::applicationDirPath() + "/resources";
}

QString iconFileName(std::string_view moduleName) {
  QString name = QString::fromUtf8(moduleName.data(), qsizetype(moduleName.size())).trimmed();
  if (name.startsWith('~')) name.remove(0, 1);  // "~" = from the program's resources
  if (name.isEmpty()) return {};
  const QString lower = name.toLower();
  if (lower.endsWith(".ico") || lower.endsWith(".gif") || lower.endsWith(".png") || lower.endsWith(".bmp"))
    name.chop(4);
  return name + ".svg";
}

IconLibrary& IconLibrary::instance() {
  static IconLibrary library;
  return library;
}

QString IconLibrary::iconPath(std::string_view moduleName) const {
  const QString file = iconFileName(moduleName);
  if (file.isEmpty()) return {};
  QDir dir(resourceDir() + "/icons");
  if (dir.exists(file)) return dir.filePath(file);
  for (const QString& candidate : dir.entryList({"*.svg"}, QDir::Files))
    if (candidate.compare(file, Qt::CaseInsensitive) == 0) return dir.filePath(candidate);
  return {};
}

QIcon IconLibrary::icon(std::string_view moduleName) {
  const QString path = iconPath(moduleName);
  if (path.isEmpty()) return {};
  QMutexLocker lock(&mutex_);
  auto it = cache_.find(path);
  if (it != cache_.end()) return it->second;
  // Drawn once per size here rather than left to Qt's icon engine plugin, so that a
  // broken file is told at once and the icon does not depend on a plugin being installed.
  QIcon icon;
  QSvgRenderer svg(path);
  if (svg.isValid()) {
    for (int size : {16, 20, 24, 32, 48, 64}) {
      QPixmap pixmap(size, size);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      svg.render(&painter);
      painter.end();
      icon.addPixmap(pixmap);
    }
  } else {
    qWarning("Ikona %s: plik SVG jest uszkodzony", qPrintable(path));
  }
  cache_.emplace(path, icon);
  return icon;
}

}  // namespace slownik::host
