#include "framework/classes/process_class.h"

#include <exception>

#include "framework/runtime/log.h"

namespace slownik::fw {

ProcessClass::Outcome ProcessClass::run(std::string title, const Step& step, std::string settingsSection,
                                        IniClass* ini) {
  steps_ = 0;
  if (!window_.open(std::move(title))) return Outcome::NotOpened;
  bool placed = ini && !settingsSection.empty();
  if (placed) ini->fetch(settingsSection, *window_.window());
  bool more = true;
  while (more && !window_.checkCancel()) {
    ++steps_;
    try {
      more = step(*this);
    } catch (const std::exception& e) {
      // A failing step ends the work like a cancel: the window closes, the caller sums up.
      rt::logMessage(std::string("process step failed: ") + e.what());
      break;
    }
  }
  bool cancelled = more;  // stopped before the step said it was done
  if (placed) ini->update(settingsSection, *window_.window());
  window_.close();
  return cancelled ? Outcome::Cancelled : Outcome::Completed;
}

}  // namespace slownik::fw
