#include "slownik/module_lifecycle.h"

#include <atomic>
#include <string>
#include <vector>

#include "engine/module_objects.h"
#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/data/dane_module.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/thread_views.h"
#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/sibling_modules.h"
#include "slownik/module_tables.h"
#include "slownik/program_session.h"

namespace slownik {
namespace {

// Process-wide state, shared by every thread: plain atomics, so that the thread hooks
// may still look at them while the module is being unloaded.
constinit std::atomic<fw::ErrorClass*> errorsRef{nullptr};
constinit std::atomic<fw::IniClass*> iniRef{nullptr};
constinit std::atomic<bool> initialised{false};
constinit std::atomic<bool> killed{false};
constinit std::atomic<bool> loaded{false};
constinit std::atomic<long> viewsClosed{0};

// The calling thread's file managers of the module's tables, in the module's order.
std::vector<data::FileManager*> threadFileManagers() {
  std::vector<data::FileManager*> managers;
  for (std::string_view name : moduleTables()) {
    if (data::FileManager* manager = data::fileManager(name)) {
      managers.push_back(manager);
    } else {
      rt::logMessage("module table unknown to the catalogue: " + std::string(name));
    }
  }
  return managers;
}

void giveErrorHandler(const std::vector<data::FileManager*>& managers) {
  fw::ErrorClass* errors = errorsRef.load(std::memory_order_acquire);
  for (data::FileManager* manager : managers) manager->setErrors(errors);
}

void threadStarted() {
  if (!loaded.load(std::memory_order_acquire)) return;
  fw::constructThreadErrorStatus();
  // A window on any thread reports through the module's error handler, not only one on
  // the thread that happened to call SLOWNIK_INIT.
  if (initialised.load(std::memory_order_acquire)) giveErrorHandler(threadFileManagers());
}

void threadEnded() {
  if (!loaded.load(std::memory_order_acquire)) return;
  viewsClosed.fetch_add(data::closeThreadViews(), std::memory_order_relaxed);
  fw::destroyThreadErrorStatus();
}

// Load and unload: the module's own error handler and settings manager live as long as
// the module is loaded.
struct LoadedModule {
  fw::ErrorClass ownErrors;
  fw::IniClass ownIni;
  int startHook = 0;
  int endHook = 0;

  LoadedModule() {
    fw::threadErrorStatus();  // the loading thread's status, which the own handler reports into
    ownIni.init();            // the file named by GLO:PATH_INI, whenever the host names it
    iniRef.store(&ownIni, std::memory_order_release);
    fw::ErrorClass* none = nullptr;
    errorsRef.compare_exchange_strong(none, &ownErrors, std::memory_order_acq_rel);
    fw::XTOOLTIP().init(static_cast<int>(data::glo().TOOLTIPTYPE.get()), "Informacja", true);
    startHook = rt::onThreadStart(threadStarted);
    endHook = rt::onThreadEnd(threadEnded);
    // The engine's windows sit below this library: tell them where the module's objects are.
    engine::setModuleObjects(&slownik::errorHandler, &slownik::settingsManager);
    loaded.store(true, std::memory_order_release);
  }

  ~LoadedModule() {
    loaded.store(false, std::memory_order_release);
    abandonProgramSession();  // a host that unloads without SLOWNIK_KILL
    engine::setModuleObjects(nullptr, nullptr);
    // Our hooks' code goes away with this library; the runtime outlives it.
    rt::removeThreadHook(startHook);
    rt::removeThreadHook(endHook);
    fw::XTOOLTIP().kill();
    ownIni.kill();
    iniRef.store(nullptr, std::memory_order_release);
    errorsRef.store(nullptr, std::memory_order_release);
  }
};

LoadedModule& module() {
  static LoadedModule m;
  return m;
}

// Loading the library builds the module's objects.
[[maybe_unused]] const bool loadedAtStart = (module(), true);

}  // namespace

fw::ErrorClass& ownErrorHandler() { return module().ownErrors; }
fw::IniClass& ownSettingsManager() { return module().ownIni; }

fw::ErrorClass& errorHandler() {
  fw::ErrorClass* errors = errorsRef.load(std::memory_order_acquire);
  return errors ? *errors : ownErrorHandler();
}

fw::IniClass& settingsManager() {
  fw::IniClass* ini = iniRef.load(std::memory_order_acquire);
  return ini ? *ini : ownSettingsManager();
}

bool isModuleInitialised() { return initialised.load(std::memory_order_acquire); }
bool isModuleKilled() { return killed.load(std::memory_order_acquire); }
long viewsClosedAtThreadEnd() { return viewsClosed.load(std::memory_order_relaxed); }

}  // namespace slownik

extern "C" void SLOWNIK_INIT(slownik::fw::ErrorClass* errors, slownik::fw::IniClass* ini) {
  using namespace slownik;
  module();
  auto managers = threadFileManagers();
  if (initialised.exchange(true, std::memory_order_acq_rel)) return;
  if (errors) errorsRef.store(errors, std::memory_order_release);
  if (ini) iniRef.store(ini, std::memory_order_release);
  giveErrorHandler(managers);
  data::DANE_INIT(errors, ini);
  svc::VEXRUN_INIT(errors, ini);
  svc::VEXDEF_INIT(errors, ini);
  svc::EDOKUMENTYRUN_INIT(errors, ini);
  // The module's edit locks belong to this program's session from now on.
  startProgramSession();
}

extern "C" void SLOWNIK_KILL() {
  using namespace slownik;
  if (killed.exchange(true, std::memory_order_acq_rel)) return;
  // A clean exit frees every lock of the program at once.
  endProgramSession();
  data::DANE_KILL();
  svc::VEXRUN_KILL();
  svc::VEXDEF_KILL();
  svc::EDOKUMENTYRUN_KILL();
}
