#pragma once
#include "engine/record_form.h"

namespace slownik::sms {

//! The form of an SMS template ("Dane szablonu"): its name, unique in the company, and
//! its text, into which "Wstaw" puts a placeholder of the template's context at the
//! cursor and "Bez polskich" replaces the Polish letters.
class TemplateForm : public engine::RecordForm {
 public:
  TemplateForm();
  static engine::FormDescriptor makeDescriptor();

  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;

 private:
  void insertPlaceholder();
  void removePolishLetters();
};

}  // namespace slownik::sms

//! The template form, opened by the template list: GLOBALREQUEST 1, 2, 3 or 6, the row
//! in the SMSSZ: record buffer; GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void SMS_SZABLON_UPD();
