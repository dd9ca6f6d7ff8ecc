#include "dictionaries/documents/delivery_form_form.h"

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::documents {
namespace {

constexpr const char* kSave = "?OK";
constexpr const char* kSystemNote = "?SYSTEMOWA:INFO";

}  // namespace

DeliveryFormForm::DeliveryFormForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor DeliveryFormForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 67;
  d.procedure = "Forma_dostawy_upd";
  d.table = "FORMA_DOSTAWY";
  d.titles = {"Dodawanie formy dostawy", "Edycja formy dostawy", "Forma dostawy "};
  d.history = {{"?FORD:NAZWA", 2}, {"?FORD:TYP_DOSTAWY", 3}};
  d.helpPage = kDeliveryFormHelp;
  d.firstField = "?FORD:NAZWA";
  d.warning = engine::WarningStyle::Message;
  return d;
}

void DeliveryFormForm::primeFields() { data::field("FORD:SYSTEMOWA").set(0); }

void DeliveryFormForm::prepare() {
  if (request() == data::kInsertRecord || data::field("FORD:SYSTEMOWA").number() != 1) return;
  // The shop integration finds its forms by name and type: they are only shown. A delete
  // request keeps its own way (the list refuses it before).
  if (request() == data::kChangeRecord) setRequest(data::kViewRecord);
  for (const char* control : {"?FORD:NAZWA", "?FORD:TYP_DOSTAWY"}) {
    window()->disable(control);
    window()->setReadOnly(control, true);
  }
  if (request() == data::kViewRecord) window()->hide(kSave);
  window()->unhide(kSystemNote);
}

void runDeliveryFormForm() {
  DeliveryFormForm form;
  form.run();
}

}  // namespace slownik::documents
