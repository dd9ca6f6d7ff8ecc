#include "dictionaries/documents/classification_form.h"

#include <cstdlib>

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?KLA:NAZWA";

std::string id(std::string_view field) { return sql::sqlId(data::field(field).number()); }

}  // namespace

ClassificationForm::ClassificationForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor ClassificationForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 6;
  d.procedure = "Typ_kontrahenta_Upd";
  d.table = "KLASYFIKACJA_KONTRAHENTA";
  d.titles = {"Dodawanie typu kontrahenta", "Edycja typu kontrahenta", "View Record"};
  d.history = {{kName, 3}, {"?KLA:OPIS", 4}, {"?KLA:DOMYSLNA", 7}};
  d.helpPage = "kar_konpom_klas.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void ClassificationForm::primeFields() { data::field("KLA:NAZWA").set(""); }

void ClassificationForm::prepare() {
  // Without the right to edit, the name and description can't be changed and nothing can
  // be saved; the check box stays as it is for every user.
  if (request() == data::kChangeRecord && svc::POBIERZUPRAWNIENIE("ETypyKontr") != 1)
    for (const char* control : {kName, "?KLA:OPIS", "?OK"}) window()->disable(control);
}

bool ClassificationForm::checkBeforeSave() {
  std::string name = text("KLA:NAZWA");
  if (engine::trimmed(name).empty()) {
    warn("Proszę wprowadzić nazwę klasyfikacji.");
    return false;
  }
  std::string count =
      svc::FUNCSQL("select count(*) from klasyfikacja_kontrahenta  where id_firmy=" + id("KLA:ID_FIRMY") +
                   " and nazwa=" + sql::quote(name) + " and id_klasyfikacji<>" + id("KLA:ID_KLASYFIKACJI"));
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return false;
  }
  if (std::atoi(count.c_str()) > 0) {
    warn("Klasyfikacja kontrahenta o takiej nazwie już istnieje!");
    return false;
  }
  return true;
}

void ClassificationForm::afterSave() {
  if (request() == data::kDeleteRecord || data::field("KLA:DOMYSLNA").number() != 1) return;
  svc::EXECSQL("update KLASYFIKACJA_KONTRAHENTA set domyslna=0 where ID_FIRMY=" + id("KLA:ID_FIRMY") +
               " and id_klasyfikacji<>" + id("KLA:ID_KLASYFIKACJI"));
  svc::CLOSESQL();
}

}  // namespace slownik::documents

extern "C" void TYP_KONTRAHENTA_UPD() {
  slownik::documents::ClassificationForm form;
  form.run();
}
