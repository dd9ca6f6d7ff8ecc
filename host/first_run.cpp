#include "host/first_run.h"

#include <QStringList>

namespace slownik::host {

QString startNotice(const QString& databaseUrl) {
  QString where = databaseUrl;
  const QString scheme = QStringLiteral("sqlite://");
  if (where.startsWith(scheme)) where = where.mid(scheme.size());
  return QStringLiteral(
             "Słownik: baza danych %1\n"
             "Logowanie do danych przykładowych: użytkownik Admin, hasło puste (pole hasła zostaw puste).\n")
      .arg(where);
}

QString invisiblePlatformNotice(const QString& platformName) {
  const QString platform = platformName.section(':', 0, 0).toLower();
  if (platform != "offscreen" && platform != "minimal") return {};
  return QStringLiteral(
             "Okna programu rysują się na platformie „%1”, której nikt nie widzi: okno logowania czekałoby "
             "w nieskończoność, więc program kończy pracę.\n"
             "Aby zobaczyć okna bez ekranu graficznego, uruchom:\n"
             "  QT_QPA_PLATFORM=vnc:port=5900 make run\n"
             "i połącz się przeglądarką VNC z localhost:5900.\n")
      .arg(platform);
}

}  // namespace slownik::host
