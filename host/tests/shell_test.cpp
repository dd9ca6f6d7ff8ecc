#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "framework/data/globals.h"
#include "framework/sql/seed.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"
#include "host/database_setup.h"
#include "host/entry_menu.h"
#include "host/frame_toolbar.h"
#include "host/login_dialog.h"
#include "host/main_window.h"
#include "host/module_library.h"
#include "host/password.h"
#include "host/procedure_launcher.h"
#include "host/session.h"
#include "slownik/entry_points.h"
#include "support/backends.h"

namespace slownik::host {
namespace {

std::string scalarOf(sql::Database& db, const std::string& statement) {
  sql::Result r;
  sql::Status s = db.execute(statement, &r);
  EXPECT_TRUE(s.isOk()) << s.message();
  return r.scalar();
}

// The first start: the database file does not exist, nor does its folder.
TEST(HostStart, CreatesMigratesAndSeedsAFreshSqliteFileOnce) {
  QTemporaryDir tmp;
  const QString file = tmp.filePath("nowy/folder/slownik.db");
  const std::string url = sqliteUrl(file);
  ASSERT_EQ(url.rfind("sqlite:///", 0), 0u) << url;

  sql::Status status = prepareDatabase(url);
  ASSERT_TRUE(status.isOk()) << status.message();
  EXPECT_TRUE(QFileInfo::exists(file));
  sql::Database* db = sql::threadDatabase();
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(scalarOf(*db, "select IDENTYFIKATOR from UZYTKOWNIK where ID_UZYTKOWNIKA=6100003"), "Admin");
  const std::string companies = scalarOf(*db, "select count(*) from FIRMA");

  // Every later start finds its data and adds nothing.
  status = prepareDatabase(url);
  ASSERT_TRUE(status.isOk()) << status.message();
  EXPECT_EQ(scalarOf(*sql::threadDatabase(), "select count(*) from FIRMA"), companies);
  sql::closeThreadDatabase();
}

TEST(HostStart, ReportsADatabaseThatCannotBeOpenedWithoutEndingTheProcess) {
  sql::Status status = prepareDatabase("postgresql://nikt@127.0.0.1:1/brak");
  EXPECT_FALSE(status.isOk());
  EXPECT_NE(status.message().find("Nie można otworzyć bazy danych"), std::string::npos) << status.message();
  status = prepareDatabase("sqlite:///proc/nie/wolno/tu/slownik.db");
  EXPECT_FALSE(status.isOk());
  sql::closeThreadDatabase();
}

class LoginData : public test::DatabaseTest {
 protected:
  void SetUp() override {
    test::DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    sql::Status seeded = sql::seedDemo(db());
    ASSERT_TRUE(seeded.isOk()) << seeded.message();
    QSettings().clear();
  }
};

TEST_P(LoginData, OffersTheUsersCompaniesWarehousesAndCashDesksOfTheDatabase) {
  QString error;
  auto people = users(db(), &error);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  const Choice* admin = findUser(people, "admin");
  ASSERT_NE(admin, nullptr);
  EXPECT_EQ(admin->id, 6100003.0);
  EXPECT_EQ(findUser(people, "  Admin "), admin);
  EXPECT_EQ(findUser(people, "Nieznany"), nullptr);

  auto firms = companies(db(), &error);
  ASSERT_FALSE(firms.empty()) << error.toStdString();
  for (const Choice& c : firms) EXPECT_GT(c.id, 0) << "placeholder company offered: " << c.name.toStdString();
  EXPECT_FALSE(warehouses(db(), sql::demo::kCompanyId).empty());
  EXPECT_FALSE(cashDesks(db(), sql::demo::kCompanyId).empty());
  EXPECT_TRUE(warehouses(db(), 987654).empty());
  EXPECT_EQ(baseCurrency(db()), "PLN");

  // A table the database lacks gives an empty list and the reason, never a crash.
  exec("drop table KASY_FIRMY");
  EXPECT_TRUE(cashDesks(db(), sql::demo::kCompanyId, &error).empty());
  EXPECT_FALSE(error.isEmpty());
}

TEST_P(LoginData, LogsInAsAdminAndKeepsTheChoiceInTheGlobals) {
  exec("insert into FIRMA (ID_FIRMY, NAZWA) values (77, 'Hurtownia O''Brien')");
  LoginDialog dialog(db());
  Session s = dialog.session();
  EXPECT_EQ(s.user.login, "Admin");  // offered first when nobody logged in before
  EXPECT_EQ(s.user.id, 6100003.0);

  auto* company = dialog.findChildren<QComboBox*>().at(1);
  const int obrien = company->findData(77.0);
  ASSERT_GE(obrien, 0);
  EXPECT_EQ(company->itemText(obrien), "Hurtownia O'Brien");
  company->setCurrentIndex(obrien);
  // The company has neither warehouse nor cash desk: nothing is chosen for them.
  s = dialog.session();
  EXPECT_EQ(s.company.id, 77.0);
  EXPECT_EQ(s.warehouse.id, 0.0);
  EXPECT_EQ(s.cashDesk.id, 0.0);

  company->setCurrentIndex(company->findData(double(sql::demo::kCompanyId)));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  s = dialog.session();
  EXPECT_NE(s.warehouse.id, 0.0);
  applyToGlobals(s, "PLN");
  EXPECT_EQ(data::glo().ID_UZYTKOWNIKA.get(), 6100003.0);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), double(sql::demo::kCompanyId));
  EXPECT_EQ(data::glo().ID_MAGAZYNU.get(), s.warehouse.id);
  EXPECT_EQ(data::glo().ID_KASY.get(), s.cashDesk.id);
  EXPECT_EQ(data::glo().WAL_BAZOWA.get(), "PLN");

  // The next log-in offers the same company again.
  LoginDialog again(db());
  EXPECT_EQ(again.session().company.id, double(sql::demo::kCompanyId));
}

TEST_P(LoginData, TheSessionFollowsTheCompanyAWindowMovedTheProgramTo) {
  exec("insert into FIRMA (ID_FIRMY, NAZWA) values (77, 'Hurtownia O''Brien')");
  exec("insert into MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) values (77, 70, 'Skład Łódź', 'SL', "
       "'Praca')");
  Session shown;
  shown.user = {6100003, "Administrator systemu"};
  shown.company = {double(sql::demo::kCompanyId), "Demo Handel"};
  data::glo().ID_FIRMY.set(77);
  data::glo().ID_MAGAZYNU.set(70);
  data::glo().ID_KASY.set(0);
  Session now = sessionFromGlobals(db(), shown);
  EXPECT_EQ(now.user.name, "Administrator systemu");
  EXPECT_EQ(now.company.id, 77.0);
  EXPECT_EQ(now.company.name, "Hurtownia O'Brien");
  EXPECT_EQ(now.warehouse.name, "Skład Łódź");
  EXPECT_EQ(now.cashDesk.id, 0.0);
  EXPECT_TRUE(now.cashDesk.name.isEmpty());
}

TEST_P(LoginData, AskForThePasswordOfAUserWhoHasOne) {
  ASSERT_TRUE(storePassword(db(), 6100003, "Tajne'1").isOk());
  exec("update UZYTKOWNIK set AKTYWNY=0 where ID_UZYTKOWNIKA=" + sql::sqlId(sql::demo::kUserId));
  auto people = users(db());
  const Choice* admin = findUser(people, "Admin");
  ASSERT_NE(admin, nullptr);
  EXPECT_EQ(checkPassword(admin->password, ""), PasswordCheck::Wrong);
  EXPECT_EQ(checkPassword(admin->password, "tajne'1"), PasswordCheck::Wrong);
  EXPECT_EQ(checkPassword(admin->password, "Tajne'1"), PasswordCheck::Right);
  for (const Choice& u : people) EXPECT_NE(u.id, double(sql::demo::kUserId)) << "an inactive user is offered";

  LoginDialog dialog(db());
  auto* password = dialog.findChild<QLineEdit*>("haslo");
  ASSERT_NE(password, nullptr);
  password->setText("zle");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  password->setText("Tajne'1");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_P(LoginData, RefusesAnUnknownUser) {
  LoginDialog dialog(db());
  auto* user = dialog.findChildren<QComboBox*>().at(0);
  user->setEditText("Ktoś Obcy");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  bool told = false;
  for (QLabel* l : dialog.findChildren<QLabel*>())
    if (l->text() == "Nieprawidłowa nazwa użytkownika lub hasło.") told = true;
  EXPECT_TRUE(told);
}

SLOWNIK_ON_ALL_BACKENDS(LoginData);

// --- the frame --------------------------------------------------------------

std::atomic<int> vatRuns{0};
std::atomic<bool> ranOnOtherThread{false};
std::thread::id guiThread;
void runVat() {
  ranOnOtherThread = std::this_thread::get_id() != guiThread;
  ++vatRuns;
}
void runNothing() {}
void runFailing() { throw std::runtime_error("brak tabeli"); }

struct FakeEntry {
  const char* exportName;
  const char* caption;
  const char* subsystem;
  const char* kind;
  void (*run)();
};

const FakeEntry kFakeTable[] = {
    {"VAT_BRW", "Stawki VAT", "Podatki, kraje i waluty", "browse", runVat},
    {"BANKI_BRW", "Banki", "Banki i rachunki", "browse", runNothing},
    {"KRAJ_BRW", "Kraje", "Podatki, kraje i waluty", "browse", runNothing},
    {"LOADVAT", "Wczytaj stawki VAT", "Podatki, kraje i waluty", "loader", runFailing},
    {"POLOWA", nullptr, "Banki i rachunki", "browse", nullptr},  // half-built row: never offered
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Session demoSession() {
  return {{6100003, "Admin"}, {1, "Demo Sp. z o.o."}, {1, "Magazyn główny"}, {0, ""}};
}

TEST(HostFrame, EntryTableRowsWithoutNameOrProcedureAreLeftOut) {
  auto entries = entryPointsFromTable(kFakeTable, 6);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].exportName, "VAT_BRW");
  EXPECT_EQ(entries[3].kind, "loader");
  EXPECT_TRUE(entryPointsFromTable<FakeEntry>(nullptr, 3).empty());
}

TEST(HostFrame, StatusBarShowsCompanyUserWarehouseAndCashDesk) {
  ProcedureLauncher launcher;
  MainWindow window(demoSession(), {}, &launcher);
  auto text = [&](const char* name) { return window.findChild<QLabel*>(name)->text(); };
  EXPECT_EQ(text("statusCompany"), "Firma: Demo Sp. z o.o.");
  EXPECT_EQ(text("statusUser"), "Użytkownik: Admin");
  EXPECT_EQ(text("statusWarehouse"), "Magazyn: Magazyn główny");
  EXPECT_EQ(text("statusCashDesk"), "Kasa: (brak)");
  // Nothing built yet: only the frame's own menus.
  EXPECT_TRUE(window.entryMenus().isEmpty());
  QStringList titles;
  for (QAction* a : window.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&Plik", "&Okna", "Pomo&c"}));
}

TEST(HostFrame, MenuGroupsEntriesBySubsystemAndStartsThemOnTheirOwnThread) {
  guiThread = std::this_thread::get_id();
  ProcedureLauncher launcher;
  MainWindow window(demoSession(), entryPointsFromTable(kFakeTable, 6), &launcher);
  QStringList titles;
  for (QAction* a : window.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&Plik", "Po&datki, kraje i waluty", "&Banki i rachunki", "&Okna", "Pomo&c"}));

  QMenu* tax = window.entryMenus().at(0);
  QStringList items;
  for (QAction* a : tax->actions()) items << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(items, (QStringList{"&Stawki VAT", "&Kraje", "-", "&Wczytaj stawki VAT"}));

  QSignalSpy finished(&launcher, &ProcedureLauncher::finished);
  vatRuns = 0;
  tax->actions().at(0)->trigger();
  // The procedure may end before the wait begins: wait() only sees signals still to come.
  ASSERT_TRUE(finished.count() >= 1 || finished.wait(5000));
  EXPECT_EQ(vatRuns.load(), 1);
  EXPECT_TRUE(ranOnOtherThread.load());
  EXPECT_EQ(finished.at(0).at(0).toString(), "VAT_BRW");
  EXPECT_EQ(finished.at(0).at(1).toString(), "");

  // A procedure that fails is reported; the frame and its other windows go on.
  tax->actions().at(3)->trigger();
  ASSERT_TRUE(finished.count() >= 2 || finished.wait(5000));
  EXPECT_EQ(finished.at(1).at(0).toString(), "LOADVAT");
  EXPECT_EQ(finished.at(1).at(1).toString(), "brak tabeli");
  QCoreApplication::processEvents();
  auto* told = window.findChild<QMessageBox*>("procedureFailure");
  ASSERT_NE(told, nullptr);
  EXPECT_TRUE(told->text().contains("LOADVAT")) << told->text().toStdString();
  launcher.joinAll();
  EXPECT_EQ(launcher.runningCount(), 0);
}

TEST(HostFrame, MnemonicsTakeTheFirstFreeLetter) {
  struct Row {
    QString caption;
    QString used;
    QString expected;
  } rows[] = {
      {"Banki", "", "&Banki"},
      {"Banki", "b", "B&anki"},
      {"Banki", "bank", "Bank&i"},
      {"Kasy", "kasy", "Kasy"},           // no free letter: no mnemonic
      {"&Zamknij", "z", "&Zamknij"},      // the caption's own mnemonic stays
      {"Ośrodki", "", "&Ośrodki"},       // Polish letters are letters
      {"1) Dane", "", "&1) Dane"},
      {"A && B", "a", "A && &B"},  // "&&" is a plain ampersand
  };
  for (const Row& r : rows) {
    QSet<QChar> used;
    for (QChar c : r.used) used.insert(c);
    EXPECT_EQ(withMnemonic(r.caption, &used), r.expected) << r.caption.toStdString() << " / " << r.used.toStdString();
  }
}

class FakeList : public QWidget, public FrameActionTarget {
 public:
  bool canPerform(FrameAction a) const override { return a != FrameAction::Delete; }
  void perform(FrameAction a) override { performed.push_back(a); }
  std::vector<FrameAction> performed;
};

TEST(HostFrame, ToolbarActsOnTheActiveListOnly) {
  FrameToolBar bar;
  for (int i = 0; i < kFrameActionCount; ++i) EXPECT_FALSE(bar.action(FrameAction(i))->isEnabled());
  FakeList list;
  bar.setTarget(&list);
  EXPECT_TRUE(bar.action(FrameAction::Insert)->isEnabled());
  EXPECT_FALSE(bar.action(FrameAction::Delete)->isEnabled());
  bar.action(FrameAction::Next)->trigger();
  bar.action(FrameAction::Delete)->trigger();  // disabled: nothing happens
  EXPECT_EQ(list.performed, (std::vector<FrameAction>{FrameAction::Next}));
  QWidget plain;
  bar.setTarget(&plain);
  EXPECT_FALSE(bar.action(FrameAction::Insert)->isEnabled());
  {
    auto gone = std::make_unique<FakeList>();
    bar.setTarget(gone.get());
  }
  bar.action(FrameAction::Insert)->trigger();  // the window has gone: nothing happens
  bar.refresh();
  EXPECT_FALSE(bar.action(FrameAction::Insert)->isEnabled());
}

TEST(HostModule, LoadsTheBuiltModuleAndReadsItsEntryTable) {
  const QString path = ModuleLibrary::defaultPath();
  if (!QFileInfo::exists(path)) GTEST_SKIP() << "moduł nie zbudowany: " << path.toStdString();
  ModuleLibrary module;
  ASSERT_TRUE(module.load(path)) << module.error().toStdString();
  QLibrary direct(path);
  auto table = reinterpret_cast<const SlownikEntryPoint* (*)(int*)>(direct.resolve("SLOWNIK_ENTRY_POINTS"));
  ASSERT_NE(table, nullptr);
  int count = -1;
  table(&count);
  EXPECT_EQ(int(module.entryPoints().size()), count);
  for (const EntryPoint& e : module.entryPoints()) {
    EXPECT_FALSE(e.caption.isEmpty()) << e.exportName.toStdString();
    EXPECT_FALSE(e.subsystem.isEmpty()) << e.exportName.toStdString();
  }
  module.unload();
  EXPECT_FALSE(module.isLoaded());
}

TEST(HostModule, AMissingModuleIsReportedAndTheHostGoesOn) {
  ModuleLibrary module;
  EXPECT_FALSE(module.load("/nie/ma/libslownik.so"));
  EXPECT_FALSE(module.isLoaded());
  EXPECT_TRUE(module.error().startsWith("Nie można wczytać modułu")) << module.error().toStdString();
  EXPECT_TRUE(module.entryPoints().empty());
}

}  // namespace
}  // namespace slownik::host
