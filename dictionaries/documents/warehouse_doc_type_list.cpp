#include "dictionaries/documents/warehouse_doc_type_list.h"

#include <string>

#include "dictionaries/documents/doc_type_list.h"
#include "dictionaries/documents/warehouse_doc_type_form.h"
#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor warehouseDocTypeList(const std::string& filter) {
  engine::ListDescriptor d;
  d.module = 9;
  d.procedure = "Typ_dokumentu_magazynowego_Brw";
  d.table = "TYP_DOKUMENTU_MAGAZYNOWEGO";
  d.windowKey = "TypDokMag";
  d.helpPage = "kar_typdok_mag.htm";
  // A caller that hands over its own condition has decided what may be seen.
  if (filter.empty()) {
    d.right = "TypDokMag";
    d.rightMessage = "Brak uprawnień na dostęp do typów dokumentów magazynowych!";
  }
  d.insertRight = "DTypDokMag";
  d.insertRightMessage = "Brak uprawnień na dodawanie typów dokumentów magazynowych!";
  d.viewRight = "OTypDokMag";
  d.viewRightMessage = "Brak uprawnień na oglądanie typów dokumentów magazynowych!";
  d.deleteRight = "UTypDokMag";
  d.deleteRightMessage = "Brak uprawnień na usuwanie typów dokumentów magazynowych!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"TYPDMAG:TYP_DOK_MAG_IDFIR_NAZWA", engine::LocatorKind::Step, "TYPDMAG:NAZWA", ""}};
  d.companyField = "TYPDMAG:ID_FIRMY";
  d.columns = {"TYPDMAG:ID_TYPU", "TYPDMAG:NAZWA",         "TYPDMAG:SYGNATURA", "TYPDMAG:RODZAJ",
               "TYPDMAG:WYCENA",  "TYPDMAG:CZY_SYSTEMOWY", "TYPDMAG:ID_FIRMY"};
  d.headerSorter = true;
  d.form = [] { TYP_DOKUMENTU_MAGAZYNOWEGO_UPD(); };
  return d;
}

class WarehouseDocTypeList : public DocTypeList {
 public:
  explicit WarehouseDocTypeList(std::string filter)
      : DocTypeList(warehouseDocTypeList(filter), "TYPDMAG:CZY_SYSTEMOWY"), filter_(std::move(filter)) {}

  void setRanges(data::ViewManager& view) override {
    // The same table holds the order types, which have lists of their own.
    view.setFilter("(TYPDMAG:Rodzaj<>'Zamówienie' and TYPDMAG:Rodzaj<>'Zlecenie')");
    if (!filter_.empty()) view.setSqlFilter("+" + filter_);
  }

 protected:
  // The host builds its tree of document types from these rows.
  void completed(int request) override {
    if (request == data::kDeleteRecord) data::glo().DOKMAG_DRZEWKO_LOADED = 0;
  }

 private:
  std::string filter_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(const char* filter) {
  slownik::documents::WarehouseDocTypeList list(filter ? filter : "");
  list.run();
}
