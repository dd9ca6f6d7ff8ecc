#pragma once
#include "engine/record_form.h"

namespace slownik::banking {

//! The tax-office form "Urzedy_Upd" ("Dane urzędu"): insert, change and view of a row of
//! URZEDY. A name other than the one the form opened with must be unused; the office's
//! bank accounts open from the form and keep its default account in the record edited.
class TaxOfficeForm : public engine::RecordForm {
 public:
  TaxOfficeForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  int kill() override;

 private:
  void openAccounts();
  //! Whether a change still holds the office's lock (told to the user when not).
};

}  // namespace slownik::banking

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 6 view), the row in the
//! URZEDY record buffer; leaves GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void URZEDY_UPD();
