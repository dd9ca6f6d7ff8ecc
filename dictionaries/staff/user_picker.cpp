#include "dictionaries/staff/user_picker.h"

#include "engine/list_window.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::staff {
namespace {

class UserPicker : public engine::ListWindow {
 public:
  UserPicker() : ListWindow(makeDescriptor()), openOn_(data::field("UZY:ID_UZYTKOWNIKA").number()) {}

  static engine::ListDescriptor makeDescriptor() {
    engine::ListDescriptor d;
    d.module = 104;
    d.procedure = "Uzytkownik1_Brw";
    d.table = "UZYTKOWNIK";
    d.minWidth = 0;
    d.minHeight = 0;
    d.sortOrders = {{"UZY:UZYTKOWNIK_NAZWA", engine::LocatorKind::Incremental, "UZY:NAZWA", "?LOKATOR"}};
    d.columns = {"UZY:NAZWA", "UZY:IDENTYFIKATOR", "UZY:ID_UZYTKOWNIKA"};
    // Users are kept by the administration of the system, not here.
    d.insertButton = d.changeButton = d.deleteButton = false;
    return d;
  }

  int opened() override {
    if (openOn_ > 0) {
      data::field("UZY:ID_UZYTKOWNIKA").set(openOn_);
      if (data::fileManager(table()).fetch("UZY:PK_UZYTKOWNIK") == 0)
        browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
    }
    return 0;
  }

 private:
  double openOn_;
};

}  // namespace
}  // namespace slownik::staff

extern "C" void UZYTKOWNIK1_BRW() {
  slownik::staff::UserPicker picker;
  picker.run();
}
