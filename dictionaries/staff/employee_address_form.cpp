#include "dictionaries/staff/employee_address_form.h"

#include <cstdlib>

#include "dictionaries/company/place_pickers.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::staff {
namespace {

constexpr const char* kDate = "?ADRPRA:DATA_OD";
constexpr const char* kCountry = "?ADRPRA:SYM_KRAJU";

}  // namespace

EmployeeAddressForm::EmployeeAddressForm() : CheckedForm(makeDescriptor()) { company::addPlacePickers(*this); }

engine::FormDescriptor EmployeeAddressForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 102;
  d.procedure = "Adres_Pracownika_Upd";
  d.table = "ADRESY_PRACOWNIKA";
  d.lookupTables = {"KRAJE", "WOJEWODZTWO"};
  d.titles = {"Dodawanie adresu", "Edycja adresu", "View Record"};
  // Field numbers in ADRESY_PRACOWNIKA's order: id, employee, kind, then the address.
  d.history = {{kDate, 4},
               {kCountry, 5},
               {"?ADRPRA:WOJEWODZTWO", 6},
               {"?ADRPRA:POWIAT", 7},
               {"?ADRPRA:GMINA", 8},
               {"?ADRPRA:ULICA", 9},
               {"?ADRPRA:NR_DOMU", 10},
               {"?ADRPRA:NR_LOKALU", 11},
               {"?ADRPRA:MIEJSCOWOSC", 12},
               {"?ADRPRA:KOD_POCZTOWY", 13},
               {"?ADRPRA:POCZTA", 14},
               {"?ADRPRA:SKRYTKA", 15},
               {"?ADRPRA:TELEFON", 16},
               {"?ADRPRA:E_MAIL", 17}};
  d.lockedControls = {"?KALENDARZ", "?KRAJ:WYBIERZ", "?WOJEWODZTWO:WYBIERZ"};
  d.helpPage = "kar_prac.htm";
  d.firstField = kDate;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void EmployeeAddressForm::primeFields() {
  data::field("ADRPRA:SYM_KRAJU").set("PL");
  data::field("ADRPRA:DATA_OD").set(static_cast<long long>(rt::today()));
  if (engine::trimmed(data::field("ADRPRA:TYP_ADRESU").text()).empty())
    data::field("ADRPRA:TYP_ADRESU").set(kResidenceAddress);
}

void EmployeeAddressForm::prepare() { dayAtOpen_ = data::field("ADRPRA:DATA_OD").integer(); }

bool EmployeeAddressForm::checkBeforeSave() {
  if (engine::trimmed(text("ADRPRA:SYM_KRAJU")).empty()) return failAt(kCountry, "Musisz wybrać symbol kraju!");
  const long long day = data::field("ADRPRA:DATA_OD").integer();
  // A changed address keeping its day cannot meet another one; a new address can, even
  // on the day it was offered.
  if (request() != data::kInsertRecord && day == dayAtOpen_) return true;
  std::string found = svc::FUNCSQL(
      "select id_adresy_PRAC from adresy_PRACOWNIKA where ID_PRACOWNIKA=" +
      sql::sqlId(data::field("ADRPRA:ID_PRACOWNIKA").number()) + " and TYP_ADRESU=" +
      sql::quote(engine::trimmed(text("ADRPRA:TYP_ADRESU"))) + " and DATA_OD=" + std::to_string(day) +
      " and id_adresy_prac<>" + sql::sqlId(data::field("ADRPRA:ID_ADRESY_PRAC").number()));
  if (rt::errorCode() != 0)
    return failAt(kDate, "Wystąpił problem podczas sprawdzania daty adresu! Powód: " + rt::errorText());
  if (std::atof(found.c_str()) > 0)
    return failAt(kDate, "Proszę zmienić datę obowiązywania adresu!.|Adres o podanej dacie został już wprowadzony.");
  return true;
}

int EmployeeAddressForm::afterAccepted(const rt::Event& e) {
  if (e.control == "?KALENDARZ") {
    update();
    company::pickDate(*this, "ADRPRA:DATA_OD");
  } else if (e.control == "?KRAJ:WYBIERZ") {
    update();
    if (company::pickCountry(*this, "ADRPRA:SYM_KRAJU") == data::kRequestCompleted) focus("?ADRPRA:WOJEWODZTWO");
    display();
  } else if (e.control == "?WOJEWODZTWO:WYBIERZ") {
    update();
    if (company::pickProvince(*this, "ADRPRA:WOJEWODZTWO") == data::kRequestCompleted) focus("?ADRPRA:POWIAT");
    display();
  } else if (e.control == "?ADRPRA:E_MAIL:BUTTON") {
    update("?ADRPRA:E_MAIL");
    engine::openMail(text("ADRPRA:E_MAIL"));
    return fw::kLevelNotify;
  } else if (e.control == kCountry) {
    const std::string typed = engine::trimmed(text("ADRPRA:SYM_KRAJU"));
    if (!typed.empty() && !company::isKnownCountry(typed)) {
      if (company::pickCountry(*this, "ADRPRA:SYM_KRAJU") != data::kRequestCompleted) {
        focus(kCountry);
        return fw::kLevelNotify;
      }
      display();
    }
  }
  return fw::kLevelBenign;
}

int EmployeeAddressForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::staff

void ADRES_PRACOWNIKA_UPD() {
  slownik::staff::EmployeeAddressForm form;
  form.run();
}
