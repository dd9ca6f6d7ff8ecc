#pragma once
#include <string>

#include "engine/record_form.h"

namespace slownik::sms {

//! What the SMS forms' save check needs to know of their table: a name is required and
//! unique among the company's rows.
struct NameRule {
  std::string table;             //!< "SMS_SZABLON"
  std::string prefix;            //!< "SMSSZ"
  std::string idColumn;          //!< "ID_SMS_SZABLONU"
  std::string duplicateMessage;  //!< shown when another row of the company has the name
};

//! The save check of the name: "Proszę wprowadzić nazwę!" when it is empty, the rule's
//! message when another row of the same company has it (a changed row skips itself), the
//! database's text when the check could not run. Each refusal is a warning of the form;
//! false keeps the form open.
bool checkName(engine::RecordForm& form, const NameRule& rule);

}  // namespace slownik::sms
