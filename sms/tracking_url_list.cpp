#include "sms/tracking_url_list.h"

#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"
#include "sms/tracking_history_list.h"
#include "sms/tracking_url_form.h"

namespace slownik::sms {
namespace {

constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kGenerate = "?BUTTON6";
constexpr const char* kHistory = "?HISTORIA";
const std::vector<std::string_view> kSortNames = {"nazwa", "adres WWW", "data"};
constexpr int kSortOrders = 3;
constexpr int kFallbackSort = 4;

engine::ListDescriptor trackingUrlList() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 78;
  d.procedure = "SMS_URL_brw";
  d.table = "SMS_TRACKING_URL";
  d.helpPage = "sms_url_tracking.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 354;
  d.minHeight = 130;
  d.companyField = "SMST:ID_FIRMY";
  d.sortOrders = {
      {"SMST:PO_NAZWIE", LocatorKind::Incremental, "SMST:NAZWA", kLocator},
      {"SMST:PO_WWW", LocatorKind::Incremental, "SMST:ADRES_WWW", kLocator},
      {"SMST:PO_DACIE", LocatorKind::Incremental, "SMST:DATA_CZAS_DATE", kLocator},
      {"SMST:PO_DACIE", LocatorKind::Incremental, "SMST:DATA_CZAS_DATE", kLocator},
  };
  d.columns = {"SMST:NAZWA", "SMST:ADRES_WWW",       "SMST:DATA_CZAS_DATE",  "SMST:DATA_CZAS_TIME",
               "SMST:OPIS",  "SMST:KLUCZ_SLEDZENIA", "SMST:ID_TRACKING_URL", "SMST:ID_FIRMY"};
  d.form = runTrackingUrlForm;
  return d;
}

class TrackingUrlList : public engine::ListWindow {
 public:
  TrackingUrlList() : ListWindow(trackingUrlList()) {}

  int opened() override {
    window()->setValue(kSortList, std::string(kSortNames[0]));
    chooseSort(1);
    return 0;
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kSortList) {
      chooseSort(engine::sortNumber(window()->value(kSortList), kSortNames, kFallbackSort));
      return fw::kLevelNotify;
    }
    if (e.control == kGenerate) {
      generateKey();
      return fw::kLevelNotify;
    }
    if (e.control == kHistory) {
      showHistory();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void addPopupItems(fw::PopupClass& popup) override {
    popup.addItem("-");
    popup.addItemMimic("Historia", kHistory, "Historia");
  }

 private:
  void chooseSort(int order) {
    // The date order's locator takes a date.
    window()->setPicture(kLocator, order == 3 || order == kFallbackSort ? "@d17" : "@s20");
    chooseNamedSort(order, kSortOrders);
  }

  // The history of the current address, over this list (which waits for it to close).
  void showHistory() {
    const fw::ListRow* row = browse().selectedRow();
    if (!row || view().fetch(row->position()) != 0) return;
    double id = data::field("SMST:ID_TRACKING_URL").number();
    if (id <= 0) return;
    SMS_URL_HISTORIA_BRW(static_cast<std::int32_t>(id));
  }

  void generateKey() {
    const fw::ListRow* row = browse().selectedRow();
    if (!row || view().fetch(row->position()) != 0) return;
    double id = data::field("SMST:ID_TRACKING_URL").number();
    if (id <= 0) return;
    if (!engine::trimmed(data::field("SMST:KLUCZ_SLEDZENIA").text()).empty() &&
        svc::MSG_PYTANIE("Klucz śledzący jest już wygenerowany.|W przypadku ponownej generacji stracisz "
                         "zapisy|o konwersjach związanych z tym kluczem.|Czy wygenerować ponownie?") != svc::kYes)
      return;
    rt::frontEnd().setBusy(true);
    svc::EXECSQL("call KS_SMS_UTWORZ_TRACKING_URL(" + sql::sqlId(id) + "," +
                 sql::sqlId(data::field("SMST:ID_FIRMY").number()) + ")");
    rt::frontEnd().setBusy(false);
    if (rt::errorCode() != 0) {
      svc::MSG_OSTRZEZENIE(rt::errorText());
      return;
    }
    svc::CLOSESQL();
    reload();
  }
};

}  // namespace
}  // namespace slownik::sms

extern "C" void SMS_URL_BRW() {
  slownik::sms::TrackingUrlList list;
  list.run();
}
