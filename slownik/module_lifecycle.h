#pragma once

namespace slownik::fw {
class ErrorClass;
class IniClass;
}  // namespace slownik::fw

extern "C" {

//! The host's first call: the module keeps the host's error handler and settings
//! manager (a null keeps the module's own), gives the error handler to the file
//! managers of its tables and hands both, exactly as received, to its siblings. Only
//! the first call does so; every call takes the calling thread's file managers.
void SLOWNIK_INIT(slownik::fw::ErrorClass* errors, slownik::fw::IniClass* ini);

//! The host's last call before unloading: the siblings are killed, once.
void SLOWNIK_KILL();
}

namespace slownik {

//! The error handler every window and file manager of the module uses. Any thread.
fw::ErrorClass& errorHandler();
//! The settings manager windows keep their placement with. Any thread.
fw::IniClass& settingsManager();
fw::ErrorClass& ownErrorHandler();
fw::IniClass& ownSettingsManager();

bool isModuleInitialised();
bool isModuleKilled();

//! How many views thread ends have closed so far, all threads together.
long viewsClosedAtThreadEnd();

}  // namespace slownik
