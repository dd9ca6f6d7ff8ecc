#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a contractor classification ("Klasyfikacja kontrahenta"): a name unique
//! among the classifications, a description, and the mark of the default classification
//! for new contractors — at most one carries it, so marking one clears the others.
class ClassificationForm : public engine::RecordForm {
 public:
  ClassificationForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  void afterSave() override;
};

}  // namespace slownik::documents

//! The exported form: GLOBALREQUEST 1 insert, 2 change, 3 delete, 6 view; the row in the
//! KLA: record buffer; GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void TYP_KONTRAHENTA_UPD();
