#pragma once
#include "framework/data/dane_module.h"

namespace slownik::svc {

//! The shared-services siblings of the module: business services (VEXRUN), table-
//! definition services (VEXDEF) and the electronic-document viewer (EDOKUMENTYRUN).
data::SiblingModule& vexrunModule();
data::SiblingModule& vexdefModule();
data::SiblingModule& edokumentyrunModule();

void VEXRUN_INIT(fw::ErrorClass* errors, fw::IniClass* ini);
void VEXRUN_KILL();
void VEXDEF_INIT(fw::ErrorClass* errors, fw::IniClass* ini);
void VEXDEF_KILL();
void EDOKUMENTYRUN_INIT(fw::ErrorClass* errors, fw::IniClass* ini);
void EDOKUMENTYRUN_KILL();

}  // namespace slownik::svc
