#include "dictionaries/tax_currency/currency_form.h"

#include "dictionaries/tax_currency/currency_country_picker.h"
#include "dictionaries/tax_currency/currency_checks.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/sql/catalogue.h"

namespace slownik::tax_currency {
namespace {
constexpr int kCountryPicker = 1;
constexpr const char* kSymbol = "?WAL:SYM_WALUTY";
constexpr const char* kCountry = "?WAL:SYM_KRAJU";
constexpr const char* kMultiplier = "?WAL:MNOZNIK_WALUTY";
}  // namespace

CurrencyForm::CurrencyForm() : RecordForm(descriptor()) { addPicker(kCountryPicker, callCountryPicker); }

engine::FormDescriptor CurrencyForm::descriptor() {
  engine::FormDescriptor d;
  d.module = 4;
  d.procedure = "Waluty_Upd";
  d.table = "WALUTY";
  d.lookupTables = {"KRAJE"};
  d.titles = {"Dodawanie waluty", "Edycja waluty"};
  d.history = {{kSymbol, 1}, {"?WAL:NAZWA", 3}, {kMultiplier, 5}, {kCountry, 2}, {"?WAL:NUMER", 4}};
  d.editRight = "EWaluty";
  d.lockedControls = {"?CALLLOOKUP"};
  d.helpPage = "kar_fin_walut.htm";
  d.firstField = kSymbol;
  d.warning = engine::WarningStyle::Box;
  return d;
}

void CurrencyForm::primeFields() { data::field("WAL:MNOZNIK_WALUTY").set(1); }

int CurrencyForm::checkField(const rt::Event& e) {
  if (e.control == kMultiplier && window()) {
    if (auto problem = multiplierProblem(window()->value(kMultiplier))) {
      warn(*problem);
      focus(kMultiplier);
      return fw::kLevelNotify;
    }
  }
  return fw::kLevelBenign;
}

bool CurrencyForm::checkBeforeSave() {
  auto problem = currencySaveProblem(text("WAL:SYM_WALUTY"), savedValue("WAL:SYM_WALUTY"),
                                     request() == data::kInsertRecord);
  if (problem) warn(*problem);
  return !problem;
}

int CurrencyForm::pickCountry() {
  data::field("KRA:SYM_KRAJU").set(text("WAL:SYM_KRAJU"));
  int answer = pick(kCountryPicker);
  if (answer == data::kRequestCompleted) data::field("WAL:SYM_KRAJU").set(text("KRA:SYM_KRAJU"));
  return answer;
}

int CurrencyForm::afterAccepted(const rt::Event& e) {
  if (e.control == kCountry) {
    std::string typed = engine::trimmed(text("WAL:SYM_KRAJU"));
    auto control = window() ? window()->control(kCountry) : std::nullopt;
    if (typed.empty() && !(control && control->required)) return fw::kLevelBenign;
    const sql::TableDef* countries = sql::Catalogue::instance().find("KRAJE");
    data::field("KRA:SYM_KRAJU").set(typed);
    bool known = countries && data::fileManager(*countries).fetch("KRA:PK_KRAJE") == 0;
    if (!known && pickCountry() != data::kRequestCompleted) {
      focus(kCountry);
      return fw::kLevelNotify;
    }
    display();
  } else if (e.control == "?CALLLOOKUP") {
    update();
    pickCountry();
    display();
  }
  return fw::kLevelBenign;
}

void WalutyUpd() {
  CurrencyForm form;
  form.run();
}

}  // namespace slownik::tax_currency
