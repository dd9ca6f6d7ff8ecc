#include "dictionaries/banking/cash_desk_form.h"

#include <cstdlib>

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kSymbol = "?KAS:SYMBOL";
const char* const kEditable[] = {kSymbol, "?KAS:NAZWA", "?KAS:KONTO_FK", "?KAS:RAP_WALUTOWE", "?OK"};

}  // namespace

CashDeskForm::CashDeskForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor CashDeskForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 37;
  d.procedure = "Kasa_upd";
  d.table = "KASY_FIRMY";
  d.titles = {"Dodawanie kasy", "Edycja kasy", "View Record"};
  // Field numbers in KASY_FIRMY's order.
  d.history = {{kSymbol, 4}, {"?KAS:NAZWA", 3}, {"?KAS:KONTO_FK", 5}, {"?KAS:RAP_WALUTOWE", 6}};
  // "EKasy" is a right of one desk, checked in prepare(): the descriptor's edit right
  // would be asked for the company as a whole.
  d.helpPage = "kar_fin_kas.htm";
  d.firstField = kSymbol;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void CashDeskForm::prepare() {
  if (request() == data::kInsertRecord) {
    data::field("KAS:NAZWA").set("");
    display();
  }
  if (request() == data::kChangeRecord && svc::POBIERZUPRAWNIENIE("EKasy", data::field("KAS:ID_KASY").number()) != 1) {
    for (const char* control : kEditable) window()->disable(control);
  }
}

bool CashDeskForm::checkBeforeSave() {
  return !isTaken("symbol", text("KAS:SYMBOL"), "Kasa o takim symbolu już istnieje!") &&
         !isTaken("nazwa", text("KAS:NAZWA"), "Kasa o takiej nazwie już istnieje!");
}

bool CashDeskForm::isTaken(std::string_view column, const std::string& value, std::string_view message) {
  std::string count =
      svc::FUNCSQL("select count(*) from kasy_firmy  where " + std::string(column) + "=" + sql::quote(value) +
                   " and id_kasy<>" + sql::sqlId(data::field("KAS:ID_KASY").number()) +
                   " and id_firmy=" + sql::sqlId(data::field("KAS:ID_FIRMY").number()));
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return true;
  }
  if (std::atoll(count.c_str()) > 0) {
    warn(message);
    return true;
  }
  return false;
}

}  // namespace slownik::banking

extern "C" void KASA_UPD() {
  slownik::banking::CashDeskForm form;
  form.run();
}
