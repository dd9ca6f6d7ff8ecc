#include "dictionaries/tax_currency/vat_rates.h"

#include "dictionaries/tax_currency/load_vat.h"
#include "engine/list_window.h"
#include "framework/data/file_manager.h"
#include "framework/data/vat_queue.h"
#include "framework/data/table_buffers.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"

namespace slownik::tax_currency {
namespace {

constexpr int kActiveIcon = 1;

engine::ListDescriptor vatList() {
  engine::ListDescriptor d;
  d.module = 2;
  d.procedure = "VAT_Brw";
  d.table = "VAT";
  d.windowKey = "StawkiVAT";
  d.helpPage = "kar_towpom_VAT.htm";
  d.right = "StawkiVAT";
  d.rightMessage = "Brak uprawnień na dostęp do stawek vat!";
  d.sortOrders = {{"VAT:PK_VAT", engine::LocatorKind::Step, "VAT:KOD_VAT", ""}};
  d.columns = {"VAT:NAZWA", "VAT:KOD_VAT", "VAT:STAWKA"};
  d.headerSorter = true;
  d.insertButton = d.changeButton = d.deleteButton = d.selectButton = false;
  return d;
}

class VatList : public engine::ListWindow {
 public:
  VatList() : ListWindow(vatList()) {}

  int opened() override {
    window()->setIconList("?LIST", {"~32redchk.ico"});
    // The shared list could not be read last time: the user who opens the rates is the
    // one to try again (and to be told if it still fails).
    if (data::VATQ().isStale()) LOADVAT();
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow&) override {
    setIcon(row, 1, data::field("VAT:AKTYWNY").number() == 1 ? kActiveIcon : 0);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == "?AKTYWNA") {
      switchRate();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void closeActions() override {
    if (switched_) LOADVAT();
  }

 private:
  void switchRate() {
    const fw::ListRow* row = browse().selectedRow();
    if (!row) return;
    if (svc::POBIERZUPRAWNIENIE("AktywnoscStawkiVat") != 1) {
      svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do funkcji Aktywność stawki vat!");
      return;
    }
    data::field("VAT:KOD_VAT").set(view().value(row->source, "VAT:KOD_VAT").value_or(""));
    data::FileManager& file = data::fileManager(table());
    if (file.fetch("VAT:PK_VAT") != 0) return;
    data::Field active = data::field("VAT:AKTYWNY");
    active.set(active.number() == 1 ? 0 : 1);
    if (file.update() == 0) reload();
    // Set even when the write failed: the shared list is rebuilt from what the
    // database holds, whatever that is now.
    switched_ = true;
  }

  bool switched_ = false;
};

}  // namespace
}  // namespace slownik::tax_currency

extern "C" void VAT_BRW() {
  slownik::tax_currency::VatList list;
  list.run();
}
