#pragma once
#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a document label: its name, the lists it is available in (at least one)
//! and its text and background colours, each chosen in the colour dialog or cleared (-1).
class DocumentLabelForm : public engine::RecordForm {
 public:
  DocumentLabelForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;

 private:
  void chooseColour(const char* field, const char* box);
  void clearColour(const char* field, const char* box);
  void showColour(const char* field, const char* box);
};

}  // namespace slownik::documents

//! The exported form: GLOBALREQUEST 1 insert, 2 change, 3 delete, 6 view; the row in the
//! ETYD: record buffer; GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void ETYKIETA_DOKUMENTU_UPD();
