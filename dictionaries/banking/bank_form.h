#pragma once
#include "engine/record_form.h"

namespace slownik::banking {

//! The bank form "Banki_Upd" ("Dane banku"): insert, change and view of a row of BANKI.
//! Before the save: no other bank may have the same number (the empty number counts
//! too), and an empty name is asked about. Ctrl+V in the number pastes the clipboard
//! cut to 8 characters; the buttons beside the e-mail and web address open them.
class BankForm : public engine::RecordForm {
 public:
  BankForm();
  static engine::FormDescriptor makeDescriptor();

  void prepare() override;
  void setAlerts() override;
  int takeEvent(const rt::Event& e) override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  int kill() override;

 private:
  void pasteNumber();
  void openWebsite();
};

}  // namespace slownik::banking

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 6 view), the row in the
//! BANKI record buffer; leaves GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void BANKI_UPD();
