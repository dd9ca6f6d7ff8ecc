#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "host/icon_library.h"
#include "host/svg_icon.h"

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
    SvgIcon svg = SvgIcon::fromFile(path);
    ASSERT_TRUE(svg.isValid()) << name << ": " << svg.error().toStdString();
    const bool blank = QString(name).contains("pusta");
    EXPECT_EQ(hasPaint(svg.render(16).toImage()), !blank) << name;
    EXPECT_FALSE(IconLibrary::instance().icon(name).isNull()) << name;
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

TEST(SvgIconDrawing, ShapesLandWhereTheViewBoxPutsThem) {
  SvgIcon icon(R"(<svg viewBox="0 0 16 16"><g fill="#ff0000"><rect x="0" y="0" width="8" height="16"/></g>
                 <circle cx="12" cy="8" r="2" fill="#0000ff"/></svg>)");
  ASSERT_TRUE(icon.isValid()) << icon.error().toStdString();
  QImage img = icon.render(32).toImage();
  EXPECT_EQ(QColor(img.pixel(4, 16)), QColor("#ff0000"));   // inside the rectangle (scaled ×2)
  EXPECT_EQ(QColor(img.pixel(24, 16)), QColor("#0000ff"));  // the circle's centre
  EXPECT_EQ(qAlpha(img.pixel(20, 2)), 0);                   // nothing drawn there
}

TEST(SvgIconDrawing, StrokesInheritFromGroupsAndNoneMeansNone) {
  SvgIcon icon(R"(<svg viewBox="0 0 16 16"><g stroke="#00ff00" stroke-width="4" fill="none">
                 <line x1="0" y1="8" x2="16" y2="8"/><rect x="2" y="2" width="4" height="4" stroke="none"/></g></svg>)");
  ASSERT_TRUE(icon.isValid()) << icon.error().toStdString();
  QImage img = icon.render(16).toImage();
  EXPECT_EQ(QColor(img.pixel(8, 8)), QColor("#00ff00"));
  EXPECT_EQ(qAlpha(img.pixel(4, 4)), 0);
}

TEST(SvgIconDrawing, RefusesWhatItCannotDraw) {
  struct Row {
    const char* svg;
    const char* error;
  } rows[] = {
      {R"(<svg viewBox="0 0 16 16"><text x="1" y="1">A</text></svg>)", "nieobsługiwany element: text"},
      {R"(<svg viewBox="0 0 16 16"><path d="M1 1 A 2 2 0 0 1 5 5"/></svg>)", "nieobsługiwane dane ścieżki"},
      {R"(<svg viewBox="0 0 16 16"><rect fill="nijaki" width="2" height="2"/></svg>)", "zły kolor wypełnienia"},
      {R"(<svg viewBox="0 0 16 16"><polygon points="1,1"/></svg>)", "za mało punktów"},
      {R"(<svg viewBox="0 0 16 16"><rect></svg>)", ""},  // not well-formed XML
      {R"(<html/>)", "nieobsługiwany element: html"},
      {"", ""},  // no document at all
  };
  for (const Row& r : rows) {
    SvgIcon icon(r.svg);
    EXPECT_FALSE(icon.isValid()) << r.svg;
    EXPECT_TRUE(icon.error().contains(QString::fromUtf8(r.error))) << r.svg << " → " << icon.error().toStdString();
    EXPECT_FALSE(hasPaint(icon.render(16).toImage())) << r.svg;
  }
}

TEST(SvgIconDrawing, PathDataAbsoluteAndRelative) {
  struct Row {
    const char* d;
    bool ok;
    QPointF end;
  } rows[] = {
      {"M1 2 L3 4", true, {3, 4}},
      {"M1 2 l3 4", true, {4, 6}},
      {"M1 2 H5 V7", true, {5, 7}},
      {"m1 2 h3 v-1", true, {4, 1}},
      {"M1,2 3,4 5,6", true, {5, 6}},            // pairs after M are line-tos
      {"M0 0 C1 1 2 2 3-3", true, {3, -3}},     // a minus sign separates numbers
      {"M0 0 Q1 1 .5.5", true, {0.5, 0.5}},     // so does a second decimal point
      {"M0 0 L1 1 Z", true, {0, 0}},
      {"L1 1", true, {1, 1}},
      {"M0 0 L1", false, {}},
      {"1 2", false, {}},
      {"M0 0 S1 1 2 2", false, {}},
  };
  for (const Row& r : rows) {
    QPainterPath path;
    EXPECT_EQ(parsePathData(r.d, &path), r.ok) << r.d;
    if (r.ok) {
      EXPECT_EQ(path.currentPosition(), r.end) << r.d;
    }
  }
}

}  // namespace
}  // namespace slownik::host
