#include "dictionaries/company/window_closer.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "framework/services/messages.h"

namespace slownik::company {
namespace {

enum class Outcome { Closed, Refused, Busy };

// Posts the request and waits until the window is gone or its thread waits for the
// person again with the window still open (it refused).
Outcome closeOne(const std::shared_ptr<rt::Window>& window, std::chrono::steady_clock::time_point until) {
  rt::Event request{rt::event::CloseWindow};
  request.fromThread = rt::threadNumber();
  window->post(request);
  for (;;) {
    if (window->isClosed()) return Outcome::Closed;
    // Idle means it has taken the request (the queue is empty) and waits again.
    if (window->isIdle()) return window->isClosed() ? Outcome::Closed : Outcome::Refused;
    if (std::chrono::steady_clock::now() >= until) return Outcome::Busy;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

bool closeOtherWindows(std::chrono::milliseconds patience) {
  const int self = rt::threadNumber();
  const auto until = std::chrono::steady_clock::now() + patience;
  for (;;) {
    // Newest first: a window opened from another on its thread holds that one's loop.
    std::vector<std::shared_ptr<rt::Window>> others;
    for (const auto& w : rt::openWindows())
      if (w->ownerThread() != self && !w->isClosed()) others.push_back(w);
    if (others.empty()) return true;
    if (std::chrono::steady_clock::now() >= until) {
      svc::MSG_OSTRZEZENIE("Nie udało się zamknąć wszystkich okien.|Firma nie została zmieniona.");
      return false;
    }
    const std::shared_ptr<rt::Window> newest =
        *std::max_element(others.begin(), others.end(), [](const auto& a, const auto& b) { return a->id() < b->id(); });
    switch (closeOne(newest, until)) {
      case Outcome::Closed: break;
      case Outcome::Refused: return false;
      case Outcome::Busy:
        svc::MSG_OSTRZEZENIE("Okno \"" + newest->title() + "\" jest zajęte i nie zostało zamknięte.|"
                             "Firma nie została zmieniona.");
        return false;
    }
  }
}

}  // namespace slownik::company
