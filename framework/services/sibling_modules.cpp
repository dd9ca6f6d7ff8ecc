#include "framework/services/sibling_modules.h"

#include "framework/services/edocuments.h"

namespace slownik::svc {

data::SiblingModule& vexrunModule() {
  static data::SiblingModule module("VEXRUN");
  return module;
}

data::SiblingModule& vexdefModule() {
  static data::SiblingModule module("VEXDEF");
  return module;
}

data::SiblingModule& edokumentyrunModule() {
  static data::SiblingModule module("EDOKUMENTYRUN");
  return module;
}

void VEXRUN_INIT(fw::ErrorClass* errors, fw::IniClass* ini) { vexrunModule().init(errors, ini); }
void VEXRUN_KILL() { vexrunModule().kill(); }
void VEXDEF_INIT(fw::ErrorClass* errors, fw::IniClass* ini) { vexdefModule().init(errors, ini); }
void VEXDEF_KILL() { vexdefModule().kill(); }
void EDOKUMENTYRUN_INIT(fw::ErrorClass* errors, fw::IniClass* ini) { edokumentyrunModule().init(errors, ini); }
void EDOKUMENTYRUN_KILL() {
  edokumentyrunModule().kill();
  // Files written for the desktop's programs to open go when the module ends.
  removeEdocumentTemporaryFiles();
}

}  // namespace slownik::svc
