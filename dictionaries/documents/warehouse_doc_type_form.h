#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a warehouse document type: name, signature, kind, valuation prices,
//! summing mode and the link to an invoice. The kind decides which of the valuation
//! and summing fields may be changed; system types keep their name, signature and kind.
//! A new type is written together with its numbering definition.
class WarehouseDocTypeForm : public engine::RecordForm {
 public:
  WarehouseDocTypeForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  //! ?OK: the checks before the save, each naming its field; the kind and the invoice
  //! box follow the accepted kind and valuation.
  int checkField(const rt::Event& e) override;
  int afterAccepted(const rt::Event& e) override;
  int takeCompleted() override;
  void afterSave() override;

 private:
  bool isSystemType() const;
  void applyKind();
  void applyEditRight();
  void applyInvoiceLink(bool clearWhenOff);
  //! The save checks; false when one failed (the user was told, the field selected).
  bool validate();
  //! Writes the new row and its numbering definition in one transaction.
  int insertWithNumbering();

  bool mayEdit_ = true;
};

}  // namespace slownik::documents

//! The exported form: GLOBALREQUEST 1 insert, 2 change, 3 delete, 6 view; the row in the
//! TYPDMAG: record buffer; GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void TYP_DOKUMENTU_MAGAZYNOWEGO_UPD();
