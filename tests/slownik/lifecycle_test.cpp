#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/data/dane_module.h"
#include "framework/data/file_errors.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/thread_views.h"
#include "framework/runtime/ini_file.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/sibling_modules.h"
#include "framework/sql/catalogue.h"
#include "slownik/module_lifecycle.h"
#include "slownik/module_tables.h"

namespace slownik {
namespace {

namespace fs = std::filesystem;

std::vector<data::SiblingModule*> siblings() {
  return {&data::daneModule(), &svc::vexrunModule(), &svc::vexdefModule(), &svc::edokumentyrunModule()};
}

// Whether every module table's file manager of the calling thread reports to `errors`.
int managersReportingTo(const fw::ErrorClass* errors) {
  int n = 0;
  for (std::string_view table : moduleTables()) {
    data::FileManager* manager = data::fileManager(table);
    if (manager && manager->errors() == errors) ++n;
  }
  return n;
}

// The module is loaded once per process and initialised once, so its whole life is one
// test, told in order.
TEST(ModuleLifecycle, FromLoadThroughInitToKill) {
  const fs::path iniPath = fs::temp_directory_path() / ("slownik_lifecycle_" + std::to_string(::getpid()) + ".ini");
  fs::remove(iniPath);

  {
    SCOPED_TRACE("loaded: the module's own objects serve");
    EXPECT_FALSE(isModuleInitialised());
    EXPECT_EQ(&errorHandler(), &ownErrorHandler());
    EXPECT_EQ(&settingsManager(), &ownSettingsManager());
    EXPECT_EQ(fw::XTOOLTIP().title(), "Informacja");
    EXPECT_TRUE(fw::XTOOLTIP().isOn());
    for (auto* s : siblings()) EXPECT_EQ(s->state().initCalls, 0) << s->name();
    EXPECT_EQ(moduleTables().size(), 68u);
    for (std::string_view t : moduleTables()) EXPECT_NE(sql::Catalogue::instance().find(t), nullptr) << t;
  }

  {
    SCOPED_TRACE("SLOWNIK_INIT with two nulls");
    SLOWNIK_INIT(nullptr, nullptr);
    EXPECT_TRUE(isModuleInitialised());
    EXPECT_EQ(&errorHandler(), &ownErrorHandler());
    EXPECT_EQ(&settingsManager(), &ownSettingsManager());
    EXPECT_EQ(managersReportingTo(&ownErrorHandler()), 68);
    long step = 0;
    for (auto* s : siblings()) {
      auto state = s->state();
      EXPECT_EQ(state.initCalls, 1) << s->name();
      EXPECT_EQ(state.errors, nullptr) << s->name();  // the nulls are handed on as they came
      EXPECT_EQ(state.ini, nullptr) << s->name();
      EXPECT_GT(state.initStep, step) << s->name() << " out of order";
      step = state.initStep;
    }

    // Positions go to the file the host names in GLO:PATH_INI, even after loading.
    std::string savedPath = data::glo().PATH_INI.get();
    data::glo().PATH_INI = iniPath.string();
    EXPECT_TRUE(settingsManager().update("VAT_Brw", fw::Placement{5, 6, 700, 400}));
    EXPECT_EQ(rt::IniFile(iniPath.string()).get("VAT_Brw", "Width"), "700");
    data::glo().PATH_INI = savedPath;
  }

  {
    SCOPED_TRACE("a window on another thread reports through the module's handler");
    bool statusAtStart = false;
    int reporting = 0;
    int reports = 0;
    std::string procedure;
    rt::startProcedure([&] {
      statusAtStart = fw::hasThreadErrorStatus();
      reporting = managersReportingTo(&ownErrorHandler());
      errorHandler().setProcedureName("Banki_Brw");
      data::fileManager("BANKI")->fail(data::kDatabaseError, "odmowa");
      reports = fw::threadErrorStatus().count();
      procedure = fw::threadErrorStatus().last()->procedure;
    }).join();
    EXPECT_TRUE(statusAtStart);
    EXPECT_EQ(reporting, 68);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(procedure, "Banki_Brw");
  }

  {
    SCOPED_TRACE("a second SLOWNIK_INIT with other objects replaces nothing");
    fw::ErrorClass hostErrors;
    fw::IniClass hostIni;
    SLOWNIK_INIT(&hostErrors, &hostIni);
    EXPECT_EQ(&errorHandler(), &ownErrorHandler());
    EXPECT_EQ(&settingsManager(), &ownSettingsManager());
    EXPECT_EQ(managersReportingTo(&ownErrorHandler()), 68);
    for (auto* s : siblings()) {
      EXPECT_EQ(s->state().initCalls, 1) << s->name();
      EXPECT_EQ(s->state().errors, nullptr) << s->name();
    }
  }

  {
    SCOPED_TRACE("SLOWNIK_KILL twice kills the siblings once, in order");
    SLOWNIK_KILL();
    SLOWNIK_KILL();
    EXPECT_TRUE(isModuleKilled());
    long step = 0;
    for (auto* s : siblings()) {
      auto state = s->state();
      EXPECT_EQ(state.killCalls, 1) << s->name();
      EXPECT_GT(state.killStep, step) << s->name() << " out of order";
      step = state.killStep;
    }
    EXPECT_EQ(&errorHandler(), &ownErrorHandler());  // kill releases nothing of its own
    EXPECT_TRUE(fw::XTOOLTIP().isOn());
  }
  fs::remove(iniPath);
}

TEST(ModuleLifecycle, ThreadEndClosesOnlyTheViewsItLeftOpen) {
  const sql::TableDef* vat = sql::Catalogue::instance().find("VAT");
  ASSERT_NE(vat, nullptr);
  struct Case {
    const char* what;
    int open;   // views the thread opens
    int close;  // and closes itself
    long closedAtEnd;
  };
  for (const Case& c : {Case{"opened and left open", 1, 0, 1}, Case{"never opened", 0, 0, 0},
                        Case{"opened and closed", 1, 1, 0}, Case{"nested and left open", 2, 0, 2}}) {
    long before = viewsClosedAtThreadEnd();
    rt::startProcedure([&] {
      for (int i = 0; i < c.open; ++i) data::openThreadView("VAT_Brw", *vat);
      for (int i = 0; i < c.close; ++i) data::closeThreadView("VAT_Brw");
    }).join();
    EXPECT_EQ(viewsClosedAtThreadEnd() - before, c.closedAtEnd) << c.what;
  }
}

}  // namespace
}  // namespace slownik
