#include "dictionaries/documents/classification_list.h"

#include "dictionaries/documents/classification_form.h"
#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::documents {
namespace {

constexpr int kDefaultIcon = 1;

engine::ListDescriptor classificationList() {
  engine::ListDescriptor d;
  d.module = 7;
  d.procedure = "Typ_Kontrahenta_Brw";
  d.table = "KLASYFIKACJA_KONTRAHENTA";
  d.windowKey = "TypyKontr";
  d.helpPage = "kar_konpom_klas.htm";
  d.right = "TypyKontr";
  d.rightMessage = "Brak uprawnień na dostęp do typów kontrahentów!";
  d.rightWarning = engine::WarningStyle::Message;
  d.insertRight = "DTypyKontr";
  d.insertRightMessage = "Brak uprawnień na dodawanie typów kontrahentów!";
  d.viewRight = "OTypyKontr";
  d.viewRightMessage = "Brak uprawnień na oglądanie typów kontrahentów!";
  d.deleteRight = "UTypyKontr";
  d.deleteRightMessage = "Brak uprawnień na usuwanie typów kontrahentów!";
  d.warning = engine::WarningStyle::Box;
  d.minWidth = 240;
  d.minHeight = 140;
  d.sortOrders = {{"KLA:KLASYF_KONTR_IDFIR_NAZWA", engine::LocatorKind::Step, "KLA:NAZWA", ""}};
  d.columns = {"KLA:DOMYSLNA", "KLA:NAZWA", "KLA:ID_KLASYFIKACJI"};
  d.form = runClassificationForm;
  return d;
}

class ClassificationList : public engine::ListWindow {
 public:
  ClassificationList() : ListWindow(classificationList()) {}

  int opened() override {
    window()->setIconList("?LIST", {"~32redchk.ico"});
    return 0;
  }

  // The classifications are kept once for every company: company 0.
  void setRanges(data::ViewManager& view) override { view.addRange("KLA:ID_FIRMY", 0LL); }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    setIcon(row, 1, data::field("KLA:DOMYSLNA").number() == 1 ? kDefaultIcon : 0);
  }

  using ListWindow::run;
  int run(int number, int request) override {
    int response = ListWindow::run(number, request);
    // The host builds its tree of contractors from the classifications: a changed one
    // makes it build the tree again.
    if (response == data::kRequestCompleted) data::glo().KONTR_DRZEWKO_LOADED = 0;
    return response;
  }
};

}  // namespace

void runClassificationForm() { TYP_KONTRAHENTA_UPD(); }

}  // namespace slownik::documents

extern "C" void TYP_KONTRAHENTA_BRW(const char*) {
  slownik::documents::ClassificationList list;
  list.run();
}
