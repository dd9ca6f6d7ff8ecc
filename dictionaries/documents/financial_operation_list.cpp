#include "dictionaries/documents/financial_operation_list.h"

#include "dictionaries/documents/financial_operation_form.h"
#include "engine/list_window.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor financialOperationList() {
  engine::ListDescriptor d;
  d.module = 58;
  d.procedure = "Rodzaj_Operacji_Fin_Brw";
  d.table = "RODZAJ_OPERACJI_FIN";
  d.helpPage = kFinancialOperationHelp;
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"ROF:PK_RODZAJ_OPERACJI", engine::LocatorKind::Incremental, "ROF:KOD_OPERACJI", "?LOKATOR"}};
  d.columns = {"ROF:KOD_OPERACJI", "ROF:NAZWA"};
  d.headerSorter = true;
  d.form = runFinancialOperationForm;
  return d;
}

}  // namespace
}  // namespace slownik::documents

extern "C" void RODZAJ_OPERACJI_FIN_BRW() {
  slownik::engine::ListWindow list(slownik::documents::financialOperationList());
  list.run();
}
