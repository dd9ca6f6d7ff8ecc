#include "dictionaries/banking/cash_desk_list.h"

#include "dictionaries/banking/cash_desk_form.h"
#include "dictionaries/banking/cash_desk_rights.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/rights.h"

namespace slownik::banking {
namespace {

constexpr int kMarkColumn = 2;  // "D"
constexpr int kCurrentIcon = 1;

}  // namespace

CashDeskList::CashDeskList(double companyId) : ListWindow(makeDescriptor()), companyId_(companyId) {}

engine::ListDescriptor CashDeskList::makeDescriptor() {
  engine::ListDescriptor d;
  d.module = 36;
  d.procedure = "Kasa_brw";
  d.table = "KASY_FIRMY";
  d.windowKey = "Kasy";
  d.helpPage = "kar_fin_kas.htm";
  // The list is closed only to a user who works at a cash desk and lacks the right;
  // without a current desk the list opens and its row filter decides what it shows.
  if (data::glo().ID_KASY.get() > 0) {
    d.right = "Kasy";
    d.rightMessage = "Brak uprawnień na dostęp do kas!";
  }
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"KAS:FK_FIRMA", engine::LocatorKind::Step, "KAS:ID_KASY", ""}};
  d.columns = {"KAS:ID_FIRMY", "KAS:ID_KASY",      "KAS:SYMBOL", "KAS:NAZWA",
               "KAS:KONTO_FK", "KAS:RAP_WALUTOWE", "KAS:ID_KASY"};
  d.headerSorter = true;
  d.form = [] { KASA_UPD(); };
  return d;
}

int CashDeskList::opened() {
  window()->setIconList("?LIST", {"~32redchk.ico"});
  return 0;
}

void CashDeskList::setRanges(data::ViewManager& view) {
  view.addRange("KAS:ID_FIRMY", companyId_);
  // Rights are granted per desk; the view filters by them so that a page is one query.
  if (std::string rights = cashDeskRowFilter(); !rights.empty()) view.setSqlFilter("+" + rights);
}

void CashDeskList::setQueueRecord(fw::ListRow& row, const data::ViewRow&) {
  const double current = data::glo().ID_KASY.get();
  const bool isCurrent = current > 0 && data::field("KAS:ID_KASY").number() == current;
  setIcon(row, kMarkColumn, isCurrent ? kCurrentIcon : 0);
  // The column stands for the mark alone; the desk's number stays in the row.
  hideText(row, kMarkColumn);
}

int CashDeskList::run(int number, int request) {
  if (this->request() == data::kViewRecord) return data::kRequestCancelled;
  // The browse has read the row into the record buffer before asking for the form.
  const double desk = data::field("KAS:ID_KASY").number();
  const char* refusal = nullptr;
  switch (request) {
    case data::kInsertRecord:
      if (svc::POBIERZUPRAWNIENIE("DKasy") != 1) refusal = "Brak uprawnień na dodawanie kas!";
      break;
    case data::kChangeRecord:
      if (svc::POBIERZUPRAWNIENIE("OKasy", desk) != 1) refusal = "Brak uprawnień na oglądanie danych kasy!";
      break;
    case data::kDeleteRecord:
      if (svc::POBIERZUPRAWNIENIE("UKasy", desk) != 1) refusal = "Brak uprawnień na usuwanie kas!";
      break;
    default:
      break;
  }
  if (refusal) {
    warn(refusal);
    return data::kRequestCancelled;
  }
  return ListWindow::run(number, request);
}

}  // namespace slownik::banking

extern "C" void KASA_BRW(double id_firmy) {
  slownik::banking::CashDeskList list(id_firmy);
  list.run();
}
