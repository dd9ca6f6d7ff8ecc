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
constexpr const char* kAdditionalFields = "?POLA_DODATKOWE";
constexpr const char* kClassifierKind = "Pracownik";
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
      svc::setClassifierFilter(kClassifierKind, values_.classifiers);
      show();
      window_->select(kNumber);
      return 0;
    }
    if (e.control == kAdditionalFields) {
      editClassifiers();
      return 0;
    }
    if (e.control == kCalendar) {
      if (!read()) return 0;
      values_.birthDay = svc::KALENDARZ(window_, kCalendar, static_cast<long>(values_.birthDay));
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
    window_->setValue(kAdditionalFields, hasClassifiers(values_) ? "1" : "0");
  }

  static bool hasClassifiers(const EmployeeFilterValues& v) {
    for (const auto& value : v.classifiers)
      if (!trimmed(value).empty()) return true;
    return false;
  }

  // The classifiers' window edits the kind's filter values, which are the remembered
  // ones: while this window is open they follow it (FILTRPRACOWNIKA puts them back when
  // it is cancelled).
  void editClassifiers() {
    svc::KLASYFIKATORY_OKNO(kClassifierKind, svc::kClassifierFilterUse);
    values_.classifiers = svc::classifierFilter(kClassifierKind);
    show();
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
  for (const auto& value : classifiers)
    if (!trimmed(value).empty()) return false;
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
  EmployeeFilterValues values = remembered();
  values.classifiers = svc::classifierFilter(kClassifierKind);
  return values;
}

void rememberEmployeeFilter(const EmployeeFilterValues& values) {
  std::lock_guard lock(rememberedMutex);
  remembered() = values;
  svc::setClassifierFilter(kClassifierKind, values.classifiers);
}

namespace {

std::string rememberedCondition() {
  std::string condition = employeeFilterCondition(rememberedEmployeeFilter());
  const std::string classifiers = svc::KLASYFIKATORY_UTWORZSQL(kClassifierKind, "a.id_pracownika");
  if (!classifiers.empty()) condition += (condition.empty() ? "" : " and ") + classifiers;
  return condition;
}

}  // namespace

int FILTRPRACOWNIKA(bool silent, std::string* condition) {
  if (silent) {
    if (condition) *condition = rememberedCondition();
    return data::kRequestCompleted;
  }
  const EmployeeFilterValues before = rememberedEmployeeFilter();
  FilterWindow window(before);
  if (window.run() != data::kRequestCompleted) {
    svc::setClassifierFilter(kClassifierKind, before.classifiers);
    return data::kRequestCancelled;
  }
  rememberEmployeeFilter(window.values());
  if (condition) *condition = rememberedCondition();
  return data::kRequestCompleted;
}

}  // namespace slownik::staff
