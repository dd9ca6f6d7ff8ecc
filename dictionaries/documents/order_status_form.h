#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of an order status: description, code, flags and the SMS template sent when
//! an order enters the status. System statuses keep their description and code; the
//! statuses order handling is built on ("N", "C", "Z", "Y", "A") stay active and send
//! no template of their own.
class OrderStatusForm : public engine::RecordForm {
 public:
  OrderStatusForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  //! The code is unique among the statuses of its document type, as it will be stored.
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;

 private:
  void showTemplateName();
  void pickTemplate();
};

//! The form, called by the statuses' list: GLOBALREQUEST 1 insert, 2 change, 3 delete,
//! 6 view; the row in the VSSD: buffer; GLOBALRESPONSE 1 when written, else 2.
void runOrderStatusForm();

}  // namespace slownik::documents
