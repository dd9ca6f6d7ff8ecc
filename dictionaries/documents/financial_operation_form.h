#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The help page of the financial operations, list and form.
inline constexpr const char* kFinancialOperationHelp = "Rodzaj_Operacji_Fin_Upd.htm";

//! The form of a financial operation ("Rodzaj_Operacji_Fin_Upd"): a code unique among
//! the operations (letter case aside) and a name.
class FinancialOperationForm : public engine::RecordForm {
 public:
  FinancialOperationForm();
  static engine::FormDescriptor makeDescriptor();

  bool checkBeforeSave() override;
};

//! Runs the form on GLOBALREQUEST (1, 2, 3 or 6) with the row in the ROF: buffer;
//! GLOBALRESPONSE 1 when the row was written, else 2.
void runFinancialOperationForm();

}  // namespace slownik::documents
