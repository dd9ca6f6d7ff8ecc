#include "dictionaries/documents/status_history_order_chooser.h"

#include <string>

#include "dictionaries/documents/status_history_list.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::documents {
namespace {

engine::ListDescriptor orderChooser() {
  engine::ListDescriptor d;
  d.module = 105;
  d.procedure = "HistoriaStatusowZamowien_Wybor";
  d.table = "ZAMOWIENIE";
  d.windowKey = "HistoriaStatusowZamowien_Wybor";
  d.helpPage = "vex_zam.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"ZAM:ZAMOWIENIE_IDFIR_NUMER", engine::LocatorKind::Incremental, "ZAM:NUMER", "?LOKATOR"}};
  d.companyField = "ZAM:ID_FIRMY";
  d.columns = {"ZAM:NUMER", "ZAM:STATUS", "ZAM:DATA_WYSTAWIENIA", "ZAM:ID_ZAMOWIENIA"};
  d.headerSorter = true;
  d.insertButton = d.changeButton = d.deleteButton = false;
  return d;
}

}  // namespace

void chooseOrderForStatusHistory() {
  data::GLOBALREQUEST() = data::kSelectRecord;
  engine::ListWindow list(orderChooser());
  list.run();
  if (data::GLOBALRESPONSE() != data::kRequestCompleted) return;
  const std::string id = std::to_string(data::field("ZAM:ID_ZAMOWIENIA").integer());
  HISTORIASTATUSOWZAMOWIEN_BRW(id.c_str());
}

}  // namespace slownik::documents
