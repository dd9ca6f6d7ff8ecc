#pragma once
#include <QIcon>
#include <QMutex>
#include <QString>
#include <map>
#include <string_view>

namespace slownik::host {

//! The folder of the program's resources (windows, icons, help): $SLOWNIK_RESOURCES,
//! else the source tree's resources/ the build came from, else <program folder>/resources.
QString resourceDir();

//! The file name of an icon as the module names it: "~boxon.ico" → "boxon.svg",
//! "Popraw2" → "Popraw2.svg". Empty for an empty name.
QString iconFileName(std::string_view moduleName);

//! Icons by the names the module uses, drawn from resources/icons/*.svg (Qt SVG) and kept once
//! drawn. Ask on the GUI thread: icons are pixmaps.
class IconLibrary {
 public:
  static IconLibrary& instance();
  //! The icon, or a null QIcon when no file has that name (the caller shows no icon).
  QIcon icon(std::string_view moduleName);
  //! The file an icon name resolves to; empty when none. The exact name wins, then
  //! the same name in other letter case ("usun2" finds "Usun2.svg" if it is the only one).
  QString iconPath(std::string_view moduleName) const;

 private:
  QMutex mutex_;
  std::map<QString, QIcon> cache_;
};

}  // namespace slownik::host
