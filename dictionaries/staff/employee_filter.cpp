#include "dictionaries/staff/employee_filter.h"

#include <cstdlib>
#include <memory>
#include <mutex>

#include "framework/data/requests.h"
#include "framework/runtime/event.h"
#include "framework/runtime/picture.h"
#include "framework/runtime/window.h"
#include "framework/services/messages.h"
#include "framework/services/window_services.h"
#include "framework/sql/text.h"

namespace slownik::staff {
namespace {

constexpr const char* kNumber = "?NUMER";
constexpr const char* kSurname = "?NAZWISKO";
constexpr const char* kFirstName = "?IMIE";
constexpr const char* kBirthDay = "?DATA_URODZENIA";
constexpr const char* kPesel = "?PESEL";
constexpr const char* kNip = "?NIP";
constexpr const char* kCalendar = "?KALENDARZ";
constexpr const char* kOk = "?OK";
constexpr const char* kClear = "?CZYSC";
constexpr const char* kCancel = "?CANCEL";
constexpr const char* kDatePicture = "@d17";

std::mutex rememberedMutex;
EmployeeFilterValues& remembered() {
  static EmployeeFilterValues values;
  return values;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string prefixPart(const char* column, const std::string& value) {
  return std::string("a.") + column + " like " + sql::quote(value + "%");
}

// The filter window played with its own small event loop: it edits values, not a record.
class FilterWindow {
 public:
  explicit FilterWindow(EmployeeFilterValues values) : values_(std::move(values)) {}

  //! Opens the window; 1 when confirmed (values() then holds what was typed), else 2.
  int run() {
    window_ = rt::Window::open("slownik$slown103", "P1$WINDOW");
    if (!window_) return data::kRequestCancelled;
    show();
    window_->select(kNumber);
    int result = 0;
    while (result == 0) result = take(window_->nextEvent());
    window_->close();
    return result;
  }
  const EmployeeFilterValues& values() const { return values_; }

 private:
  int take(const rt::Event& e) {
    if (e.code == rt::event::CloseWindow) return data::kRequestCancelled;
    if (e.code != rt::event::Accepted) return 0;
    if (e.control == kCancel) return data::kRequestCancelled;
    if (e.control == kClear) {
      values_ = {};
      show();
      window_->select(kNumber);
      return 0;
    }
    if (e.control == kCalendar) {
      if (!read()) return 0;
      values_.birthDay = svc::KALENDARZ(0, 0, static_cast<long>(values_.birthDay));
      show();
      return 0;
    }
    if (e.control == kOk) return read() ? data::kRequestCompleted : 0;
    return 0;
  }

  void show() {
    window_->setValue(kNumber, values_.number);
    window_->setValue(kSurname, values_.surname);
    window_->setValue(kFirstName, values_.firstName);
    window_->setValue(kBirthDay, values_.birthDay > 0 ? trimmed(date_.format(std::to_string(values_.birthDay))) : "");
    window_->setValue(kPesel, values_.pesel);
    window_->setValue(kNip, values_.nip);
  }

  // Takes the typed values; false (told, the date focused) when the date can't be read.
  bool read() {
    values_.number = trimmed(window_->value(kNumber));
    values_.surname = trimmed(window_->value(kSurname));
    values_.firstName = trimmed(window_->value(kFirstName));
    values_.pesel = trimmed(window_->value(kPesel));
    values_.nip = trimmed(window_->value(kNip));
    std::string day;
    if (!date_.parse(trimmed(window_->value(kBirthDay)), &day)) {
      svc::MSG_OSTRZEZENIE("Niepoprawna data urodzenia!");
      window_->select(kBirthDay);
      return false;
    }
    values_.birthDay = std::atoll(day.c_str());
    return true;
  }

  EmployeeFilterValues values_;
  rt::Picture date_ = *rt::Picture::fromString(kDatePicture);
  std::shared_ptr<rt::Window> window_;
};

}  // namespace

bool EmployeeFilterValues::isEmpty() const {
  return number.empty() && surname.empty() && firstName.empty() && birthDay <= 0 && pesel.empty() && nip.empty();
}

std::string employeeFilterCondition(const EmployeeFilterValues& v) {
  std::string condition;
  auto add = [&condition](const std::string& part) { condition += (condition.empty() ? "" : " and ") + part; };
  if (!trimmed(v.number).empty()) add(prefixPart("nr_ewidencyjny", trimmed(v.number)));
  if (!trimmed(v.surname).empty()) add(prefixPart("nazwisko", trimmed(v.surname)));
  if (v.birthDay > 0) add("a.DATA_URODZENIA = " + std::to_string(v.birthDay));
  if (!trimmed(v.firstName).empty()) add(prefixPart("imie_1", trimmed(v.firstName)));
  if (!trimmed(v.pesel).empty()) add(prefixPart("pesel", trimmed(v.pesel)));
  if (!trimmed(v.nip).empty()) add(prefixPart("nip", trimmed(v.nip)));
  return condition;
}

EmployeeFilterValues rememberedEmployeeFilter() {
  std::lock_guard lock(rememberedMutex);
  return remembered();
}

void rememberEmployeeFilter(const EmployeeFilterValues& values) {
  std::lock_guard lock(rememberedMutex);
  remembered() = values;
}

int FILTRPRACOWNIKA(bool silent, std::string* condition) {
  if (silent) {
    if (condition) *condition = employeeFilterCondition(rememberedEmployeeFilter());
    return data::kRequestCompleted;
  }
  FilterWindow window(rememberedEmployeeFilter());
  if (window.run() != data::kRequestCompleted) return data::kRequestCancelled;
  rememberEmployeeFilter(window.values());
  if (condition) *condition = employeeFilterCondition(window.values());
  return data::kRequestCompleted;
}

}  // namespace slownik::staff
