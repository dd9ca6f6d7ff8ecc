#include "dictionaries/documents/payment_form_list.h"

#include <string>
#include <utility>

#include "dictionaries/documents/payment_form_form.h"
#include "dictionaries/documents/payment_form_rules.h"
#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_parameters.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSortList = "?SORT";
constexpr const char* kActiveButton = "?BUTTONA";
constexpr const char* kActiveItem = "Aktywna";
constexpr const char* kParameterWindow = "Forma_Platnosci_Brw";
constexpr const char* kSortParameter = "sortowanie";
constexpr int kCheckIcon = 1;
constexpr int kSystemColumn = 1;
constexpr int kLimitColumn = 8;

engine::ListDescriptor paymentListDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 56;
  d.procedure = "Forma_Platnosci_Brw";
  d.table = "FORMA_PLATNOSCI";
  d.windowKey = "FormaPlat";
  d.helpPage = "kar_fin_platn.htm";
  d.insertRight = "DFormPlat";
  d.insertRightMessage = "Brak uprawnień na dodawanie form płatności!";
  d.viewRight = "EFormPlat";
  d.viewRightMessage = "Brak uprawnień na edycję form płatności!";
  d.deleteRight = "UFormPlat";
  d.deleteRightMessage = "Brak uprawnień na usuwanie form płatności!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"FORP:PO_KODZIE", LocatorKind::Step, "FORP:KOD", ""},
                  {"FORP:PO_NAZWIE", LocatorKind::Step, "FORP:NAZWA", ""}};
  d.columns = {"FORP:SYSTEMOWY",
               "FORP:KOD",
               "FORP:NAZWA",
               "akt",
               "FORP:DNI_NALEZNOSCI",
               "FORP:DNI_ZOBOWIAZAN",
               "litera_g",
               "FORP:WLICZAJ_DO_LIMITU",
               "KON1:NAZWA",
               "FORP:ID_FORMY"};
  d.form = runPaymentFormForm;
  return d;
}

class PaymentFormList : public engine::ListWindow {
 public:
  PaymentFormList(bool cashAndCardOnly, std::string startName)
      : ListWindow(paymentListDescriptor()), cashAndCardOnly_(cashAndCardOnly), startName_(std::move(startName)) {}

  void setRanges(data::ViewManager& view) override {
    if (const sql::TableDef* contractors = data::findTable("KONTRAHENT1"))
      view.addJoin(*contractors, "KON1:ID_KONTRAHENTA = FORP:ID_PLATNIKA");
    view.bindExpression("akt", codeTextExpression("FORP:AKTYWNA", activeTexts()));
    view.bindExpression("litera_g", codeTextExpression("FORP:GEN_AUTO_ROZLICZ", settlementLetters()));
    view.setSqlFilter("+" + paymentListFilter(data::glo().ID_FIRMY.get(), isSelecting(), cashAndCardOnly_));
  }

  int opened() override {
    window()->setIconList(kList, {"~32redchk.ico"});
    if (!mayToggle()) window()->hide(kActiveButton);
    std::string choice = paymentSortChoice(svc::POBIERZPARAMETROKNA(kParameterWindow, kSortParameter));
    window()->setValue(kSortList, choice);
    chooseSort(paymentSortOrder(choice));
    if (isSelecting()) showStartForm();
    window()->select(kList);
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    for (auto [column, field] :
         {std::pair{kSystemColumn, "FORP:SYSTEMOWY"}, std::pair{kLimitColumn, "FORP:WLICZAJ_DO_LIMITU"}}) {
      setIcon(row, column, data::field(field).number() == 1 ? kCheckIcon : 0);
      hideText(row, column);
    }
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kSortList) {
      chooseSort(paymentSortOrder(window()->value(kSortList)));
      return fw::kLevelNotify;
    }
    if (e.control == kActiveButton) {
      toggleActive();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void addPopupItems(fw::PopupClass& popup) override {
    if (!mayToggle()) return;
    popup.addItem("-");
    popup.addItemMimic(kActiveItem, kActiveButton, "Aktywna <F4>");
  }

  using ListWindow::run;
  int run(int number, int request) override {
    // The list fetched the row before calling: its flag is in the buffer.
    if (request == data::kDeleteRecord && data::field("FORP:SYSTEMOWY").number() == 1) {
      warn("Nie można usunąć systemowej formy płatności!");
      return data::kRequestCancelled;
    }
    return ListWindow::run(number, request);
  }

  void closeActions() override {
    if (!isOpened()) return;
    svc::ZAPISZPARAMETROKNA(kParameterWindow, kSortParameter,
                            browse().currentSort() == kPaymentByCode ? "kod" : "nazwa");
  }

 private:
  bool isSelecting() const { return request() == data::kSelectRecord; }
  // A picker only chooses, and a list opened to look changes nothing.
  bool mayToggle() const { return request() != data::kSelectRecord && request() != data::kViewRecord; }

  void chooseSort(int order) {
    browse().setSort(order, true);
    browse().resetQueue();
  }

  void showStartForm() {
    if (engine::trimmed(startName_).empty()) return;
    std::string id = svc::FUNCSQL("select top 1 id_formy from FORMA_PLATNOSCI where nazwa=" + sql::quote(startName_));
    if (rt::errorCode() != 0 || id.empty()) return;
    // The list finds the row by the key in the record buffer, as after a form.
    data::field("FORP:ID_FORMY").set(id);
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }

  void toggleActive() {
    if (!mayToggle()) return;
    const fw::ListRow* row = browse().selectedRow();
    if (row && view().fetch(row->position()) == 0) {
      double id = data::field("FORP:ID_FORMY").number();
      if (id > 0) {
        int active = data::field("FORP:AKTYWNA").number() == 1 ? 0 : 1;
        svc::EXECSQL("update forma_platnosci set AKTYWNA=" + std::to_string(active) +
                     " where ID_FORMY=" + sql::sqlId(id));
        if (rt::errorCode() != 0) warn(rt::errorText());
        svc::CLOSESQL();
        reload();
      }
    }
    window()->select(kList);
  }

  bool cashAndCardOnly_;
  std::string startName_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void FORMA_PLATNOSCI_BRW(std::uint8_t cashAndCardOnly) {
  using namespace slownik;
  // The caller's name is read before the list fills the buffer with its own rows.
  documents::PaymentFormList list(cashAndCardOnly == 1, data::field("FORP:NAZWA").text());
  list.run();
}
