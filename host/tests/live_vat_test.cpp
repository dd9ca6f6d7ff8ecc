// The module's real VAT list, started as the host's menu starts it, over a seeded
// database: what the Qt list shows is what the database holds.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QIcon>
#include <QSettings>
#include <atomic>
#include <thread>

#include "framework/data/globals.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/window.h"
#include "framework/runtime/window_resource.h"
#include "framework/sql/seed.h"
#include "host/icon_library.h"
#include "host/list_view.h"
#include "host/module_library.h"
#include "host/procedure_launcher.h"
#include "host/qt_front_end.h"
#include "host/qt_window.h"
#include "host/session.h"
#include "host/window_driver.h"
#include "support/backends.h"

namespace slownik::host {
namespace {

// One front-end for the whole binary, as in the program.
std::shared_ptr<QtFrontEnd> installedFrontEnd() {
  static std::shared_ptr<QtFrontEnd> fe = [] {
    auto f = std::make_shared<QtFrontEnd>();
    rt::setFrontEnd(f);
    rt::setResourceRoot(resourceDir().toStdString());
    return f;
  }();
  return fe;
}

const EntryPoint* entryNamed(const std::vector<EntryPoint>& entries, const QString& name) {
  for (const EntryPoint& e : entries)
    if (e.exportName == name) return &e;
  return nullptr;
}

class LiveVatList : public test::DatabaseTest {
 protected:
  void SetUp() override {
    test::DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (!QFileInfo::exists(ModuleLibrary::defaultPath()))
      GTEST_SKIP() << "moduł nie zbudowany: " << ModuleLibrary::defaultPath().toStdString();
    sql::Status seeded = sql::seedDemo(db());
    ASSERT_TRUE(seeded.isOk()) << seeded.message();
    QSettings().clear();
    Session session;
    session.user.id = double(sql::demo::kAdminUserId);
    session.company.id = double(sql::demo::kCompanyId);
    session.warehouse.id = double(sql::demo::kMainWarehouseId);
    applyToGlobals(session, "PLN");
    fe_ = installedFrontEnd();
    ASSERT_TRUE(module_.load(ModuleLibrary::defaultPath())) << module_.error().toStdString();
  }

  void TearDown() override {
    if (fe_) {
      fe_->closeAllWindows();
      processEventsUntil([&] { return launcher_.runningCount() == 0; }, 10000);
      EXPECT_EQ(launcher_.runningCount(), 0) << "a procedure is still running";
      if (launcher_.runningCount() == 0) launcher_.joinAll();
    }
    module_.unload();
    test::DatabaseTest::TearDown();
  }

  std::shared_ptr<QtFrontEnd> fe_;
  ModuleLibrary module_;
  ProcedureLauncher launcher_;
};

int rowWithName(QAbstractItemModel* model, const QString& name) {
  for (int r = 0; r < model->rowCount(); ++r)
    if (model->index(r, 0).data().toString().trimmed() == name) return r;
  return -1;
}

TEST_P(LiveVatList, ShowsTheRatesOfTheDatabaseWithTheActiveIconAndClosesOnEsc) {
  // A name with an apostrophe, and one more active rate than the seed has.
  exec("insert into STAWKA_VAT (KOD_VAT, NAZWA, STAWKA, AKTYWNY) values ('7', 'stawka ''próbna''', 7, 1)");
  const int inDatabase = std::stoi(scalar("select count(*) from STAWKA_VAT"));

  const EntryPoint* vat = entryNamed(module_.entryPoints(), "VAT_BRW");
  ASSERT_NE(vat, nullptr);
  EXPECT_EQ(vat->kind, "browse");
  WindowDriver driver(*fe_);
  launcher_.start(*vat);
  QtWindow* w = driver.waitForNewWindow({});
  ASSERT_NE(w, nullptr) << driver.error().toStdString();
  const int id = w->window()->id();
  ASSERT_TRUE(driver.waitForRows(w)) << driver.error().toStdString();
  // The page may still be coming in: wait for all of it (the list is shorter than a page).
  ListView* list = WindowDriver::listOf(w);
  processEventsUntil([&] { return list->model()->rowCount() == inDatabase; }, 5000);
  EXPECT_TRUE(driver.takeMessages().isEmpty());

  QAbstractItemModel* model = list->model();
  ASSERT_EQ(model->rowCount(), inDatabase);
  ASSERT_GE(model->columnCount(), 3);
  struct Row {
    const char* name;
    const char* code;
    bool active;
  } rows[] = {
      {"23%", "23", true},
      {"zwolniona", "zw", true},
      {"stawka 'próbna'", "7", true},
      {"22% (archiwalna)", "22", false},
  };
  for (const Row& expected : rows) {
    SCOPED_TRACE(expected.name);
    const int r = rowWithName(model, QString::fromUtf8(expected.name));
    ASSERT_GE(r, 0);
    EXPECT_EQ(model->index(r, 1).data().toString().trimmed(), expected.code);
    const QVariant icon = model->index(r, 0).data(Qt::DecorationRole);
    if (expected.active) {
      ASSERT_TRUE(icon.isValid());
      EXPECT_FALSE(icon.value<QIcon>().isNull()) << "the active icon has no picture";
    } else {
      EXPECT_FALSE(icon.isValid() && !icon.value<QIcon>().isNull()) << "an inactive rate shows the active icon";
    }
  }
  // The rate column shows the number, not a blank.
  const int r23 = rowWithName(model, "23%");
  EXPECT_TRUE(model->index(r23, 2).data().toString().contains("23")) << model->index(r23, 2).data().toString().toStdString();

  // Esc closes the window, and its procedure returns.
  driver.pressKey(w, Qt::Key_Escape);
  ASSERT_TRUE(driver.waitClosed(id)) << driver.error().toStdString();
  EXPECT_TRUE(processEventsUntil([&] { return launcher_.runningCount() == 0; }, 10000));
}

SLOWNIK_ON_ALL_BACKENDS(LiveVatList);

// Without a person at the screen nothing may wait forever: a window that never shows
// ends the wait with a reason, and a box a procedure asks is noted and answered as Esc.
TEST(WindowDriverAlone, TimesOutAndDismissesBoxesNobodyIsThereToAnswer) {
  auto fe = installedFrontEnd();
  WindowDriver driver(*fe, 200);
  EXPECT_EQ(driver.waitForNewWindow(driver.shownIds()), nullptr);
  EXPECT_TRUE(driver.error().contains("200 ms")) << driver.error().toStdString();
  EXPECT_TRUE(driver.waitClosed(987654));  // never drawn: nothing to wait for

  rt::MessageBoxRequest request;
  request.title = "Pytanie";
  request.text = "Czy usunąć bank O'Brien?";
  request.buttons = rt::button::Yes | rt::button::No;
  request.defaultButton = rt::button::Yes;
  std::atomic<int> answer{-1};
  std::thread asking([&] { answer = fe->messageBox(request); });
  const bool answered = processEventsUntil([&] { return answer.load() != -1; }, 5000);
  asking.join();
  ASSERT_TRUE(answered);
  // Dismissed, not confirmed: Esc answers No even though Yes is the default.
  EXPECT_EQ(answer.load(), rt::button::No);
  EXPECT_EQ(driver.takeMessages(), QStringList{"Pytanie: Czy usunąć bank O'Brien?"});
  EXPECT_TRUE(driver.takeMessages().isEmpty());
}

}  // namespace
}  // namespace slownik::host
