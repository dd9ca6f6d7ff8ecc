#include "dictionaries/tax_currency/country_form.h"

#include "engine/record_form.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::tax_currency {
namespace {

engine::FormDescriptor countryForm() {
  engine::FormDescriptor d;
  d.module = 42;
  d.procedure = "Kraj_Upd";
  d.helpPage = "slownik_kraj_upd.htm";
  d.table = "KRAJE";
  d.titles = {"Dodawanie kraju", "Edycja kraju", "Podgląd kraju"};
  d.history = {{"?KRA:SYM_KRAJU", 1}, {"?KRA:NAZWA", 2}};
  d.firstField = "?KRA:SYM_KRAJU";
  return d;
}

class CountryForm : public engine::RecordForm {
 public:
  CountryForm() : RecordForm(countryForm()) {}

  bool checkBeforeSave() override {
    std::string symbol = text("KRA:SYM_KRAJU");
    std::string name = text("KRA:NAZWA");
    if (engine::trimmed(symbol).empty() || engine::trimmed(name).empty()) {
      warn("Symbol kraju i jego nazwa muszą być wypełnione!");
      return false;
    }
    std::string openingSymbol = savedValue("KRA:SYM_KRAJU");
    std::string openingName = savedValue("KRA:NAZWA");
    if (request() == data::kChangeRecord && symbol == openingSymbol && name == openingName) return true;

    // Duplicates are judged without regard to letter case, so the database must find
    // them that way too: our backends compare text case-sensitively. Every row that
    // matches is judged, except the edited row itself (known by the symbol it was read
    // with): a symbol of one country and a name of another give two rows, in no order.
    std::string query = "select SYM_KRAJU,NAZWA from KRAJE where (UPPER(NAZWA)=UPPER(" + sql::quote(name) +
                      ") or UPPER(SYM_KRAJU)=UPPER(" + sql::quote(symbol) + "))";
    if (request() == data::kChangeRecord) query += " and SYM_KRAJU<>" + sql::quote(openingSymbol);
    svc::EXECSQL(query + " order by SYM_KRAJU");
    if (rt::errorCode() != 0) {
      warn("Wystąpił problem podczas zatwierdzania danych kraju! Powód: " + rt::errorText());
      return false;
    }
    // Whatever the database matched is taken: it compares as the unique indexes do.
    std::string foundSymbol;
    std::string foundName;
    const bool taken = svc::VAX().next();
    if (taken) {
      foundSymbol = svc::VAX().field(std::size_t{1});
      foundName = svc::VAX().field(std::size_t{2});
    }
    svc::CLOSESQL();
    if (!taken) return true;
    warn("Uwaga!|Kraj " + engine::trimmed(foundName) + " o symbolu " + engine::trimmed(foundSymbol) +
         " już istnieje w kartotece!");
    return false;
  }
};

}  // namespace

void KrajUpd() {
  CountryForm form;
  form.run();
}

}  // namespace slownik::tax_currency
