#include "dictionaries/tax_currency/province_form.h"

#include "engine/record_form.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::tax_currency {
namespace {

engine::FormDescriptor provinceForm() {
  engine::FormDescriptor d;
  d.module = 52;
  d.procedure = "Wojewodztwo_Upd";
  d.helpPage = "slownik_wojewodztwo_upd.htm";
  d.table = "WOJEWODZTWO";
  d.titles = {"Dodawanie województwa", "Edycja województwa", "Podgląd województwa"};
  d.history = {{"?WOJ:WOJEWODZTWO", 2}};
  d.firstField = "?WOJ:WOJEWODZTWO";
  return d;
}

class ProvinceForm : public engine::RecordForm {
 public:
  ProvinceForm() : RecordForm(provinceForm()) {}

  bool checkBeforeSave() override {
    std::string name = text("WOJ:WOJEWODZTWO");
    if (engine::trimmed(name).empty()) {
      warn("Nazwa województwa musi być wypełniona!");
      return false;
    }
    // A change of letter case only is the same province.
    if (request() == data::kChangeRecord && engine::equalsIgnoringCase(name, savedValue("WOJ:WOJEWODZTWO")))
      return true;
    // Judged without regard to letter case, so the database must find it that way too,
    // as the unique index compares; the edited row is no duplicate of itself.
    std::string query = "select WOJEWODZTWO from WOJEWODZTWO where UPPER(WOJEWODZTWO)=UPPER(" + sql::quote(name) + ")";
    if (request() == data::kChangeRecord)
      query += " and ID_WOJEWODZTWA<>" + sql::sqlId(data::field("WOJ:ID_WOJEWODZTWA").number());
    svc::EXECSQL(query);
    if (rt::errorCode() != 0) {
      warn("Wystąpił problem podczas zatwierdzania danych województwa!|Powód: " + rt::errorText());
      return false;
    }
    std::string found;
    const bool taken = svc::VAX().next();
    if (taken) found = sql::truncateUtf8(svc::VAX().field(std::size_t{1}), 30);
    svc::CLOSESQL();
    if (!taken) return true;
    warn("Uwaga!|Województwo " + engine::trimmed(found) + " już istnieje w kartotece!");
    return false;
  }
};

}  // namespace

void WojewodztwoUpd() {
  ProvinceForm form;
  form.run();
}

}  // namespace slownik::tax_currency
