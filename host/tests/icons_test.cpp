#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QPainter>
#include <QSvgRenderer>

#include "host/icon_library.h"

namespace slownik::host {
namespace {

// Every icon name the module's windows, lists and popups use, as they write it.
const char* const kModuleIcons[] = {
    "~32redchk.ico", "boxoff.ico", "boxon.ico", "cut.ico", "epit.ico", "filtrno.ico", "filtryes.ico",
    "folder.ico", "ie.ico", "~malejaco.ico", "paste.ico", "refresh2.ico", "~rosnaco.ico", "rozlacz.ico",
    "sendmail.ico", "trm a.ico", "trm.ico", "usun2.ico", "zalaczniki.ico", "~Popraw2.ico", "~Usun2.ico",
    "~_konfkol.ico", "~dodaj2.ico", "~export.ico", "~gg.ico", "~import.ico", "~pusta.ico", "~skype.ico",
    "gears.gif",
    // the frame's own
    "wybierz", "pierwszy", "poprzedni", "nastepny", "ostatni", "zakoncz", "slownik"};

QImage rendered(QSvgRenderer& svg, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg.render(&painter);
  return image;
}

bool hasPaint(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) return true;
  return false;
}

TEST(Icons, ModuleNamesMapToFileNames) {
  struct Row {
    const char* name;
    const char* file;
  } rows[] = {
      {"~boxon.ico", "boxon.svg"}, {"boxon.ico", "boxon.svg"}, {"trm a.ico", "trm a.svg"},
      {"gears.gif", "gears.svg"},  {"Popraw2", "Popraw2.svg"}, {"~Usun2.ICO", "Usun2.svg"},
      {"  ~x.ico ", "x.svg"},      {"", ""},                   {"~", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(iconFileName(r.name), QString(r.file)) << r.name;
}

TEST(Icons, EveryIconTheProgramNamesIsDrawn) {
  for (const char* name : kModuleIcons) {
    const QString path = IconLibrary::instance().iconPath(name);
    ASSERT_FALSE(path.isEmpty()) << "no file for " << name;
    QSvgRenderer svg(path);
    ASSERT_TRUE(svg.isValid()) << name;
    const bool blank = QString(name).contains("pusta");
    EXPECT_EQ(hasPaint(rendered(svg, 16)), !blank) << name;
    const QIcon icon = IconLibrary::instance().icon(name);
    ASSERT_FALSE(icon.isNull()) << name;
    // The library's own pixmaps carry the drawing, at the sizes the frame asks for.
    EXPECT_EQ(hasPaint(icon.pixmap(16, 16).toImage()), !blank) << name;
    EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32)) << name;
  }
  // "usun2" and "Usun2" are two drawings; both are found by their exact names.
  EXPECT_TRUE(IconLibrary::instance().iconPath("usun2.ico").endsWith("/usun2.svg"));
  EXPECT_TRUE(IconLibrary::instance().iconPath("~Usun2.ico").endsWith("/Usun2.svg"));
  EXPECT_TRUE(IconLibrary::instance().icon("~nie_ma_takiej.ico").isNull());
}

TEST(Icons, EveryFileInTheFolderIsListedInItsReadme) {
  QDir dir(resourceDir() + "/icons");
  QFile readme(dir.filePath("README.md"));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(readme.readAll());
  for (const QString& file : dir.entryList({"*.svg"}, QDir::Files))
    EXPECT_TRUE(text.contains("`" + file + "`")) << file.toStdString();
}

TEST(Icons, ABrokenFileGivesNoIcon) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir(dir.path()).mkpath("icons");
  QFile broken(dir.filePath("icons/zepsuta.svg"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("<svg viewBox=\"0 0 16 16\"><rect");
  broken.close();
  const QByteArray before = qgetenv("SLOWNIK_RESOURCES");
  qputenv("SLOWNIK_RESOURCES", dir.path().toLocal8Bit());
  const QIcon icon = IconLibrary::instance().icon("~zepsuta.ico");
  qputenv("SLOWNIK_RESOURCES", before);
  EXPECT_FALSE(IconLibrary::instance().iconPath("~zepsuta.ico").endsWith("zepsuta.svg"));
  EXPECT_TRUE(icon.isNull() || icon.availableSizes().isEmpty());
}

}  // namespace
}  // namespace slownik::host
