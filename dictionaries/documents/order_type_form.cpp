#include "dictionaries/documents/order_type_form.h"

#include "dictionaries/documents/doc_type_form.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?TYPDMAG:NAZWA";
constexpr const char* kSignature = "?TYPDMAG:SYGNATURA";
constexpr const char* kKind = "?TYPDMAG:RODZAJ";

}  // namespace

OrderTypeForm::OrderTypeForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor OrderTypeForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 96;
  d.procedure = "Typ_zlecenia_Upd";
  d.table = "TYP_DOKUMENTU_MAGAZYNOWEGO";
  d.titles = {"Nowy typ zlecenia ", "Edycja typu zlecenia", "Podgląd typu zlecenia"};
  d.history = {{kName, 5}, {kSignature, 8}, {kKind, 6}};
  d.helpPage = "vex_prod.htm";
  d.firstField = kName;
  return d;
}

void OrderTypeForm::prepare() {
  if (request() != data::kChangeRecord || svc::POBIERZUPRAWNIENIE("ETypDokProd") == 1) return;
  svc::warningBox("Brak uprawnień na edytowanie typów zleceń produkcyjnych!");
  for (const char* control : {kName, kSignature}) window()->setReadOnly(control, true);
  window()->disable("?OK");
  window()->setText("?CANCEL", "&Zamknij");
}

bool OrderTypeForm::checkBeforeSave() {
  // Order documents are numbered by the signature like warehouse documents, from the
  // same table: the rules of the warehouse types hold here as well.
  if (std::optional<std::string> problem =
          warehouseTableSignatureProblem(data::field("TYPDMAG:ID_TYPU").number(), text("TYPDMAG:SYGNATURA"))) {
    warn(*problem);
    focus(kSignature);
    return false;
  }
  return true;
}

void runOrderTypeForm() {
  OrderTypeForm form;
  form.run();
}

}  // namespace slownik::documents
