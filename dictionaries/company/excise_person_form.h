#pragma once
#include "engine/record_form.h"

namespace slownik::company {

//! The excise person form "Akcyza_podatnik_upd" ("Dane osoby fizycznej"): the natural
//! person whose data go into the company's excise declarations, one per company. Opened
//! from the company form's person list, which primes a new row with the company's id.
class ExcisePersonForm : public engine::RecordForm {
 public:
  ExcisePersonForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  //! Every rule that fails is told, then the save is refused.
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
};

//! The form: reads GLOBALREQUEST (1 insert, 2 change, 3 delete, 6 view), the row in the
//! AKCYZA_FIRMA_PODATNIK record buffer; leaves GLOBALRESPONSE.
void AkcyzaPodatnikUpd();

}  // namespace slownik::company
