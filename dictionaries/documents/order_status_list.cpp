#include "dictionaries/documents/order_status_list.h"

#include "dictionaries/documents/order_status_form.h"
#include "dictionaries/documents/order_status_rules.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/messages.h"
#include "framework/services/order_statuses.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"

namespace slownik::documents {
namespace {

constexpr int kSystemColumn = 1;  // "S"
constexpr int kActiveColumn = 2;  // "A"
constexpr int kCheckIcon = 1;

engine::ListDescriptor orderStatusList() {
  engine::ListDescriptor d;
  d.module = 97;
  d.procedure = "StatusyZamowien_Brw";
  d.table = "VEX_SLOWNIK_STATUSOW_DOKUMENTOW";
  d.windowKey = "STATUSYZAMOWIEN";
  d.helpPage = "vex_zam.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"VSSD:PK_VEX_SLOWNIK_STATUSOW_DOKUMENTOW", engine::LocatorKind::Entry, "VSSD:ID_STATUSU",
                   "?LOKATOR"}};
  d.columns = {"VSSD:SYSTEMOWY", "VSSD:AKTYWNY", "VSSD:OPIS_STATUSU", "VSSD:KOD_STATUSU",
               "automatyczny",   "SMSSZ:NAZWA",  "VSSD:ID_STATUSU"};
  d.headerSorter = true;
  d.form = runOrderStatusForm;
  return d;
}

class OrderStatusList : public engine::ListWindow {
 public:
  OrderStatusList() : ListWindow(orderStatusList()) {}

  void setRanges(data::ViewManager& view) override {
    view.setFilter("(VSSD:TYP_DOKUMENTU='Z')");
    if (const sql::TableDef* templates = data::findTable("SMS_SZABLON"))
      view.addJoin(*templates, "SMSSZ:ID_SMS_SZABLONU = VSSD:ID_SZABLONU_SMS");
    view.bindExpression("automatyczny", "CASE WHEN VSSD:AUTOMATYCZNY = 1 THEN 'status automatyczny' ELSE '' END");
  }

  int opened() override {
    window()->setIconList("?LIST", {"~32redchk.ico"});
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    for (auto [column, field] : {std::pair{kSystemColumn, "VSSD:SYSTEMOWY"}, std::pair{kActiveColumn, "VSSD:AKTYWNY"}}) {
      setIcon(row, column, data::field(field).number() == 1 ? kCheckIcon : 0);
      hideText(row, column);
    }
  }

  using ListWindow::run;
  int run(int number, int request) override {
    if (!mayRun(request)) return data::kRequestCancelled;
    int response = ListWindow::run(number, request);
    if (response == data::kRequestCompleted && !changed_) {
      changed_ = true;
      svc::MSG_INFORMACJA("Zmiany statusów będą obowiązywały po zamknięciu bieżącego okna listy statusów.");
    }
    return response;
  }

  // Order handling reads the statuses from memory: this program's list and every other
  // program's (by the list's version in the database) are read again.
  void closeActions() override {
    if (!changed_) return;
    svc::INICJUJKOLEJKESTATUSOW(1);
    svc::EXECSQL("call TKB_IntS_RM_TKBM_DocStatusListInit");
    svc::CLOSESQL();
  }

 private:
  // The right first, then what the row itself forbids, then the question.
  bool mayRun(int request) const {
    struct Right {
      int request;
      const char* name;
      const char* missing;
    };
    static constexpr Right kRights[] = {
        {data::kInsertRecord, "StatusyZamD", "Brak uprawnień na dodawanie statusów zamówień!"},
        {data::kChangeRecord, "StatusyZamE", "Brak uprawnień na edycję statusów zamówień!"},
        {data::kDeleteRecord, "StatusyZamU", "Brak uprawnień na usuwanie statusów zamówień!"}};
    for (const Right& r : kRights) {
      if (r.request != request || svc::POBIERZUPRAWNIENIE(r.name) == 1) continue;
      warn(r.missing);
      return false;
    }
    if (request != data::kDeleteRecord) return true;
    // Order handling is built on the five codes, whatever their system flag says.
    if (data::field("VSSD:SYSTEMOWY").number() == 1 || isBuiltInStatusCode(data::field("VSSD:KOD_STATUSU").text())) {
      warn("Nie można usunąć systemowego statusu zamówień!");
      return false;
    }
    return svc::MSG_PYTANIE(
               "Usunięcie statusu zamówień spowoduje jego skasowanie we wszystkich zamówieniach, w których "
               "występuje.|Czy kontynuować ?") == svc::kYes;
  }

  bool changed_ = false;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void STATUSYZAMOWIEN_BRW() {
  slownik::documents::OrderStatusList list;
  list.run();
}
