#include "dictionaries/documents/contractor_picker_list.h"

#include <string>
#include <utility>

#include "dictionaries/documents/contractor_picker_orders.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/program_parameters.h"
#include "framework/services/rights.h"
#include "framework/services/window_parameters.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kLocator = "?LOKATOR";
// The contractor list keeps its order there; the picker follows it and never writes it.
constexpr const char* kContractorListWindow = "Kontrahent_Brw";

engine::ListDescriptor pickerDescriptor() {
  engine::ListDescriptor d;
  d.module = 63;
  d.procedure = "KontrahentForma_Brw";
  d.table = "KONTRAHENT1";
  d.helpPage = "kar_kon.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  for (const auto& order : contractorPickerOrders())
    d.sortOrders.push_back({order.key, order.locator, order.field, kLocator});
  d.companyField = "KON1:ID_FIRMY";
  d.columns = {"KON1:ID_KONTRAHENTA", "KON1:NAZWA",       "KON1:NIP",     "KON1:MIEJSCOWOSC",
               "KON1:KOD_POCZTOWY",   "KON1:ULICA_LOKAL", "KON1:WYROZNIK"};
  d.insertButton = d.changeButton = d.deleteButton = false;
  return d;
}

class ContractorPicker : public engine::ListWindow {
 public:
  ContractorPicker(std::string condition, double startId)
      : ListWindow(pickerDescriptor()), condition_(std::move(condition)), startId_(startId) {}

  int opened() override {
    // The "intuition" order finds the typed text anywhere in the name.
    browse().setSort(2);
    if (auto* filter = dynamic_cast<fw::FilterLocator*>(browse().locator())) filter->setContains();
    if (!condition_.empty()) view().setSqlFilter("+" + condition_);

    int order = contractorPickerOrderNumber(svc::POBIERZPARAMETROKNA(kContractorListWindow, "sortowanie"));
    window()->setValue(kSortList, contractorPickerOrder(order).item);
    chooseOrder(order);
    browse().resetQueue();
    showStartContractor();
    return 0;
  }

  // Orders other than by name hide the contractors that are not in the normal state.
  void orderApplied() override { view().setFilter(contractorPickerStateFilter(browse().currentSort())); }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kSortList) {
      chooseOrder(contractorPickerOrderNumber(window()->value(kSortList)));
      window()->select(kList);
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

 private:
  void chooseOrder(int order) {
    // A text typed for the old order would go on limiting the rows under the new one.
    if (fw::Locator* l = browse().locator()) l->reset();
    window()->setText(kLocator, "");
    browse().setSort(order, true);
    const int bold = contractorPickerOrder(order).style;
    for (int style = 1; style <= kContractorPickerStyles; ++style) {
      rt::ListStyle look;
      look.fontWeight = style == bold ? rt::kBoldWeight : rt::kNormalWeight;
      window()->setListStyle(kList, style, look);
    }
    window()->setPicture(kLocator, contractorPickerLocatorPicture(order, svc::POBIERZPARAMKONF("s", "MaskaWyrKontr")));
  }

  void showStartContractor() {
    if (startId_ <= 0) return;
    // The list finds the row by the key in the record buffer, as after a form.
    data::field("KON1:ID_KONTRAHENTA").set(startId_);
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }

  std::string condition_;
  double startId_;
};

double startContractor() {
  double picked = data::field("KON1:ID_KONTRAHENTA").number();
  return picked > 0 ? picked : data::field("KON:ID_KONTRAHENTA").number();
}

}  // namespace
}  // namespace slownik::documents

extern "C" void KONTRAHENTFORMA_BRW(const char* sqlCondition) {
  using namespace slownik;
  std::string condition = documents::contractorPickerCondition(
      sqlCondition ? sqlCondition : "", svc::POBIERZUPRAWNIENIE("OKontrD") == 1,
      svc::POBIERZUPRAWNIENIE("OKontrO") == 1, svc::FILTRUPRAWTYLKOWGLISTZAZN("OKontr"));
  documents::ContractorPicker picker(std::move(condition), documents::startContractor());
  picker.run();
}
