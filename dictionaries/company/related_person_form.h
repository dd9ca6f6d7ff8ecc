#pragma once
#include "engine/record_form.h"

namespace slownik::company {

//! The form of a related person ("Osoba_powiazana_Upd"): one name, unique among the
//! contractor's persons of every role and document kind, which may be taken from the
//! contractor's contact list. The row is in the OSOP: buffer; requests 1, 2, 3 and 6.
class RelatedPersonForm : public engine::RecordForm {
 public:
  RelatedPersonForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  int afterAccepted(const rt::Event& e) override;
  bool checkBeforeSave() override;

 private:
  //! Opens the contractor's contacts as a picker, on the contact whose name holds the
  //! typed one; a chosen contact's surname and first name become the person's name.
  void pickFromContacts();
};

//! Runs the form on GLOBALREQUEST; GLOBALRESPONSE 1 when the row was written, else 2.
void runRelatedPersonForm();

}  // namespace slownik::company
