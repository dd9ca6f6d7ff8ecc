#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The help page of the delivery forms, list and form.
inline constexpr const char* kDeliveryFormHelp = "formy_dostaw.htm";

//! The form of a delivery form ("Forma_dostawy_upd"): its name and type. A system form
//! (the internet shop's) only shows itself, with a note saying why.
class DeliveryFormForm : public engine::RecordForm {
 public:
  DeliveryFormForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
};

//! Runs the form on GLOBALREQUEST (1, 2, 3 or 6) with the row in the FORD: buffer;
//! GLOBALRESPONSE 1 when the row was written, else 2.
void runDeliveryFormForm();

}  // namespace slownik::documents
