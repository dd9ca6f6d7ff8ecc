#include "dictionaries/documents/trade_doc_type_list.h"

#include <string>
#include <utility>

#include "dictionaries/documents/doc_type_list.h"
#include "dictionaries/documents/trade_doc_type_form.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"

namespace slownik::documents {
namespace {

constexpr int kActiveColumn = 2;  // "A"
// The caller's condition is kept as long as a window parameter may be.
constexpr std::size_t kFilterWidth = 99;

engine::ListDescriptor tradeDocTypeList(const std::string& filter, bool selecting) {
  engine::ListDescriptor d;
  d.module = 91;
  d.procedure = "Typ_dokumentu_handlowego_brw";
  d.table = "TYP_DOKUMENTU_HANDLOWEGO";
  d.windowKey = "TypDokHandl";
  d.helpPage = "kar_typdok_han.htm";
  // A caller that hands over its own condition has decided what may be seen.
  if (filter.empty()) {
    d.right = "TypDokHandl";
    d.rightMessage = "Brak uprawnień na dostęp do typów dokumentów handlowych!";
  }
  d.viewRight = "OTypDokHandl";
  d.viewRightMessage = "Brak uprawnień na oglądanie typów dokumentów handlowych!";
  d.deleteRight = "UTypDokHandl";
  d.deleteRightMessage = "Brak uprawnień na usuwanie typów dokumentów handlowych!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"TYPDH:FK_FIRMA_NAZWA", engine::LocatorKind::None, "", ""}};
  d.companyField = "TYPDH:ID_FIRMY";
  d.columns = {"TYPDH:ID_TYPU",     "TYPDH:AKTYWNY",       "TYPDH:NAZWA",   "TYPDH:SYGNATURA",
               "TYPDH:SUMOWANIE",   "TYPDH:CZY_SYSTEMOWY", "TYPDH:ID_FIRMY"};
  d.headerSorter = true;
  // The types come with the database: the window's Dodaj and Usuń stay disabled, and a
  // picker only chooses.
  d.insertButton = false;
  d.deleteButton = false;
  d.changeButton = !selecting;
  d.form = runTradeDocTypeForm;
  return d;
}

class TradeDocTypeList : public DocTypeList {
 public:
  TradeDocTypeList(std::string filter, bool selecting)
      : DocTypeList(tradeDocTypeList(filter, selecting), "TYPDH:CZY_SYSTEMOWY"),
        filter_(std::move(filter).substr(0, kFilterWidth)) {}

  int opened() override {
    DocTypeList::opened();
    if (request() == data::kSelectRecord) window()->disable("?CHANGE");
    return 0;
  }

  void setRanges(data::ViewManager& view) override {
    // Documents are written only with active types.
    if (request() == data::kSelectRecord) view.setFilter("TYPDH:AKTYWNY=1");
    if (!filter_.empty()) view.setSqlFilter("+" + filter_);
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    DocTypeList::setQueueRecord(row, source);
    flagIcon(row, kActiveColumn, "TYPDH:AKTYWNY");
  }

  using DocTypeList::run;
  int run(int number, int request) override {
    // Types come with the database; none is added or deleted here.
    if (request == data::kInsertRecord || request == data::kDeleteRecord) return data::kRequestCancelled;
    return DocTypeList::run(number, request);
  }

 private:
  std::string filter_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void TYP_DOKUMENTU_HANDLOWEGO_BRW(const char* filter) {
  bool selecting = slownik::data::GLOBALREQUEST() == slownik::data::kSelectRecord;
  slownik::documents::TradeDocTypeList list(filter ? filter : "", selecting);
  list.run();
}
