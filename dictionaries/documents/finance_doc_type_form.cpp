#include "dictionaries/documents/finance_doc_type_form.h"

#include <string>

#include "dictionaries/documents/doc_type_form.h"
#include "dictionaries/documents/finance_doc_type_codes.h"
#include "dictionaries/documents/financial_operation_list.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?TYPDF:NAZWA";
constexpr const char* kSignature = "?TYPDF:SYGNATURA";
constexpr const char* kKind = "?RODZAJ";
constexpr const char* kDirection = "?KIERUNEK";
constexpr const char* kOperation = "?TYPDF:KOD_OPERACJI_DOM";
constexpr const char* kPickOperation = "?KODB";
constexpr int kOperationPicker = 1;
// KOD_OPERACJI_DOM holds five characters.
constexpr std::size_t kOperationWidth = 5;

}  // namespace

FinanceDocTypeForm::FinanceDocTypeForm() : RecordForm(makeDescriptor()) {
  addPicker(kOperationPicker, [] { RODZAJ_OPERACJI_FIN_BRW(); });
}

engine::FormDescriptor FinanceDocTypeForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 94;
  d.procedure = "Typ_dokumentu_finansowego_upd";
  d.table = "TYP_DOKUMENTU_FINANSOWEGO";
  d.lookupTables = {"RODZAJ_OPERACJI_FIN", "NUMERACJA"};
  d.titles = {"Dodawanie typu dokumentu", "Edycja typu dokumentu", "View Record"};
  d.history = {{kName, 4}, {kSignature, 6}, {kOperation, 8}};
  d.helpPage = "kar_typdok_fin.htm";
  d.firstField = kName;
  return d;
}

void FinanceDocTypeForm::prepare() {
  window()->setValue(kDirection, std::string(textOfCode(kFinanceDirections, text("TYPDF:KIERUNEK"))));
  window()->setValue(kKind, std::string(textOfCode(kFinanceFormKinds, text("TYPDF:RODZAJ_OPERACJI"))));
  if (request() == data::kViewRecord) {
    window()->disable(kKind);
    window()->disable(kDirection);
  }
}

bool FinanceDocTypeForm::checkBeforeSave() {
  if (std::string_view code = codeOfText(kFinanceDirections, window()->value(kDirection)); !code.empty())
    data::field("TYPDF:KIERUNEK").set(std::string(code));
  if (std::string_view code = codeOfText(kFinanceFormKinds, window()->value(kKind)); !code.empty())
    data::field("TYPDF:RODZAJ_OPERACJI").set(std::string(code));
  return true;
}

int FinanceDocTypeForm::afterAccepted(const rt::Event& e) {
  if (e.control == kOperation) {
    display();
  } else if (e.control == kPickOperation) {
    update();
    data::field("ROF:KOD_OPERACJI").set(text("TYPDF:KOD_OPERACJI_DOM"));
    if (pick(kOperationPicker) == data::kRequestCompleted)
      data::field("TYPDF:KOD_OPERACJI_DOM").set(engine::trimmed(text("ROF:KOD_OPERACJI")).substr(0, kOperationWidth));
    display();
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void FinanceDocTypeForm::afterSave() {
  double company = data::field("TYPDF:ID_FIRMY").number();
  double type = data::field("TYPDF:ID_TYPU").number();
  if (request() == data::kDeleteRecord) {
    deleteTypeNumbering(kFinanceFamily, company, type);
    return;
  }
  std::string signature = clipRight(text("TYPDF:SYGNATURA"));
  if (request() == data::kChangeRecord && signature != clipRight(savedValue("TYPDF:SYGNATURA")))
    renameTypeNumbering(kFinanceFamily, company, type, signature);
}

void runFinanceDocTypeForm() {
  FinanceDocTypeForm form;
  form.run();
}

}  // namespace slownik::documents
