#include "dictionaries/company/company_address_form.h"

#include <cstdlib>

#include "dictionaries/company/place_pickers.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kDate = "?ADRFIR:DATA_OD";
constexpr const char* kCountry = "?ADRFIR:SYM_KRAJU";
constexpr const char* kTown = "?ADRFIR:MIEJSCOWOSC";
constexpr const char* kPlaceOfIssue = "MiejWystFak/Rach";

}  // namespace

CompanyAddressForm::CompanyAddressForm(double company, int companyRequest)
    : CheckedForm(makeDescriptor()), company_(company), companyRequest_(companyRequest) {
  addPlacePickers(*this);
}

engine::FormDescriptor CompanyAddressForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 35;
  d.procedure = "Adres_Firmy_Upd";
  d.table = "ADRESY_FIRMY";
  d.lookupTables = {"KRAJE", "WOJEWODZTWO"};
  d.titles = {"Dodawanie adresu", "Edycja adresu", "View Record"};
  // Field numbers in ADRESY_FIRMY's order: id, company, then the address.
  d.history = {{kCountry, 3},           {kDate, 4},
               {"?ADRFIR:WOJEWODZTWO", 5}, {"?ADRFIR:POWIAT", 6},
               {"?ADRFIR:GMINA", 7},    {kTown, 8},
               {"?ADRFIR:KOD_POCZTOWY", 9}, {"?ADRFIR:POCZTA", 10},
               {"?ADRFIR:ULICA", 11},   {"?ADRFIR:NR_DOMU", 12},
               {"?ADRFIR:NR_LOKALU", 13}, {"?ADRFIR:SKRYTKA", 14},
               {"?ADRFIR:TELEFON", 15}, {"?ADRFIR:FAKS", 16},
               {"?ADRFIR:E_MAIL", 17}};
  d.lockedControls = {"?KALENDARZ", "?KRAJ:WYBIERZ", "?WOJEWODZTWO:WYBIERZ"};
  d.helpPage = "vex_fir.htm";
  d.firstField = kDate;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void CompanyAddressForm::primeFields() {
  // The company's address list primes the row with the company; from elsewhere the
  // caller names it.
  if (data::field("ADRFIR:ID_FIRMY").number() <= 0) data::field("ADRFIR:ID_FIRMY").set(company_);
  data::field("ADRFIR:SYM_KRAJU").set("PL");
  data::field("ADRFIR:DATA_OD").set(static_cast<long long>(rt::today()));
  data::field("ADRFIR:TYP_ADRESU").set("S");
}

void CompanyAddressForm::prepare() { dayAtOpen_ = data::field("ADRFIR:DATA_OD").integer(); }

bool CompanyAddressForm::checkBeforeSave() {
  if (engine::trimmed(text("ADRFIR:SYM_KRAJU")).empty()) {
    return failAt(kCountry, "Musisz wybrać symbol kraju!");
  }
  if (engine::trimmed(text("ADRFIR:MIEJSCOWOSC")).empty() && engine::trimmed(text("ADRFIR:POCZTA")).empty()) {
    return failAt(kTown, "Miejscowość i poczta jednocześnie nie mogą być puste!");
  }
  const long long day = data::field("ADRFIR:DATA_OD").integer();
  // A changed address keeping its day cannot meet another one; a new address can, even
  // on the day it was offered.
  if (request() == data::kInsertRecord || day != dayAtOpen_) {
    std::string found = svc::FUNCSQL(
        "select id_adresy_firmy from adresy_firmy where ID_FIRMY=" + sql::sqlId(data::field("ADRFIR:ID_FIRMY").number()) +
        " and TYP_ADRESU=" + sql::quote(text("ADRFIR:TYP_ADRESU")) + " and DATA_OD=" + std::to_string(day) +
        " and id_adresy_firmy<>" + sql::sqlId(data::field("ADRFIR:ID_ADRESY_FIRMY").number()));
    if (rt::errorCode() != 0) {
      return failAt(kDate, "Wystąpił problem podczas sprawdzania daty adresu! Powód: " + rt::errorText());
    }
    if (std::atof(found.c_str()) > 0) {
      return failAt(kDate, "Proszę zmienić datę obowiązywania adresu!.|Adres o podanej dacie został już wprowadzony.");
    }
  }
  return true;
}

int CompanyAddressForm::afterAccepted(const rt::Event& e) {
  if (e.control == "?KALENDARZ") {
    update();
    pickDate(*this, "ADRFIR:DATA_OD");
  } else if (e.control == "?KRAJ:WYBIERZ") {
    update();
    if (pickCountry(*this, "ADRFIR:SYM_KRAJU") == data::kRequestCompleted) focus("?ADRFIR:WOJEWODZTWO");
    display();
  } else if (e.control == "?WOJEWODZTWO:WYBIERZ") {
    update();
    if (pickProvince(*this, "ADRFIR:WOJEWODZTWO") == data::kRequestCompleted) focus("?ADRFIR:POWIAT");
    display();
  } else if (e.control == "?ADRFIR:E_MAIL:BUTTON") {
    update("?ADRFIR:E_MAIL");
    engine::openMail(text("ADRFIR:E_MAIL"));
    return fw::kLevelNotify;
  } else if (e.control == kCountry) {
    const std::string typed = engine::trimmed(text("ADRFIR:SYM_KRAJU"));
    if (!typed.empty() && !isKnownCountry(typed)) {
      if (pickCountry(*this, "ADRFIR:SYM_KRAJU") != data::kRequestCompleted) {
        focus(kCountry);
        return fw::kLevelNotify;
      }
      display();
    }
  }
  return fw::kLevelBenign;
}

void CompanyAddressForm::afterSave() {
  if (request() != data::kInsertRecord && request() != data::kChangeRecord) return;
  // Reports read the address's day as a datetime; the database keeps that copy.
  svc::EXECSQL("update adresy_firmy set KP_DATA_OD = CAST((DATA_OD-36163) AS datetime) where ID_ADRESY_FIRMY=" +
               sql::sqlId(data::field("ADRFIR:ID_ADRESY_FIRMY").number()));
  svc::CLOSESQL();
  offerPlaceOfIssue();
}

void CompanyAddressForm::offerPlaceOfIssue() {
  if (companyRequest_ != data::kChangeRecord) return;
  if (data::field("ADRFIR:ID_FIRMY").number() != data::glo().ID_FIRMY.get()) return;
  const std::string town = engine::trimmed(text("ADRFIR:MIEJSCOWOSC"));
  if (town.empty() || town == engine::trimmed(svc::POBIERZPARAMKONF("s", kPlaceOfIssue))) return;
  if (svc::MSG_PYTANIE("Parametr: \"Miejsce wystawienia faktury\" jest inny niż wprowdzone.|Czy zmodyfikować "
                       "parametr?") == svc::kYes)
    svc::USTAWPARAMKONF("s", kPlaceOfIssue, town);
}

int CompanyAddressForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::company

extern "C" void ADRES_FIRMY_UPD(double company, std::uint8_t companyRequest) {
  slownik::company::CompanyAddressForm form(company, companyRequest);
  form.run();
}
