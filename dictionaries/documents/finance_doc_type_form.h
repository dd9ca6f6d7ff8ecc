#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a financial document type: name, signature, kind, direction and the
//! default financial operation, typed or picked from the financial operations.
class FinanceDocTypeForm : public engine::RecordForm {
 public:
  FinanceDocTypeForm();
  static engine::FormDescriptor makeDescriptor();

  void prepare() override;
  //! The kind and direction chosen go into their codes; a blank choice keeps the code.
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;
};

//! The form, called by the financial types' list: GLOBALREQUEST 2 change, 6 view; the row
//! in the TYPDF: buffer; GLOBALRESPONSE 1 when the row was written, else 2.
void runFinanceDocTypeForm();

}  // namespace slownik::documents
