#include "framework/services/procedure_registry.h"

#include <map>
#include <mutex>
#include <utility>

#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

std::mutex registryMutex;

std::map<std::string, NamedProcedure>& installed() {
  static std::map<std::string, NamedProcedure> procedures;
  return procedures;
}

std::string keyOf(std::string_view name) { return sql::toUpperAscii(name); }

}  // namespace

void installProcedure(std::string_view name, NamedProcedure procedure) {
  std::lock_guard lock(registryMutex);
  if (procedure)
    installed()[keyOf(name)] = std::move(procedure);
  else
    installed().erase(keyOf(name));
}

bool hasInstalledProcedure(std::string_view name) {
  std::lock_guard lock(registryMutex);
  return installed().count(keyOf(name)) > 0;
}

void callProcedure(std::string_view name, const ProcedureArgs& args, const NamedProcedure& fallback) {
  NamedProcedure procedure;
  {
    std::lock_guard lock(registryMutex);
    auto it = installed().find(keyOf(name));
    if (it != installed().end()) procedure = it->second;  // a copy: reinstalling can't pull it away
  }
  if (procedure)
    procedure(args);
  else if (fallback)
    fallback(args);
}

void clearInstalledProcedures() {
  std::lock_guard lock(registryMutex);
  installed().clear();
}

}  // namespace slownik::svc
