#include "engine/module_objects.h"

#include <atomic>

#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"

namespace slownik::engine {
namespace {

constinit std::atomic<ErrorHandlerSource> errorSource{nullptr};
constinit std::atomic<SettingsSource> settingsSource{nullptr};

fw::ErrorClass& ownErrors() {
  static fw::ErrorClass errors;
  return errors;
}

fw::IniClass& ownSettings() {
  // Bound to no file, it follows GLO:PATH_INI, as the module's own manager does.
  static fw::IniClass settings;
  return settings;
}

}  // namespace

void setModuleObjects(ErrorHandlerSource errors, SettingsSource settings) {
  errorSource.store(errors, std::memory_order_release);
  settingsSource.store(settings, std::memory_order_release);
}

fw::ErrorClass& moduleErrors() {
  ErrorHandlerSource source = errorSource.load(std::memory_order_acquire);
  return source ? source() : ownErrors();
}

fw::IniClass& moduleSettings() {
  SettingsSource source = settingsSource.load(std::memory_order_acquire);
  return source ? source() : ownSettings();
}

}  // namespace slownik::engine
