#pragma once
#include <string>

#include "engine/list_window.h"

namespace slownik::documents {

//! What the lists of document types share: the icon of the first column ("S") on
//! system types, a system type never deleted, and the numbering formats read again when
//! the list closes after a completed form (documents number by them, and a type's
//! signature is part of its numbers). A list states its descriptor and the record field
//! of its system flag ("TYPDH:CZY_SYSTEMOWY"); the rest of its own it overrides.
class DocTypeList : public engine::ListWindow {
 public:
  DocTypeList(engine::ListDescriptor descriptor, std::string systemField);

  //! The icon list of the system column (derived lists calling it first).
  int opened() override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  using ListWindow::run;
  //! Refuses the delete of a system type before any right; notes completed forms.
  int run(int number, int request) override;
  void closeActions() override;

 protected:
  //! The current row (in the record buffer) is a system type.
  bool isSystemType() const;
  //! A form of this list completed `request` (insert, change or delete).
  virtual void completed(int /*request*/) {}
  //! Shows icon `icon` (1 = the list's check icon) in `column` when `field` is 1.
  void flagIcon(fw::ListRow& row, int column, const char* field) const;

 private:
  std::string systemField_;
  bool changed_ = false;
};

}  // namespace slownik::documents
