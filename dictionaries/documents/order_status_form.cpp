#include "dictionaries/documents/order_status_form.h"

#include <string>

#include "dictionaries/documents/order_status_rules.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"
#include "sms/template_list.h"

namespace slownik::documents {
namespace {

constexpr const char* kDescription = "?VSSD:OPIS_STATUSU";
constexpr const char* kCode = "?VSSD:KOD_STATUSU";
constexpr const char* kActive = "?VSSD:AKTYWNY";
constexpr const char* kSystem = "?VSSD:SYSTEMOWY";
constexpr const char* kTemplateName = "?NAZWA_SZABLONU";
constexpr const char* kTemplatePrompt = "?NAZWA_SZABLONU:PROMPT";
constexpr const char* kPickTemplate = "?BUTTONSMS";
constexpr const char* kClearTemplate = "?BUTTONSMSDEL";
constexpr int kTemplatePicker = 1;

std::string upperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

OrderStatusForm::OrderStatusForm() : RecordForm(makeDescriptor()) {
  addPicker(kTemplatePicker, [] { SMS_SZABLON_BRW("ZAM_BRW"); });
}

engine::FormDescriptor OrderStatusForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 98;
  d.procedure = "StatusyZamowien_Upd";
  d.table = "VEX_SLOWNIK_STATUSOW_DOKUMENTOW";
  d.lookupTables = {"SMS_SZABLON"};
  d.titles = {"Dodawanie statusu zamówień", "Edycja statusu zamówień", "Podgląd"};
  d.history = {{kDescription, 2}, {kCode, 3}, {kActive, 7}, {"?VSSD:AUTOMATYCZNY", 6}, {kSystem, 5}};
  d.helpPage = "vex_zam.htm";
  d.firstField = kDescription;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void OrderStatusForm::primeFields() {
  data::field("VSSD:TYP_DOKUMENTU").set("Z");
  data::field("VSSD:AKTYWNY").set(1);
  data::field("VSSD:SYSTEMOWY").set(0);
  data::field("VSSD:AUTOMATYCZNY").set(0);
  data::field("VSSD:ID_SZABLONU_SMS").set(0);
}

void OrderStatusForm::showTemplateName() {
  std::string name;
  if (data::field("VSSD:ID_SZABLONU_SMS").number() > 0) {
    data::field("SMSSZ:ID_SMS_SZABLONU").set(data::field("VSSD:ID_SZABLONU_SMS").number());
    if (data::FileManager* templates = data::fileManager("SMS_SZABLON");
        templates && templates->fetch("SMSSZ:PK_SMS_SZABLON") == 0)
      name = engine::trimmed(data::field("SMSSZ:NAZWA").text());
  }
  window()->setValue(kTemplateName, name);
}

void OrderStatusForm::prepare() {
  showTemplateName();
  if (request() == data::kViewRecord) {
    for (const char* control : {kDescription, kCode, kTemplateName}) window()->setReadOnly(control, true);
    window()->disable(kPickTemplate);
    window()->disable(kClearTemplate);
    return;
  }
  if (request() != data::kChangeRecord) return;
  bool builtIn = isBuiltInStatusCode(text("VSSD:KOD_STATUSU"));
  // The code is what orders keep: a built-in status's code is fixed even when its flag
  // was taken off, and so is its system flag.
  if (data::field("VSSD:SYSTEMOWY").number() == 1 || builtIn)
    for (const char* control : {kDescription, kCode}) window()->setReadOnly(control, true);
  if (builtIn) {
    window()->disable(kSystem);
    window()->disable(kActive);
    for (const char* control : {kTemplatePrompt, kTemplateName, kPickTemplate, kClearTemplate})
      window()->hide(control);
  }
}

bool OrderStatusForm::checkBeforeSave() {
  std::string code = engine::trimmed(text("VSSD:KOD_STATUSU"));
  if (code.empty()) {
    warn("Kod statusu nie może być pusty!");
    focus(kCode);
    return false;
  }
  // Checked as it will be stored: "p" typed beside a stored "P" is the same code.
  std::string stored = upperAscii(code);
  std::string taken = svc::FUNCSQL("select 1 from VEX_SLOWNIK_STATUSOW_DOKUMENTOW with (nolock) where id_statusu<>" +
                                   sql::sqlId(data::field("VSSD:ID_STATUSU").number()) + " and TYP_DOKUMENTU = " +
                                   sql::quote(engine::trimmed(text("VSSD:TYP_DOKUMENTU"))) +
                                   " and KOD_STATUSU=" + sql::quote(stored));
  if (rt::errorCode() != 0) {
    warn("Nie udało się sprawdzić kodu statusu! Powód: " + rt::errorText());
    return false;
  }
  if (engine::trimmed(taken) == "1") {
    warn("Kod statusu musi być niepowtarzalny!");
    focus(kCode);
    return false;
  }
  // The save copies the window's fields into the record once more.
  data::field("VSSD:KOD_STATUSU").set(stored);
  window()->setValue(kCode, stored);
  return true;
}

void OrderStatusForm::pickTemplate() {
  update();
  data::field("SMSSZ:ID_SMS_SZABLONU").set(data::field("VSSD:ID_SZABLONU_SMS").number());
  if (pick(kTemplatePicker) != data::kRequestCompleted) return;
  data::field("VSSD:ID_SZABLONU_SMS").set(static_cast<long long>(data::field("SMSSZ:ID_SMS_SZABLONU").number()));
  window()->setValue(kTemplateName, engine::trimmed(data::field("SMSSZ:NAZWA").text()));
}

int OrderStatusForm::afterAccepted(const rt::Event& e) {
  if (e.control == kPickTemplate) {
    pickTemplate();
    return fw::kLevelNotify;
  }
  if (e.control == kClearTemplate) {
    data::field("VSSD:ID_SZABLONU_SMS").set(0);
    window()->setValue(kTemplateName, "");
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void OrderStatusForm::afterSave() {
  if (request() != data::kDeleteRecord) return;
  // As the question before the delete said: orders in the status lose it.
  svc::EXECSQL("update zamowienie set status='' where status=" +
               sql::quote(engine::trimmed(data::field("VSSD:KOD_STATUSU").text())));
  if (rt::errorCode() != 0)
    svc::MSG_OSTRZEZENIE("Nie udało się usunąć statusu z zamówień! Powód: " + rt::errorText());
  svc::CLOSESQL();
}

void runOrderStatusForm() {
  OrderStatusForm form;
  form.run();
}

}  // namespace slownik::documents
