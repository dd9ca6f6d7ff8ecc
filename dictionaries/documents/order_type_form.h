#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a production order type: its name and signature (the kind is shown,
//! never changed: another kind would take the row out of the order types). Without the
//! edit right the form only shows the type.
class OrderTypeForm : public engine::RecordForm {
 public:
  OrderTypeForm();
  static engine::FormDescriptor makeDescriptor();

  void prepare() override;
  bool checkBeforeSave() override;
};

//! The form, called by the order types' list: GLOBALREQUEST 2 change, 6 view; the row in
//! the TYPDMAG: buffer; GLOBALRESPONSE 1 when the row was written, else 2.
void runOrderTypeForm();

}  // namespace slownik::documents
