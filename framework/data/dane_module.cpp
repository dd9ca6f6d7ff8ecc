#include "framework/data/dane_module.h"

#include <atomic>

namespace slownik::data {
namespace {

// One counter for every sibling, so the order in which a host called them shows.
std::atomic<long> nextStep{1};

}  // namespace

void SiblingModule::init(fw::ErrorClass* errors, fw::IniClass* ini) {
  std::lock_guard lock(mutex_);
  ++state_.initCalls;
  state_.errors = errors;
  state_.ini = ini;
  state_.initStep = nextStep.fetch_add(1);
}

void SiblingModule::kill() {
  std::lock_guard lock(mutex_);
  ++state_.killCalls;
  state_.killStep = nextStep.fetch_add(1);
}

SiblingModule::State SiblingModule::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void SiblingModule::reset() {
  std::lock_guard lock(mutex_);
  state_ = {};
}

SiblingModule& daneModule() {
  static SiblingModule module("DANE");
  return module;
}

void DANE_INIT(fw::ErrorClass* errors, fw::IniClass* ini) { daneModule().init(errors, ini); }
void DANE_KILL() { daneModule().kill(); }

}  // namespace slownik::data
