#include "dictionaries/tax_currency/rate_period_window.h"

#include <memory>

#include "framework/runtime/date_time.h"
#include "framework/runtime/event.h"
#include "framework/runtime/window.h"
#include "framework/services/messages.h"
#include "framework/services/progress_window.h"
#include "framework/services/rates/rate_table.h"
#include "framework/services/window_services.h"
#include "framework/sql/thread_database.h"

namespace slownik::tax_currency {
namespace {

constexpr const char* kResource = "slownik$slown005";
constexpr const char* kType = "P1$WINDOW";
constexpr const char* kFrom = "?OD_DNIA";
constexpr const char* kTo = "?DO_DNIA";
constexpr const char* kFromCalendar = "?KALENDARZ_OD";
constexpr const char* kToCalendar = "?KALENDARZ_DO";
constexpr const char* kNbp = "?NBP";
constexpr const char* kEcb = "?ECB";
constexpr const char* kOk = "?OK";
constexpr const char* kCancel = "?CANCEL";

std::string shown(long day) { return rt::formatShortDate(static_cast<std::int32_t>(day)); }

// The period window played with its own small event loop: it edits two dates, not a record.
class PeriodWindow {
 public:
  explicit PeriodWindow(std::int32_t day) {
    const std::int32_t today = rt::today();
    const std::int32_t last = day > 0 && day <= today ? day : today;
    auto date = rt::civilDate(last);
    period_.to = last;
    period_.from = date ? rt::dayNumber(date->year, date->month, 1) : last;
  }

  //! The period confirmed; nullopt when the person cancelled.
  std::optional<svc::RatePeriod> ask() {
    window_ = rt::Window::open(kResource, kType);
    if (!window_) return std::nullopt;
    window_->setValue(kFrom, shown(period_.from));
    window_->setValue(kTo, shown(period_.to));
    window_->setValue(kNbp, "1");
    window_->setValue(kEcb, "1");
    window_->select(kFrom);
    std::optional<svc::RatePeriod> chosen;
    for (;;) {
      rt::Event e = window_->nextEvent();
      if (e.code == rt::event::CloseWindow) break;
      if (e.code != rt::event::Accepted) continue;
      if (e.control == kCancel) break;
      if (e.control == kFromCalendar || e.control == kToCalendar) {
        pickDate(e.control == kFromCalendar ? kFrom : kTo);
        continue;
      }
      if (e.control == kOk && read()) {
        chosen = period_;
        break;
      }
    }
    window_->close();
    return chosen;
  }

 private:
  std::optional<long> dateOf(const char* control) {
    const std::string text = window_->value(control);
    if (text.find_first_not_of(' ') == std::string::npos) return 0L;
    auto day = rt::parseDate(text, rt::TwoDigitYears::NearFuture, rt::today());
    if (!day) return std::nullopt;
    return *day;
  }

  void pickDate(const char* control) {
    long day = dateOf(control).value_or(0);
    long chosen = svc::KALENDARZ(0, 15, day > 0 ? day : rt::today());
    if (chosen > 0) window_->setValue(control, shown(chosen));
  }

  // Takes what was typed; false (told, the field focused) when it can't be asked.
  bool read() {
    for (const char* control : {kFrom, kTo}) {
      auto day = dateOf(control);
      if (!day) {
        svc::MSG_OSTRZEZENIE(control == kFrom ? "Niepoprawna data początkowa!" : "Niepoprawna data końcowa!");
        window_->select(control);
        return false;
      }
      (control == kFrom ? period_.from : period_.to) = *day;
    }
    period_.nbp = window_->value(kNbp) == "1";
    period_.ecb = window_->value(kEcb) == "1";
    if (auto problem = svc::ratePeriodProblem(period_, rt::today())) {
      svc::MSG_OSTRZEZENIE(*problem);
      window_->select(period_.from > 0 && period_.to > 0 && period_.from <= period_.to ? kTo : kFrom);
      return false;
    }
    return true;
  }

  svc::RatePeriod period_;
  std::shared_ptr<rt::Window> window_;
};

std::string counted(int stored, int kept) {
  std::string text = "zapisano " + std::to_string(stored);
  if (kept > 0) text += ", pominięto już zapisane: " + std::to_string(kept);
  return text;
}

}  // namespace

std::string ratePeriodReport(const svc::RatePeriod& period, const svc::RatePeriodDownload& result) {
  std::string tables;
  if (period.nbp) tables += "|Tabele NBP: " + counted(result.nbpStored, result.nbpKept) + ".";
  if (period.ecb) tables += "|Tabele ECB: " + counted(result.ecbStored, result.ecbKept) + ".";
  if (result.ok)
    return "Pobrano kursy walut za okres od " + shown(period.from) + " do " + shown(period.to) + "." + tables;
  const std::string kept = "|Kursy zapisane do tej chwili pozostały w bazie." + tables;
  if (result.cancelled) return std::string(svc::kRatesCancelled) + kept;
  return result.error + kept;
}

int downloadRatePeriodWindow(std::int32_t day) {
  auto period = PeriodWindow(day).ask();
  if (!period) return 0;
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) {
    svc::MSG_OSTRZEZENIE("Nie można pobrać kursów walut: " + status.message());
    return 0;
  }
  svc::RatePeriodDownload result;
  {
    // Each request may take seconds; each day's table is stored as soon as it is in hand,
    // so "Anuluj" stops between them and keeps the days stored.
    svc::ProgressWindow progress;
    progress.open("Pobieranie kursów walut za okres");
    progress.setTotal(svc::ratePeriodRequests(*period));
    auto step = [&](const svc::RatePeriodStep& s) {
      progress.setProgress(s.requestsDone);
      progress.setText(s.what);
      progress.setCounter("Zapisane dni: " + std::to_string(s.storedDays));
      return !progress.checkCancel();
    };
    result = svc::downloadRatePeriod(*db, *period, step);
  }
  const std::string report = ratePeriodReport(*period, result);
  if (result.ok || result.cancelled)
    svc::MSG_INFORMACJA(report);
  else
    svc::MSG_OSTRZEZENIE(report);
  return result.stored();
}

}  // namespace slownik::tax_currency
