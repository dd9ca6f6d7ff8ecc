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

namespace {

long askCalendar(rt::DialogPlace place, long day) {
  rt::CalendarRequest request;
  request.title = "Kalendarz";
  request.initialDay = day > 0 ? day : static_cast<long>(rt::today());
  request.place = std::move(place);
  auto chosen = rt::frontEnd().calendarDialog(request);
  return chosen && *chosen > 0 ? *chosen : day;
}

}  // namespace

long KALENDARZ(int x, int y, long day) {
  // Screen coordinates mean nothing to the runtime, which lays out no pixels: the
  // offset is taken from the control the person just used, and the front-end turns it
  // into a place on its screen.
  rt::DialogPlace place;
  place.window = rt::activeWindow();
  if (place.window) place.control = place.window->focus();
  place.dx = x;
  place.dy = y;
  return askCalendar(std::move(place), day);
}

long KALENDARZ(const std::shared_ptr<rt::Window>& window, std::string_view control, long day) {
  constexpr int kBelowButton = 15;
  return askCalendar(rt::DialogPlace{window, std::string(control), 0, kBelowButton}, day);
}

}  // namespace slownik::svc
