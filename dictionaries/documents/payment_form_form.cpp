#include "dictionaries/documents/payment_form_form.h"

#include <algorithm>

#include "dictionaries/documents/contractor_picker_list.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?FORP:NAZWA";
constexpr const char* kOperator = "?OPERATOR";
constexpr const char* kChooseOperator = "?BUTTONK";
constexpr const char* kClearOperator = "?BUTTONC";
constexpr int kOperatorPicker = 1;

std::string id(std::string_view field) { return sql::sqlId(data::field(field).number()); }

}  // namespace

PaymentFormForm::PaymentFormForm() : RecordForm(makeDescriptor()) {
  addPicker(kOperatorPicker, [] { KONTRAHENTFORMA_BRW("A.OPERATOR_PLATNOSCI=1"); });
}

engine::FormDescriptor PaymentFormForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 57;
  d.procedure = "Forma_platnosci_Upd";
  d.table = "FORMA_PLATNOSCI";
  d.titles = {"Dodawanie formy płatności", "Edycja formy płatności", "Podgląd formy płatności"};
  // Fields by their place in the record: KOD 2, NAZWA 3, SYSTEMOWY 4, the terms 5 and 6,
  // GEN_AUTO_ROZLICZ 10, WLICZAJ_DO_LIMITU 11.
  d.history = {{kName, 3},
               {"?FORP:KOD", 2},
               {"?FORP:SYSTEMOWY", 4},
               {"?FORP:GEN_AUTO_ROZLICZ", 10},
               {"?FORP:WLICZAJ_DO_LIMITU", 11},
               {"?FORP:DNI_NALEZNOSCI", 5},
               {"?FORP:DNI_ZOBOWIAZAN", 6}};
  d.lockedControls = {kChooseOperator, kClearOperator};
  d.helpPage = "kar_fin_platn.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void PaymentFormForm::primeFields() {
  data::field("FORP:SYSTEMOWY").set(0);
  data::field("FORP:AKTYWNA").set(1);
  data::field("FORP:ID_FIRMY").set(0);
  data::field("FORP:ID_PLATNIKA").set(0);
}

void PaymentFormForm::prepare() {
  if (request() == data::kInsertRecord) return;
  if (data::field("FORP:ID_PLATNIKA").number() > 0) {
    window()->setText(kOperator, svc::FUNCSQL("select nazwa from kontrahent where id_kontrahenta=" +
                                              id("FORP:ID_PLATNIKA") + " and id_firmy=" + id("FORP:ID_FIRMY")));
  }
  // A system form keeps its name and its operator; the documents rely on them.
  if (request() == data::kChangeRecord && data::field("FORP:SYSTEMOWY").number() == 1)
    for (const char* control : {kName, kChooseOperator, kClearOperator}) window()->disable(control);
}

std::optional<std::string> PaymentFormForm::lookUp(const std::string& statement) const {
  std::string answer = svc::FUNCSQL(statement);
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return std::nullopt;
  }
  return answer;
}

bool PaymentFormForm::checkBeforeSave() {
  std::string name = engine::trimmed(text("FORP:NAZWA"));
  if (name.empty()) {
    warn("Nazwa formy płatności musi być wypełniona!");
    return false;
  }
  // The form itself never counts: renaming it to its own name in other letters is a
  // duplicate only when another form has that name.
  const std::string self = " and id_formy<>" + id("FORP:ID_FORMY");
  if (request() == data::kInsertRecord || name != engine::trimmed(savedValue("FORP:NAZWA"))) {
    auto other = lookUp("select nazwa from forma_platnosci where upper(nazwa)=upper(" + sql::quote(name) + ")" + self);
    if (!other) return false;
    if (!other->empty()) {
      warn("Uwaga!|Forma płatności " + *other + " już istnieje w kartotece!");
      return false;
    }
  }
  std::string code = engine::trimmed(text("FORP:KOD"));
  if (code.empty()) {
    warn("Kod formy płatności musi być wypełniony!");
    return false;
  }
  auto holder = lookUp("select nazwa from forma_platnosci where upper(kod)=upper(" + sql::quote(code) + ")" + self);
  if (!holder) return false;
  if (!holder->empty()) {
    warn("Uwaga!|Forma płatności o kodzie " + code + " już istnieje w kartotece pod nazwą " + *holder + "!");
    return false;
  }
  return true;
}

int PaymentFormForm::afterAccepted(const rt::Event& e) {
  if (e.control == kChooseOperator) {
    chooseOperator();
  } else if (e.control == kClearOperator) {
    clearOperator();
  } else {
    return fw::kLevelBenign;
  }
  return fw::kLevelNotify;
}

void PaymentFormForm::chooseOperator() {
  update();  // what the user typed is kept while the picker runs
  if (pick(kOperatorPicker) == data::kRequestCompleted) {
    if (data::field("KON1:OPERATOR_PLATNOSCI").number() == 0) {
      warn("Wybrany kontrahent nie jest Operatorem płatności!");
    } else {
      window()->setText(kOperator, data::field("KON1:NAZWA").text());
      data::field("FORP:ID_PLATNIKA").set(data::field("KON1:ID_KONTRAHENTA").integer());
      data::field("FORP:ID_FIRMY").set(data::field("KON1:ID_FIRMY").integer());
    }
  }
  // On to the control after the button.
  auto order = window()->tabOrder();
  auto at = std::find(order.begin(), order.end(), kChooseOperator);
  if (at != order.end() && std::next(at) != order.end()) window()->select(*std::next(at));
}

void PaymentFormForm::clearOperator() {
  update();
  window()->setText(kOperator, "");
  data::field("FORP:ID_PLATNIKA").set(0);
  data::field("FORP:ID_FIRMY").set(0);
}

void runPaymentFormForm() {
  PaymentFormForm form;
  form.run();
}

}  // namespace slownik::documents
