#include "dictionaries/documents/delivery_form_list.h"

#include <cstdlib>

#include "dictionaries/documents/delivery_form_form.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/messages.h"

namespace slownik::documents {
namespace {

constexpr int kSystemIcon = 1;
constexpr int kSystemColumn = 1;

engine::ListDescriptor deliveryListDescriptor() {
  engine::ListDescriptor d;
  d.module = 66;
  d.procedure = "Forma_dostawy_Brw";
  d.table = "FORMA_DOSTAWY";
  d.windowKey = "FORMYDOSTAWY";
  d.helpPage = kDeliveryFormHelp;
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"FORD:PO_NAZWIE", engine::LocatorKind::Incremental, "FORD:NAZWA", "?LOKATOR"}};
  d.columns = {"FORD:SYSTEMOWA", "FORD:NAZWA", "FORD:TYP_DOSTAWY", "FORD:ID_FORMY_DOSTAWY"};
  d.headerSorter = true;
  d.form = runDeliveryFormForm;
  return d;
}

class DeliveryFormList : public engine::ListWindow {
 public:
  explicit DeliveryFormList(long long companyId) : ListWindow(deliveryListDescriptor()), companyId_(companyId) {}

  // A new form is primed from this range, so it belongs to the company listed.
  void setRanges(data::ViewManager& view) override { view.addRange("FORD:ID_FIRMY", companyId_); }

  int opened() override {
    window()->setIconList("?LIST", {"~32redchk.ico"});
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    setIcon(row, kSystemColumn, data::field("FORD:SYSTEMOWA").number() == 1 ? kSystemIcon : 0);
    hideText(row, kSystemColumn);
  }

  using ListWindow::run;
  int run(int number, int request) override {
    if (request == data::kDeleteRecord) {
      if (data::field("FORD:SYSTEMOWA").number() == 1) {
        warn("Nie można usunąć systemowej formy dostawy!");
        return data::kRequestCancelled;
      }
      if (svc::MSG_PYTANIE("Usunięcie formy dostawy spowoduje jej odłącznie od wszystkich adresów dostaw dla "
                           "wszystkich rodzajów dokumentów, gdzie występuje ta forma.|Czy kontynuować ?") != svc::kYes)
        return data::kRequestCancelled;
    }
    return ListWindow::run(number, request);
  }

 private:
  long long companyId_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void FORMA_DOSTAWY_BRW(const char* companyId) {
  slownik::documents::DeliveryFormList list(companyId ? std::atoll(companyId) : 0);
  list.run();
}
