#include "dictionaries/documents/order_type_list.h"

#include "dictionaries/documents/order_type_form.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor orderTypeList() {
  engine::ListDescriptor d;
  d.module = 95;
  d.procedure = "Typ_zlecenia_Brw";
  d.table = "TYP_DOKUMENTU_MAGAZYNOWEGO";
  d.windowKey = "TYPDOKPROD";
  d.helpPage = "vex_prod.htm";
  d.viewRight = "OTypDokProd";
  d.viewRightMessage = "Brak uprawnień na oglądanie typów zleceń produkcyjnych!";
  d.warning = engine::WarningStyle::Box;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"TYPDMAG:TYP_DOK_MAG_IDFIR_NAZWA", engine::LocatorKind::Step, "TYPDMAG:NAZWA", ""}};
  d.companyField = "TYPDMAG:ID_FIRMY";
  d.columns = {"TYPDMAG:NAZWA", "TYPDMAG:SYGNATURA", "TYPDMAG:ID_TYPU"};
  d.headerSorter = true;
  // Order types come with the database; the window's Dopisz and Usuń stay disabled.
  d.insertButton = false;
  d.deleteButton = false;
  d.selectButton = false;
  d.form = runOrderTypeForm;
  return d;
}

class OrderTypeList : public engine::ListWindow {
 public:
  OrderTypeList() : ListWindow(orderTypeList()) {}

  void setRanges(data::ViewManager& view) override { view.setFilter("(TYPDMAG:RODZAJ='Zlecenie')"); }

  using ListWindow::run;
  int run(int number, int request) override {
    if (request == data::kInsertRecord || request == data::kDeleteRecord) return data::kRequestCancelled;
    return ListWindow::run(number, request);
  }
};

}  // namespace
}  // namespace slownik::documents

extern "C" void TYP_ZLECENIA_BRW() {
  slownik::documents::OrderTypeList list;
  list.run();
}
