#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTextStream>
#include <cstdio>
#include <thread>

#include "framework/data/globals.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/window_resource.h"
#include "framework/sql/postgres_database.h"
#include "framework/sql/thread_database.h"
#include "host/database_setup.h"
#include "host/first_run.h"
#include "host/icon_library.h"
#include "host/login_dialog.h"
#include "host/look.h"
#include "host/main_window.h"
#include "host/module_library.h"
#include "host/procedure_launcher.h"
#include "host/frame_toolbar.h"
#include "host/qt_front_end.h"

using namespace slownik;

int main(int argc, char** argv) {
  // Migrating is a job for a server's console, without a screen to show windows on.
  const bool migrateOnly = [&] {
    for (int i = 1; i < argc; ++i)
      if (QByteArray(argv[i]) == "--migrate") return true;
    return false;
  }();
  if (migrateOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setOrganizationName("slownik");
  QApplication::setApplicationName("slownik");
  QApplication::setApplicationDisplayName("Słownik");
  QApplication::setWindowIcon(host::IconLibrary::instance().icon("slownik"));
  if (!host::applyProgramLook(app))
    qWarning("Brak polskich tłumaczeń Qt (pakiet qt6-translations-l10n): okna dialogowe Qt będą po angielsku.");

  QCommandLineParser parser;
  parser.setApplicationDescription("Słownik — dane podstawowe systemu magazynowo-handlowego");
  parser.addHelpOption();
  QCommandLineOption dbOption("db",
                              "Adres bazy danych: sqlite:///ścieżka/plik.db lub postgresql://użytkownik@host:port/baza"
                              "[?sslmode=…&service=…] (hasło w ~/.pgpass, pliku usług lub PGPASSWORD).",
                              "URL");
  QCommandLineOption demoOption("demo", "Wpisuje dane demonstracyjne do pustej bazy wskazanej przez --db.");
  QCommandLineOption migrateOption("migrate",
                                   "Tylko aktualizuje schemat bazy wskazanej przez --db (jako właściciel bazy) i kończy.");
  QCommandLineOption moduleOption("module", "Plik modułu (domyślnie libslownik.so obok programu).", "plik");
  QCommandLineOption loginOption("login", "Użytkownik podpowiadany przy logowaniu.", "nazwa");
  parser.addOptions({dbOption, demoOption, migrateOption, moduleOption, loginOption});
  parser.process(app);

  // The embedded file of this user is the demo; a database named with --db is an
  // office's own and gets demo data only when asked for it.
  const std::string url = parser.isSet(dbOption) ? parser.value(dbOption).toStdString()
                                                 : host::sqliteUrl(host::defaultDatabaseFile());
  const host::StartData data =
      !parser.isSet(dbOption) || parser.isSet(demoOption) ? host::StartData::Demo : host::StartData::Office;
  const QString invisible = host::invisiblePlatformNotice(QGuiApplication::platformName());
  if (parser.isSet(migrateOption) || !invisible.isEmpty()) {
    sql::Status prepared = host::prepareDatabase(url, data);
    if (parser.isSet(migrateOption)) {
      QTextStream(prepared ? stdout : stderr)
          << QString::fromStdString(prepared ? "Schemat bazy danych jest aktualny: " + sql::maskedUrl(url)
                                             : prepared.message())
          << Qt::endl;
      return prepared ? 0 : 1;
    }
    std::fputs((prepared ? host::startNotice(QString::fromStdString(sql::maskedUrl(url)))
                         : QString::fromStdString(prepared.message() + "\n"))
                   .toLocal8Bit()
                   .constData(),
               stderr);
    std::fputs(invisible.toLocal8Bit().constData(), stderr);
    return 3;
  }

  const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dataDir);
  data::glo().PATH_INI.set(QDir(dataDir).filePath("slownik.ini").toStdString());
  data::glo().LOCALPATH.set((host::resourceDir() + "/help").toStdString());

  // The log-in dialog shows at once; the connection, the schema check and the dialog's
  // lists come from another thread meanwhile, so that on a remote link the user types the
  // password while the server answers instead of before.
  host::LoginDialog login;
  if (parser.isSet(loginOption)) login.selectUser(parser.value(loginOption));
  std::string failure;
  std::thread preparing([&login, &failure, url, data] {
    sql::Status prepared = host::prepareDatabase(url, data);
    host::LoginData loginData;
    sql::Status opened;
    if (prepared) {
      if (sql::Database* db = sql::threadDatabase(&opened))
        loginData = host::readLoginData(*db);
      else
        loginData.error = QString::fromStdString(opened.message());
    }
    sql::releaseThreadDatabase();  // the dialog's thread takes this connection over
    QMetaObject::invokeMethod(
        &login,
        [&login, &failure, prepared, loginData = std::move(loginData)]() mutable {
          sql::Status opened;
          sql::Database* db = prepared ? sql::threadDatabase(&opened) : nullptr;
          if (!db) {
            failure = prepared ? "Nie można otworzyć bazy danych: " + opened.message() : prepared.message();
            login.reject();
            return;
          }
          login.showData(*db, std::move(loginData));
        },
        Qt::QueuedConnection);
  });
  std::fputs(host::startNotice(QString::fromStdString(sql::maskedUrl(url))).toLocal8Bit().constData(), stderr);
  const int answer = login.exec();
  preparing.join();
  if (!failure.empty()) {
    QMessageBox::critical(nullptr, "Słownik", QString::fromStdString(failure));
    return 1;
  }
  if (answer != QDialog::Accepted) return 0;
  sql::Database* db = sql::threadDatabase();
  const host::Session session = login.session();
  host::applyToGlobals(session, login.baseCurrency());

  // The front-end is in place before the module starts, so that its first window shows.
  rt::setResourceRoot(host::resourceDir().toStdString());
  auto frontEnd = std::make_shared<host::QtFrontEnd>();
  rt::setFrontEnd(frontEnd);

  host::ModuleLibrary module;
  const QString modulePath = parser.isSet(moduleOption) ? parser.value(moduleOption) : host::ModuleLibrary::defaultPath();
  if (!module.load(modulePath))
    QMessageBox::warning(nullptr, "Słownik", module.error() + "\n\nProgram działa bez okien modułu.");

  int result = 0;
  {
    host::ProcedureLauncher launcher;
    host::MainWindow window(session, module.entryPoints(), &launcher);
    window.setModuleDescription(module.isLoaded()
                                    ? QString("Moduł: %1 (%2 procedur)").arg(modulePath).arg(module.entryPoints().size())
                                    : module.error());
    frontEnd->setWorkspace(window.workspace());
    window.setCloseWindows([frontEnd] { frontEnd->closeAllWindows(); });
    QObject::connect(frontEnd.get(), &host::QtFrontEnd::windowChanged, window.frameToolBar(),
                     &host::FrameToolBar::refresh);
    // A list may have moved the program to another company; the frame shows where it works.
    host::Session shown = session;
    QObject::connect(&launcher, &host::ProcedureLauncher::finished, &window, [&window, &shown, db] {
      host::Session now = host::sessionFromGlobals(*db, shown);
      if (now.company.id == shown.company.id && now.warehouse.id == shown.warehouse.id &&
          now.cashDesk.id == shown.cashDesk.id)
        return;
      shown = now;
      window.showSession(shown);
    });
    window.showAsLastTime();
    result = app.exec();
    // Nothing answers the threads' questions any more: they get the default answers.
    frontEnd->shutDown();
    frontEnd->closeAllWindows();
    launcher.joinAll();
  }
  module.unload();
  return result;
}
