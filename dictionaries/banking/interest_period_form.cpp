#include "dictionaries/banking/interest_period_form.h"

#include <cstdint>

#include "dictionaries/banking/interest_chain.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::banking {
namespace {

constexpr const char* kStart = "?ODS:OD_DNIA";
constexpr const char* kRate = "?ODS:STOPA";
constexpr const char* kDays = "?ODS:ZA_OKRES";

std::int32_t startDay() { return static_cast<std::int32_t>(data::field("ODS:OD_DNIA").integer()); }

}  // namespace

InterestPeriodForm::InterestPeriodForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor InterestPeriodForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 10;
  d.procedure = "Odsetki_Upd";
  d.table = "ODSETKI";
  d.titles = {"Dodawanie tabeli", "Edycja tabeli", "View Record"};
  // Field numbers in ODSETKI's order: table, start, end, rate, days.
  d.history = {{kStart, 2}, {kRate, 4}, {kDays, 5}};
  d.helpPage = "kar_fin_odset.htm";
  d.firstField = kStart;
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool InterestPeriodForm::checkBeforeSave() {
  const std::int32_t start = startDay();
  if (start <= 0) {
    warn("Proszę wprowadzić datę rozpoczęcia okresu!");
    return false;
  }
  // A change that keeps its start day meets only itself; one that moves it to another
  // period's day would meet that period's key, so it is told the same way as an insert.
  bool startChanged = request() == data::kInsertRecord || savedValue("ODS:OD_DNIA") != text("ODS:OD_DNIA");
  if (startChanged) {
    PeriodCheck taken = periodStartsOn(data::field("ODS:ID_TABELI_ODSETEK").number(), start);
    if (taken.failed()) {
      warn(taken.error);
      return false;
    }
    if (taken.found) {
      warn("Zapis o dacie rozpoczęcia okresu już istnieje!");
      return false;
    }
  }
  if (data::field("ODS:ZA_OKRES").number() <= 0) {
    warn("Okres musi być większy od 0!");
    return false;
  }
  if (data::field("ODS:STOPA").number() <= 0) {
    warn("Stopa odsetek musi być większa od 0!");
    return false;
  }
  return true;
}

void OdsetkiUpd() {
  InterestPeriodForm form;
  form.run();
}

}  // namespace slownik::banking
