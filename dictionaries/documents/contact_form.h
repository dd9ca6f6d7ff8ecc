#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! Our form of a contractor's contact person ("Kontakt_Kontrahenta_Upd"): the default of
//! the named procedure KONTAKT_KONTRAHENTA_UPD, used when the host installs no sibling's
//! form. Edits the KNTK: record in the buffer according to GLOBALREQUEST (1, 2, 3, 6);
//! a new contact belongs to the contractor primed in KNTK:ID_KONTRAHENTA.
class ContactForm : public engine::RecordForm {
 public:
  ContactForm();
  static engine::FormDescriptor makeDescriptor();

  bool checkBeforeSave() override;
};

//! Runs the form; GLOBALRESPONSE 1 when the contact was written, else 2.
void runContactForm();

}  // namespace slownik::documents
