#include "dictionaries/company/place_pickers.h"

#include "dictionaries/tax_currency/currency_country_picker.h"
#include "dictionaries/tax_currency/province_list.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/window_services.h"
#include "framework/sql/catalogue.h"

namespace slownik::company {

void addPlacePickers(engine::RecordForm& form) {
  form.addPicker(kCountryPicker, tax_currency::callCountryPicker);
  form.addPicker(kProvincePicker, [] { WOJEWODZTWO_BRW(); });
}

int pickCountry(engine::RecordForm& form, const std::string& field) {
  data::field("KRA:SYM_KRAJU").set(engine::trimmed(data::field(field).text()));
  int answer = form.pick(kCountryPicker);
  if (answer == data::kRequestCompleted) data::field(field).set(data::field("KRA:SYM_KRAJU").text());
  return answer;
}

bool isKnownCountry(const std::string& symbol) {
  const sql::TableDef* countries = sql::Catalogue::instance().find("KRAJE");
  if (!countries) return false;
  data::field("KRA:SYM_KRAJU").set(engine::trimmed(symbol));
  return data::fileManager(*countries).fetch("KRA:PK_KRAJE") == 0;
}

int pickProvince(engine::RecordForm& form, const std::string& field) {
  data::field("WOJ:WOJEWODZTWO").set(data::field(field).text());
  int answer = form.pick(kProvincePicker);
  if (answer == data::kRequestCompleted) data::field(field).set(data::field("WOJ:WOJEWODZTWO").text());
  return answer;
}

void pickDate(engine::RecordForm& form, const std::string& field) {
  data::Field date = data::field(field);
  // The button just pressed has the focus: the calendar opens below it.
  const std::string button = form.window() ? form.window()->focus() : std::string();
  date.set(static_cast<long long>(svc::KALENDARZ(form.sharedWindow(), button, static_cast<long>(date.integer()))));
  form.display();
}

}  // namespace slownik::company
