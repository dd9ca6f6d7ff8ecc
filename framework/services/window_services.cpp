#include "framework/services/window_services.h"

#include <charconv>

#include "framework/runtime/date_time.h"
#include "framework/runtime/front_end.h"

namespace slownik::svc {

int USTAWSPLIT(rt::Window& window, std::string_view splitter, int offset) {
  return window.setValue(splitter, std::to_string(offset)) ? 0 : -1;
}

int splitOffset(const rt::Window& window, std::string_view splitter) {
  std::string value = window.value(splitter);
  int offset = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), offset);
  return ec == std::errc() && end == value.data() + value.size() ? offset : 0;
}

int MAKSYMALIZUJ(const rt::Event& e) { return !e.isFieldEvent() && e.code == rt::event::Sized ? 1 : 0; }

long KALENDARZ(int /*x*/, int /*y*/, long day) {
  // The front-end places its calendar itself (beside the active window's focus); the
  // position is the caller's wish, kept in the signature for the callers that compute it.
  long start = day > 0 ? day : static_cast<long>(rt::today());
  auto chosen = rt::frontEnd().calendarDialog("Kalendarz", start);
  return chosen && *chosen > 0 ? *chosen : day;
}

}  // namespace slownik::svc
