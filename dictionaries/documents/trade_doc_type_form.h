#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a trade document type: name, kind, signature, summing and whether the
//! type is active. System types keep their name, signature and kind; the signature
//! decides the summing ("PR", "DRS" gross; corrections and "N" none); without the edit
//! right only the active flag may be changed.
class TradeDocTypeForm : public engine::RecordForm {
 public:
  TradeDocTypeForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;
};

//! The form, called by the trade types' list: GLOBALREQUEST 2 change, 6 view (1 and 3
//! work for a caller that adds or deletes types itself); the row in the TYPDH: buffer;
//! GLOBALRESPONSE 1 when the row was written, else 2.
void runTradeDocTypeForm();

}  // namespace slownik::documents
