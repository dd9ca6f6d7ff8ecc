#include "dictionaries/documents/finance_doc_type_list.h"

#include "dictionaries/documents/doc_type_list.h"
#include "dictionaries/documents/finance_doc_type_codes.h"
#include "dictionaries/documents/finance_doc_type_form.h"
#include "framework/data/requests.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor financeDocTypeList() {
  engine::ListDescriptor d;
  d.module = 93;
  d.procedure = "Typ_dokumentu_finansowego_brw";
  d.table = "TYP_DOKUMENTU_FINANSOWEGO";
  d.windowKey = "TypDokFin";
  d.helpPage = "kar_typdok_fin.htm";
  d.right = "TypDokFin";
  d.rightMessage = "Brak uprawnień na dostęp do typów dokumentów finansowych!";
  d.rightWarning = engine::WarningStyle::Message;
  d.viewRight = "OTypDokFin";
  d.viewRightMessage = "Brak uprawnień na oglądanie typów dokumentów finansowych!";
  d.deleteRight = "UTypDokFin";
  d.deleteRightMessage = "Brak uprawnień na usuwanie typów dokumentów finansowych!";
  d.warning = engine::WarningStyle::Box;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"TYPDF:FK_FIRMA_NAZWA", engine::LocatorKind::None, "", ""}};
  d.companyField = "TYPDF:ID_FIRMY";
  d.columns = {"TYPDF:ID_TYPU", "TYPDF:NAZWA",         "TYPDF:SYGNATURA", "rodzaj",
               "kierunek",      "TYPDF:KOD_OPERACJI_DOM", "TYPDF:CZY_SYSTEMOWY", "TYPDF:ID_FIRMY"};
  d.headerSorter = true;
  // The types come with the database: Dodaj and Usuń stay disabled, nothing is picked.
  d.insertButton = false;
  d.deleteButton = false;
  d.selectButton = false;
  d.form = runFinanceDocTypeForm;
  return d;
}

class FinanceDocTypeList : public DocTypeList {
 public:
  FinanceDocTypeList() : DocTypeList(financeDocTypeList(), "TYPDF:CZY_SYSTEMOWY") {}

  void setRanges(data::ViewManager& view) override {
    // Bound under names so that filters and header sorts can use the texts.
    view.bindExpression("rodzaj", codeTextSql("TYPDF:RODZAJ_OPERACJI", kFinanceKindTexts));
    view.bindExpression("kierunek", codeTextSql("TYPDF:KIERUNEK", kFinanceDirections));
  }

  using DocTypeList::run;
  int run(int number, int request) override {
    if (request == data::kInsertRecord || request == data::kDeleteRecord) return data::kRequestCancelled;
    return DocTypeList::run(number, request);
  }
};

}  // namespace
}  // namespace slownik::documents

extern "C" void TYP_DOKUMENTU_FINANSOWEGO_BRW() {
  slownik::documents::FinanceDocTypeList list;
  list.run();
}
