#include "dictionaries/documents/document_label_list.h"

#include <string>
#include <utility>

#include "dictionaries/documents/document_label_availability.h"
#include "dictionaries/documents/document_label_form.h"
#include "dictionaries/documents/document_label_reload.h"
#include "engine/list_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"

namespace slownik::documents {
namespace {

constexpr const char* kFilter = "?FILTROWANIE";
constexpr const char* kFilterPrompt = "?FILTROWANIE:PROMPT";

engine::ListDescriptor labelListDescriptor() {
  engine::ListDescriptor d;
  d.module = 64;
  d.procedure = "Etykieta_dokumentu_Brw";
  d.table = "ETYKIETA_DOKUMENTU";
  d.windowKey = "ETYKIETA";
  d.helpPage = "etykiety_dok.htm";
  d.insertRight = "EtykDokD";
  d.insertRightMessage = "Brak uprawnień na dodawanie etykiet!";
  d.viewRight = "EtykDokE";
  d.viewRightMessage = "Brak uprawnień na edycję etykiet!";
  d.deleteRight = "EtykDokU";
  d.deleteRightMessage = "Brak uprawnień na usuwanie etykiet!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"ETYD:PO_NAZWIE", engine::LocatorKind::Incremental, "ETYD:NAZWA", "?LOKATOR"}};
  d.companyField = "ETYD:ID_FIRMY";
  d.columns = {"ETYD:NAZWA", "ETYD:KOLOR_NAPISU", "ETYD:KOLOR_TLA", "ETYD:ID_ETYKIETY"};
  d.headerSorter = true;
  d.form = [] { ETYKIETA_DOKUMENTU_UPD(); };
  return d;
}

class DocumentLabelList : public engine::ListWindow {
 public:
  explicit DocumentLabelList(std::string listKind)
      : ListWindow(labelListDescriptor()), listKind_(std::move(listKind)) {}

  int opened() override {
    if (engine::trimmed(listKind_).empty()) {
      window()->setValue(kFilter, kLabelFilterItems[0].text);
    } else {
      window()->hide(kFilter);
      window()->hide(kFilterPrompt);
      // The kind goes into the statement: only a position may, anything else lists nothing.
      std::optional<int> position = labelListPosition(listKind_);
      if (!position) rt::logMessage("Etykieta_dokumentu_Brw: unknown list kind '" + listKind_ + "'");
      view().setSqlFilter(position ? labelFilter(*position) : "+1=0");
      browse().fetch(fw::FetchDirection::First);
    }
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    // -1 is the list's own colour; the selected row keeps the list's selection colours.
    setColours(row, 1, static_cast<long>(data::field("ETYD:KOLOR_NAPISU").number()),
               static_cast<long>(data::field("ETYD:KOLOR_TLA").number()), rt::kNoColor, rt::kNoColor);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kFilter) {
      view().setSqlFilter(labelFilter(labelFilterPosition(window()->value(kFilter))));
      browse().fetch(fw::FetchDirection::First);
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  using ListWindow::run;
  int run(int number, int request) override {
    if (request == data::kDeleteRecord &&
        svc::MSG_PYTANIE("Usunięcie etykiety spowoduje odpięcie jej od wszystkich dokumentów.|Czy kontynuować?") !=
            svc::kYes)
      return data::kRequestCancelled;
    int response = ListWindow::run(number, request);
    if (response == data::kRequestCompleted) reloadProgramLabels();
    return response;
  }

 private:
  std::string listKind_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void ETYKIETA_DOKUMENTU_BRW(const char* listKind) {
  slownik::documents::DocumentLabelList list(listKind ? listKind : "");
  list.run();
}
