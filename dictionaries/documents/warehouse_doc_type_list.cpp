#include "dictionaries/documents/warehouse_doc_type_list.h"

#include <string>

#include "dictionaries/documents/warehouse_doc_type_form.h"
#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/numbering_formats.h"

namespace slownik::documents {
namespace {

constexpr int kSystemColumn = 1;  // "S"
constexpr int kSystemIcon = 1;

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

class WarehouseDocTypeList : public engine::ListWindow {
 public:
  explicit WarehouseDocTypeList(std::string filter)
      : ListWindow(warehouseDocTypeList(filter)), filter_(std::move(filter)) {}

  int opened() override {
    window()->setIconList("?LIST", {"~32redchk.ico"});
    return 0;
  }

  void setRanges(data::ViewManager& view) override {
    // The same table holds the order types, which have lists of their own.
    view.setFilter("(TYPDMAG:Rodzaj<>'Zamówienie' and TYPDMAG:Rodzaj<>'Zlecenie')");
    if (!filter_.empty()) view.setSqlFilter("+" + filter_);
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow&) override {
    setIcon(row, kSystemColumn, data::field("TYPDMAG:CZY_SYSTEMOWY").number() == 1 ? kSystemIcon : 0);
    hideText(row, kSystemColumn);
  }

  using ListWindow::run;
  int run(int number, int request) override {
    // The browse has read the row into the record buffer before asking for the form.
    if (request == data::kDeleteRecord && this->request() != data::kViewRecord &&
        data::field("TYPDMAG:CZY_SYSTEMOWY").number() == 1) {
      warn("Nie można usunąć systemowego typu dokumentu!");
      return data::kRequestCancelled;
    }
    int response = ListWindow::run(number, request);
    if (response == data::kRequestCompleted) {
      changed_ = true;
      // The host builds its tree of document types from these rows.
      if (request == data::kDeleteRecord) data::glo().DOKMAG_DRZEWKO_LOADED = 0;
    }
    return response;
  }

  // Document windows number by the formats loaded once; a type added, changed or
  // removed here changes them.
  void closeActions() override {
    if (changed_) svc::LADUJFORMATYNUMERACJI();
  }

 private:
  std::string filter_;
  bool changed_ = false;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(const char* filter) {
  slownik::documents::WarehouseDocTypeList list(filter ? filter : "");
  list.run();
}
