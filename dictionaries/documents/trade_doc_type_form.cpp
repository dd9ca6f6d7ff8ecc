#include "dictionaries/documents/trade_doc_type_form.h"

#include <string>

#include "dictionaries/documents/doc_type_form.h"
#include "dictionaries/documents/trade_doc_type_kinds.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/rights.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?TYPDH:NAZWA";
constexpr const char* kKind = "?TYPDOK";
constexpr const char* kSignature = "?TYPDH:SYGNATURA";
constexpr const char* kSumming = "?TYPDH:SUMOWANIE";
constexpr const char* kSummingPrompt = "?TYPDH:SUMOWANIE:PROMPT";
constexpr const char* kActive = "?TYPDH:AKTYWNY";
constexpr const char* kSave = "?OK";

}  // namespace

TradeDocTypeForm::TradeDocTypeForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor TradeDocTypeForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 92;
  d.procedure = "Typ_dokumentu_handlowego_upd";
  d.table = "TYP_DOKUMENTU_HANDLOWEGO";
  d.lookupTables = {"NUMERACJA"};
  d.titles = {"Dodawanie typu dokumentu", "Edycja typu dokumentu", "View Record"};
  d.history = {{kName, 4}, {kSignature, 5}, {kSumming, 7}, {kActive, 9}};
  d.helpPage = "kar_typdok_han.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void TradeDocTypeForm::primeFields() {
  data::field("TYPDH:ID_FIRMY").set(data::glo().ID_FIRMY.get());
  data::field("TYPDH:CZY_SYSTEMOWY").set(0);
  data::field("TYPDH:AKTYWNY").set(1);
  // A new type has no class until its kind is chosen.
  data::field("TYPDH:KOD_RODZAJU").set("z");
  data::field("TYPDH:SUMOWANIE").set("Netto");
}

void TradeDocTypeForm::prepare() {
  window()->setValue(kKind, std::string(textOfCode(kTradeKinds, text("TYPDH:KOD_RODZAJU"))));
  if (request() == data::kViewRecord) return;  // the form locked every field
  if (data::field("TYPDH:CZY_SYSTEMOWY").number() == 1)
    for (const char* control : {kName, kSignature, kKind}) window()->disable(control);
  switch (tradeSummingRule(text("TYPDH:SYGNATURA"))) {
    case SummingRule::GrossOnly:
      data::field("TYPDH:SUMOWANIE").set("Brutto");
      window()->disable(kSumming);
      break;
    case SummingRule::Hidden:
      window()->hide(kSumming);
      window()->hide(kSummingPrompt);
      break;
    case SummingRule::Free:
      break;
  }
  // Switching a type off in the program is left to anyone who may open it.
  if (svc::POBIERZUPRAWNIENIE("ETypDokHandl") != 1)
    for (const char* control : {kName, kKind, kSignature, kSumming, kSave}) window()->disable(control);
  display();
}

int TradeDocTypeForm::afterAccepted(const rt::Event& e) {
  if (e.control != kKind) return fw::kLevelBenign;
  std::string_view code = codeOfText(kTradeKinds, window()->value(kKind));
  if (code.empty()) return fw::kLevelBenign;
  data::field("TYPDH:KOD_RODZAJU").set(std::string(code));
  // The class follows the signature as it stands now; a later signature change keeps it.
  if (std::optional<int> kindClass = tradeKindClass(code, text("TYPDH:SYGNATURA")))
    data::field("TYPDH:KLASA_RODZAJU").set(*kindClass);
  return fw::kLevelBenign;
}

void TradeDocTypeForm::afterSave() {
  double company = data::field("TYPDH:ID_FIRMY").number();
  double type = data::field("TYPDH:ID_TYPU").number();
  if (request() == data::kDeleteRecord) {
    data::glo().DOKHANDL_DRZEWKO_LOADED = 0;
    deleteTypeNumbering(kTradeFamily, company, type);
    return;
  }
  std::string signature = clipRight(text("TYPDH:SYGNATURA"));
  if (request() == data::kChangeRecord && signature != clipRight(savedValue("TYPDH:SYGNATURA")))
    renameTypeNumbering(kTradeFamily, company, type, signature);
  // The host builds its tree of trade document types from these rows.
  if (recordChangedSinceOpening(*this)) data::glo().DOKHANDL_DRZEWKO_LOADED = 0;
}

void runTradeDocTypeForm() {
  TradeDocTypeForm form;
  form.run();
}

}  // namespace slownik::documents
