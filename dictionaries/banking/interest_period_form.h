#pragma once
#include "engine/record_form.h"

namespace slownik::banking {

//! The period form "Odsetki_Upd" ("Odsetki"): the start day, rate and number of days of
//! one period of an interest table (ODSETKI). Opened only from the period list inside
//! the table form, which primes the period's table id and keeps the chain of end days.
//! Before the save: no other period of the table may start on the same day, and the
//! rate and the number of days must be above 0.
class InterestPeriodForm : public engine::RecordForm {
 public:
  InterestPeriodForm();
  static engine::FormDescriptor makeDescriptor();

  bool checkBeforeSave() override;
};

//! Reads GLOBALREQUEST (1 insert, 2 change, 3 delete, 6 view), the period in the ODSETKI
//! record buffer; leaves GLOBALRESPONSE 1 when the row was written, else 2.
void OdsetkiUpd();

}  // namespace slownik::banking
