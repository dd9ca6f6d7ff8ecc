#include "sms/template_form.h"

#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"
#include "sms/name_check.h"
#include "sms/placeholder_popup.h"

namespace slownik::sms {
namespace {

constexpr const char* kName = "?SMSSZ:NAZWA";
constexpr const char* kText = "?SMSSZ:TRESC_WIADOMOSCI";
constexpr const char* kInsert = "?WSTAW";
constexpr const char* kPlain = "?BEZPOLSKICH";
constexpr std::size_t kTextChars = 2000;

}  // namespace

TemplateForm::TemplateForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor TemplateForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 76;
  d.procedure = "SMS_Szablon_upd";
  d.table = "SMS_SZABLON";
  d.titles = {"Dodawanie szablonu", "Edycja szablonu", "Podgląd szablonu"};
  d.history = {{kName, 5}, {kText, 6}};
  d.lockedControls = {kInsert, kPlain};
  d.helpPage = "sms.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool TemplateForm::checkBeforeSave() {
  return checkName(*this, {"SMS_SZABLON", "SMSSZ", "ID_SMS_SZABLONU",
                           "Szablon SMS o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!"});
}

int TemplateForm::afterAccepted(const rt::Event& e) {
  if (e.control == kInsert)
    insertPlaceholder();
  else if (e.control == kPlain)
    removePolishLetters();
  return fw::kLevelBenign;
}

void TemplateForm::insertPlaceholder() {
  update(kText);  // what the user typed so far
  data::Field text = data::field("SMSSZ:TRESC_WIADOMOSCI");
  // The text control's selection is its cursor: the 1-based position at which typing
  // goes in (the start of a marked stretch); 0 when the front-end never placed it,
  // which puts the placeholder at the end.
  auto control = window()->control(kText);
  long cursor =
      control && control->selection > 0 ? control->selection : static_cast<long>(sql::utf8Length(text.text())) + 1;
  CursorText edited{text.text(), cursor};
  if (!choosePlaceholder(data::field("SMSSZ:KONTEKST").text(), edited, kTextChars)) return;
  text.set(edited.text);
  display(kText);
  window()->select(kText);
  window()->setSelection(kText, static_cast<int>(edited.position));
}

void TemplateForm::removePolishLetters() {
  update(kText);
  data::Field text = data::field("SMSSZ:TRESC_WIADOMOSCI");
  std::string plain =
      svc::FUNCSQL("select dbo.TK_Func_BezPolskichZnakow('" + sql::escape(text.text()) + "')", /*keepBlanks=*/1);
  // A failed conversion keeps the text the user wrote instead of emptying it.
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return;
  }
  text.set(sql::truncateUtf8(plain, kTextChars));
  display(kText);
}

}  // namespace slownik::sms

extern "C" void SMS_SZABLON_UPD() {
  slownik::sms::TemplateForm form;
  form.run();
}
