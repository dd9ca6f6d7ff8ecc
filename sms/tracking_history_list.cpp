#include "sms/tracking_history_list.h"

#include <string>

#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::sms {
namespace {

constexpr const char* kCheck = "?BUTTON6";

engine::ListDescriptor historyList() {
  engine::ListDescriptor d;
  d.module = 80;
  d.procedure = "SMS_URL_HISTORIA_brw";
  d.table = "SMS_TRACKING_URL_HISTORIA";
  d.helpPage = "sms.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 280;
  d.minHeight = 130;
  d.sortOrders = {{"SMSTH:PO_ID_TRAKING", engine::LocatorKind::Entry, "SMSTH:DATA", "?LOKATOR"}};
  d.columns = {
      "SMSTH:ILOSC_WYSLANYCH", "SMSTH:ILOSC_KLIKNIETYCH", "SMSTH:WSPOLCZYNNIK_KONWERSJI", "SMSTH:DATA", "SMSTH:CZAS",
      "SMSTH:ID_HISTORII"};
  // Snapshots are made by the database; the list only shows them.
  d.insertButton = d.changeButton = d.deleteButton = false;
  return d;
}

class HistoryList : public engine::ListWindow {
 public:
  explicit HistoryList(std::int32_t id) : ListWindow(historyList()), id_(id) {}

  void setRanges(data::ViewManager& view) override {
    view.addRange("SMSTH:ID_TRACKING_URL", static_cast<long long>(id_));
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kCheck) {
      checkConversions();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

 private:
  void checkConversions() {
    if (id_ <= 0) return;
    rt::frontEnd().setBusy(true);
    svc::EXECSQL("call KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL(" + std::to_string(id_) + "," +
                 sql::sqlId(data::glo().ID_FIRMY.get()) + ")");
    rt::frontEnd().setBusy(false);
    bool failed = rt::errorCode() != 0;
    if (failed) svc::MSG_OSTRZEZENIE(rt::errorText());
    svc::CLOSESQL();
    if (!failed) reload();
  }

  std::int32_t id_;
};

}  // namespace
}  // namespace slownik::sms

extern "C" void SMS_URL_HISTORIA_BRW(std::int32_t trackingUrlId) {
  slownik::sms::HistoryList list(trackingUrlId);
  list.run();
}
