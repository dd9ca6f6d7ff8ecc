#include "host/module_library.h"

#include <QCoreApplication>

#include "slownik/entry_points.h"

namespace slownik::host {
namespace {

// The module's lifecycle calls; the error handler and settings objects are the module's
// own (null keeps them), since this host has no objects of its own to hand over.
using InitFn = void (*)(void* errors, void* ini);
using KillFn = void (*)();
using EntriesFn = const SlownikEntryPoint* (*)(int* count);

}  // namespace

ModuleLibrary::~ModuleLibrary() { unload(); }

QString ModuleLibrary::defaultPath() {
  const QByteArray env = qgetenv("SLOWNIK_MODULE");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QCoreApplication::applicationDirPath() + "/libslownik.so";
}

bool ModuleLibrary::load(const QString& path) {
  unload();
  error_.clear();
  library_.setFileName(path);
  if (!library_.load()) {
    error_ = QStringLiteral("Nie można wczytać modułu %1: %2").arg(path, library_.errorString());
    return false;
  }
  auto entries = reinterpret_cast<EntriesFn>(library_.resolve("SLOWNIK_ENTRY_POINTS"));
  if (!entries) {
    error_ = QStringLiteral("Moduł %1 nie udostępnia listy procedur (SLOWNIK_ENTRY_POINTS).").arg(path);
    library_.unload();
    return false;
  }
  if (auto init = reinterpret_cast<InitFn>(library_.resolve("SLOWNIK_INIT"))) init(nullptr, nullptr);
  kill_ = reinterpret_cast<KillFn>(library_.resolve("SLOWNIK_KILL"));
  int count = 0;
  const SlownikEntryPoint* table = entries(&count);
  entries_ = entryPointsFromTable(table, count);
  return true;
}

void ModuleLibrary::unload() {
  if (!library_.isLoaded()) return;
  if (kill_) kill_();
  kill_ = nullptr;
  entries_.clear();
  library_.unload();
}

}  // namespace slownik::host
