#include "host/look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyleFactory>
#include <QTranslator>

namespace slownik::host {

QPalette programPalette() {
  const QColor window("#e9edf1");
  const QColor text("#1d232a");
  const QColor highlight("#2f74c0");
  QPalette p(window);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::AlternateBase, QColor("#f2f5f8"));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor("#dfe5eb"));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor("#fffbe0"));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Link, highlight);
  p.setColor(QPalette::PlaceholderText, QColor("#7a8591"));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor("#8b949e"));
  p.setColor(QPalette::Disabled, QPalette::Base, window);
  p.setColor(QPalette::Disabled, QPalette::Highlight, QColor("#9aa7b4"));
  return p;
}

bool applyProgramLook(QApplication& app) {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(programPalette());
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  // Kept for the whole run: the application only borrows a translator.
  static QTranslator* qtTexts = nullptr;
  if (qtTexts) return true;
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::Polish, QLocale::Poland), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  qtTexts = translator;
  return true;
}

}  // namespace slownik::host
