#pragma once
#include <mutex>
#include <string>

namespace slownik::fw {
class ErrorClass;
class IniClass;
}  // namespace slownik::fw

namespace slownik::data {

//! A sibling module as the module drives it: its init receives the error handler and
//! settings manager (either may be null) and its kill ends it. Our framework's siblings
//! keep what they received, so that callers and tests can see it. Thread-safe.
class SiblingModule {
 public:
  struct State {
    int initCalls = 0;
    int killCalls = 0;
    fw::ErrorClass* errors = nullptr;  //!< as the last init received it
    fw::IniClass* ini = nullptr;
    long initStep = 0;  //!< position of the last init among all siblings' calls (1, 2, …)
    long killStep = 0;
  };

  explicit SiblingModule(std::string name) : name_(std::move(name)) {}
  const std::string& name() const { return name_; }

  void init(fw::ErrorClass* errors, fw::IniClass* ini);
  void kill();
  State state() const;
  //! Forgets every call (between tests).
  void reset();

 private:
  std::string name_;
  mutable std::mutex mutex_;
  State state_;
};

//! The framework-classes module DANE.
SiblingModule& daneModule();
void DANE_INIT(fw::ErrorClass* errors, fw::IniClass* ini);
void DANE_KILL();

}  // namespace slownik::data
