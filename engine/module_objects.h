#pragma once
// The module's error handler and settings manager as the engine's windows reach them.
//
// The engine sits below the module library, so it cannot ask the module for the objects
// the host handed over at start; the module tells the engine where to find them instead
// (setModuleObjects, once at load or init). Until it does, the engine uses objects of its
// own that behave as the module's own would: an error handler reporting into the calling
// thread's error status, and a settings manager following GLO:PATH_INI.

namespace slownik::fw {
class ErrorClass;
class IniClass;
}  // namespace slownik::fw

namespace slownik::engine {

using ErrorHandlerSource = fw::ErrorClass& (*)();
using SettingsSource = fw::IniClass& (*)();

//! Where the windows find the module's error handler and settings manager; a null source
//! goes back to the engine's own object. Any thread; race-free.
void setModuleObjects(ErrorHandlerSource errors, SettingsSource settings);

//! The error handler windows name themselves to. Any thread.
fw::ErrorClass& moduleErrors();
//! The settings manager windows keep their position and size with. Any thread.
fw::IniClass& moduleSettings();

}  // namespace slownik::engine
