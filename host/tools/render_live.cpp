// Draws the module's real windows, with the rows of a fresh demo database, to PNG files
// for people to look at:
//   render_live <output folder> [module file]
// Logs in as "Admin" in the demo company, loads the module, and for every list the module
// offers opens it on its own procedure thread as the host's menu would, waits for its
// rows and grabs it (<EXPORT>.png). Where the list can add or change records, F2 on its
// first row opens the record form, which is grabbed too (<EXPORT>_form.png) and cancelled.
// The empty workspace of the main window (start_page.png) and the help window F1 opens
// on the first list (help_window.png) are drawn too.
// The rate window ("Kursy walut", from the loader "Kursy walut na dziś") is drawn at its
// default size with the rates of the newest quoted day shown (kursy_walut_z_kursami.png).
// The bank-branch import ("Importuj banki z KIR") runs on a small branch file made for the
// demo's banks, and the report it opens is drawn (raport_importu_kir.png).
// Run it offscreen (QT_QPA_PLATFORM=offscreen). Nothing waits forever: a window that does
// not show, fill or close in time is reported and the run goes on; a procedure that never
// returns ends the run with a message and exit code 3.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "framework/data/globals.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "framework/sql/seed.h"
#include "framework/sql/thread_database.h"
#include "host/look.h"
#include "host/database_setup.h"
#include "host/icon_library.h"
#include "host/help_window.h"
#include "host/list_view.h"
#include "host/main_window.h"
#include "host/module_library.h"
#include "host/procedure_launcher.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"
#include "host/session.h"
#include "host/start_page.h"
#include "host/window_driver.h"

#ifdef SLOWNIK_RENDER_KIR_REPORT
#include <fstream>

#include "dictionaries/banking/kir_branch_file_writer.h"
#include "framework/services/program_parameters.h"
#endif

using namespace slownik;
using host::processEventsUntil;

namespace {

void say(const QString& text) { std::printf("%s\n", qPrintable(text)); std::fflush(stdout); }
void complain(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

bool grab(host::QtWindow* w, const QString& file) {
  w->resize(w->size().expandedTo(w->minimumSize()).expandedTo(w->sizeHint()));
  QApplication::processEvents();
  return w->grab().save(file);
}

// The log-in the host's dialog would do for "Admin" in the demo company.
bool logIn(sql::Database& db, host::Session& session) {
  QString error;
  const auto people = host::users(db, &error);
  const host::Choice* admin = host::findUser(people, "Admin");
  if (!admin) {
    complain("Brak użytkownika Admin w bazie demonstracyjnej. " + error);
    return false;
  }
  session.user = *admin;
  for (const host::Choice& c : host::companies(db))
    if (c.id == double(sql::demo::kCompanyId)) session.company = c;
  if (session.company.id == 0) {
    complain("Brak firmy demonstracyjnej w bazie.");
    return false;
  }
  const auto stores = host::warehouses(db, session.company.id);
  if (!stores.empty()) session.warehouse = stores.front();
  const auto desks = host::cashDesks(db, session.company.id);
  if (!desks.empty()) session.cashDesk = desks.front();
  host::applyToGlobals(session, host::baseCurrency(db));
  return true;
}

void reportMessages(host::WindowDriver& driver, const QString& what) {
  for (const QString& m : driver.takeMessages()) complain(what + ": komunikat zamknięty klawiszem Esc — " + m);
}

// Closes a window with Esc, as the user would; a window that stays gets the close box.
bool closeWindow(host::WindowDriver& driver, host::QtWindow* w, const QString& what) {
  const int id = w->window()->id();
  driver.pressKey(w, Qt::Key_Escape);
  if (driver.waitClosed(id)) return true;
  complain(what + ": Esc nie zamknął okna (" + driver.error() + "), zamykam przyciskiem okna");
  w->window()->closeByUser();
  if (driver.waitClosed(id)) return true;
  complain(what + ": okno nie daje się zamknąć");
  return false;
}

// Opens the record form of the list's first row with F2, grabs and cancels it.
int shootForm(host::WindowDriver& driver, host::QtWindow* list, const QString& name, const QDir& out) {
  if (!list->canPerform(host::FrameAction::Change) && !list->canPerform(host::FrameAction::Insert)) return 0;
  list->perform(host::FrameAction::First);
  QApplication::processEvents();
  const auto before = driver.shownIds();
  driver.pressKey(list, Qt::Key_F2);
  host::QtWindow* form = driver.waitForNewWindow(before);
  reportMessages(driver, name + " F2");
  if (!form) {
    complain(name + ": F2 nie otworzył formularza (" + driver.error() + ")");
    return 1;
  }
  int failures = 0;
  processEventsUntil([] { return false; }, 300);  // the form fills its fields
  if (grab(form, out.filePath(name + "_form.png"))) say("  " + name + "_form.png: " + form->windowTitle());
  else ++failures;
  if (!closeWindow(driver, form, name + " (formularz)")) ++failures;
  reportMessages(driver, name + " (formularz)");
  return failures;
}

// F1 in a list: the help window with the list's page.
int shootHelp(host::WindowDriver& driver, host::QtWindow* list, const QDir& out) {
  driver.pressKey(list, Qt::Key_F1);
  if (!processEventsUntil([] { return host::HelpWindow::exists() && host::HelpWindow::instance()->isVisible(); },
                          driver.timeout())) {
    complain("F1: okno pomocy się nie pokazało");
    return 1;
  }
  processEventsUntil([] { return false; }, 300);
  host::HelpWindow* help = host::HelpWindow::instance();
  const bool saved = help->grab().save(out.filePath("help_window.png"));
  if (saved) say(QString("help_window.png: %1 (%2 × %3)").arg(help->windowTitle()).arg(help->width()).arg(help->height()));
  help->close();
  return saved ? 0 : 1;
}

int shootList(host::WindowDriver& driver, host::ProcedureLauncher& launcher, const host::EntryPoint& entry,
              const QDir& out, bool withHelp) {
  const QString name = entry.exportName;
  const auto before = driver.shownIds();
  launcher.start(entry);
  host::QtWindow* w = driver.waitForNewWindow(before);
  reportMessages(driver, name);
  if (!w) {
    complain(name + ": " + driver.error());
    return 1;
  }
  int failures = 0;
  if (!driver.waitForRows(w)) {
    complain(name + ": " + driver.error() + " — rysuję okno takie, jakie jest");
    ++failures;
  }
  processEventsUntil([] { return false; }, 200);  // the rest of the page and the buttons follow
  host::ListView* list = host::WindowDriver::listOf(w);
  const int rows = list ? list->model()->rowCount() : 0;
  if (grab(w, out.filePath(name + ".png"))) say(QString("%1.png: %2 (wierszy: %3)").arg(name, w->windowTitle()).arg(rows));
  else ++failures;
  if (withHelp) failures += shootHelp(driver, w, out);
  failures += shootForm(driver, w, name, out);
  if (!closeWindow(driver, w, name)) ++failures;
  reportMessages(driver, name);
  if (!processEventsUntil([&] { return launcher.runningCount() == 0; }, driver.timeout())) {
    complain(name + ": procedura nie zakończyła się po zamknięciu okna");
    ++failures;
  }
  return failures;
}

// The empty workspace of the main window (start_page.png) and the help window F1 opens
// on the first list (help_window.png) are drawn too.
// The rate window opens on today, which the demo's tables end just before: the tool goes
// back a week, picks the newest day and draws the window at the size it opens with.
int shootRates(host::WindowDriver& driver, host::ProcedureLauncher& launcher, const host::EntryPoint& entry,
               const QDir& out) {
  const auto before = driver.shownIds();
  launcher.start(entry);
  host::QtWindow* w = driver.waitForNewWindow(before);
  reportMessages(driver, entry.exportName);
  if (!w) {
    complain("Kursy walut: " + driver.error());
    return 1;
  }
  int failures = 0;
  rt::Window& rates = *w->window();
  const std::string weekAgo = rt::formatShortDate(rt::today() - 7);
  if (!rates.type("?DATA_FILTR", weekAgo).empty()) ++failures;
  processEventsUntil([&] { return !rates.control("?LIST")->rows.empty(); }, driver.timeout());
  const auto dates = rates.control("?LIST")->rows;
  if (dates.empty()) {
    complain("Kursy walut: brak notowań od " + QString::fromStdString(weekAgo));
    ++failures;
  } else {
    rates.clickRow("?LIST", static_cast<int>(dates.size()));
    processEventsUntil([&] { return !rates.control("?LIST1")->rows.empty(); }, driver.timeout());
  }
  processEventsUntil([] { return false; }, 300);
  // The size the workspace of a 1100 × 720 main window gives a new window.
  w->resize(w->sizeHint().expandedTo(w->minimumSizeHint()).boundedTo(QSize(1080, 620)));
  QApplication::processEvents();
  auto* list = qobject_cast<host::ListView*>(w->widgetFor("?LIST1"));
  const bool scrolls = list && list->horizontalScrollBar()->isVisible();
  const int shown = list ? list->model()->rowCount() : 0;
  if (w->grab().save(out.filePath("kursy_walut_z_kursami.png")))
    say(QString("kursy_walut_z_kursami.png: %1 × %2, kursów: %3, poziomy pasek: %4")
            .arg(w->width()).arg(w->height()).arg(shown).arg(scrolls ? "tak" : "nie"));
  else
    ++failures;
  if (scrolls) {
    complain("Kursy walut: kolumny kursów nie mieszczą się bez przewijania");
    ++failures;
  }
  if (!closeWindow(driver, w, "Kursy walut")) ++failures;
  reportMessages(driver, "Kursy walut");
  if (!processEventsUntil([&] { return launcher.runningCount() == 0; }, driver.timeout())) {
    complain("Kursy walut: procedura nie zakończyła się po zamknięciu okna");
    ++failures;
  }
  return failures;
}

#ifdef SLOWNIK_RENDER_KIR_REPORT
// A branch file with a new bank, one whose name is taken (the import fails to add it) and
// two of the demo's banks as the clearing house now writes them.
int shootKirReport(host::WindowDriver& driver, host::ProcedureLauncher& launcher, const host::EntryPoint& entry,
                   const QDir& out, const QString& folder) {
  using banking::KirBranch;
  const std::vector<KirBranch> branches = {
      {"19900016", "BANK DEMONSTRACYJNY S.A. ODDZIAŁ W", "UL. FLORIAŃSKA 12", "31-019", "KRAKÓW"},
      {"89990003", "BANK SPÓŁDZIELCZY W ŻÓŁKIEWCE", "UL. RYNEK 5A", "22-335", "ŻÓŁKIEWKA"},
      {"10100000", "BANK NOWY S.A. ODDZIAŁ W ŁODZI", "UL. PIOTRKOWSKA 1", "90-001", "ŁÓDŹ"},
  };
  std::ofstream(QDir(folder).filePath("ODDZIALY.DBF").toStdString(), std::ios::binary)
      << banking::writeKirBranchFile(branches, banking::CodePage::Cp852);
  if (svc::USTAWPARAMKONF("s", "KIR_Katalog", folder.toStdString()) != 0) {
    complain("Import z KIR: nie można ustawić katalogu plików");
    return 1;
  }
  const auto before = driver.shownIds();
  launcher.start(entry);
  host::QtWindow* w = nullptr;
  // The summary's messages come first; the driver closes them.
  processEventsUntil([&] {
    for (const QString& m : driver.takeMessages()) say("  import z KIR: " + m);
    for (int id : driver.shownIds())
      if (!before.count(id)) return true;
    return false;
  }, driver.timeout());
  w = driver.waitForNewWindow(before);
  if (!w) {
    complain("Import z KIR: raport się nie pokazał (" + driver.error() + ")");
    return 1;
  }
  int failures = 0;
  driver.waitForRows(w);
  processEventsUntil([] { return false; }, 300);
  w->resize(w->sizeHint().expandedTo(w->minimumSizeHint()).boundedTo(QSize(1080, 620)));
  QApplication::processEvents();
  if (w->grab().save(out.filePath("raport_importu_kir.png")))
    say(QString("raport_importu_kir.png: %1 (%2 × %3)").arg(w->windowTitle()).arg(w->width()).arg(w->height()));
  else
    ++failures;
  if (!closeWindow(driver, w, "Raport importu z KIR")) ++failures;
  reportMessages(driver, "Raport importu z KIR");
  if (!processEventsUntil([&] { return launcher.runningCount() == 0; }, driver.timeout())) {
    complain("Import z KIR: procedura nie zakończyła się po zamknięciu raportu");
    ++failures;
  }
  return failures;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  slownik::host::applyProgramLook(app);  // drawn as the program shows them
  if (argc < 2) {
    complain("użycie: render_live <folder wyjściowy> [plik modułu]");
    return 2;
  }
  // Settings and the database live in a folder of their own, never the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName("slownik-render");
  QApplication::setApplicationName("slownik-render");
  QTemporaryDir tmp;
  if (!tmp.isValid()) {
    complain("Nie można utworzyć folderu tymczasowego.");
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());

  if (sql::Status status = host::prepareDatabase(host::sqliteUrl(tmp.filePath("demo.db"))); !status) {
    complain(QString::fromStdString(status.message()));
    return 1;
  }
  sql::Database* db = sql::threadDatabase();
  host::Session session;
  if (!db || !logIn(*db, session)) return 1;
  data::glo().PATH_INI.set(tmp.filePath("slownik.ini").toStdString());
  data::glo().LOCALPATH.set((host::resourceDir() + "/help").toStdString());

  rt::setResourceRoot(host::resourceDir().toStdString());
  auto frontEnd = std::make_shared<host::QtFrontEnd>();
  rt::setFrontEnd(frontEnd);

  host::ModuleLibrary module;
  const QString modulePath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : host::ModuleLibrary::defaultPath();
  if (!module.load(modulePath)) {
    complain(module.error());
    return 1;
  }

  int shot = 0, failures = 0;
  {
    host::ProcedureLauncher launcher;
    host::WindowDriver driver(*frontEnd);
    for (const host::EntryPoint& entry : module.entryPoints()) {
      if (entry.kind != "browse") continue;
      failures += shootList(driver, launcher, entry, out, shot == 0);
      ++shot;
    }
    for (const host::EntryPoint& entry : module.entryPoints())
      if (entry.exportName == "LADUJWALUTY") failures += shootRates(driver, launcher, entry, out);
#ifdef SLOWNIK_RENDER_KIR_REPORT
    for (const host::EntryPoint& entry : module.entryPoints())
      if (entry.exportName == "IMPORTKIR") failures += shootKirReport(driver, launcher, entry, out, tmp.path());
#endif
    {
      // The frame as a user sees it after logging in, before any window opens.
      host::MainWindow frame(session, module.entryPoints(), &launcher);
      frame.show();
      processEventsUntil([] { return false; }, 300);
      frame.startPage()->follow();
      QApplication::processEvents();
      if (frame.grab().save(out.filePath("start_page.png"))) say("start_page.png: " + frame.windowTitle());
      else ++failures;
    }
    // Nothing answers questions any more; every window still open is asked to close.
    frontEnd->shutDown();
    frontEnd->closeAllWindows();
    if (!processEventsUntil([&] { return launcher.runningCount() == 0; }, driver.timeout())) {
      complain(QString("Procedury nie zakończyły się (%1): przerywam.").arg(launcher.runningCount()));
      std::fflush(nullptr);
      std::_Exit(3);  // joining a thread that never returns would hang the run
    }
    launcher.joinAll();
  }
  module.unload();
  say(QString("Okna list: %1, błędów: %2 (folder %3)").arg(shot).arg(failures).arg(out.path()));
  return failures ? 1 : 0;
}
