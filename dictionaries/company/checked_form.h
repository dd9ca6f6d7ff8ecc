#pragma once
#include <string>

#include "engine/record_form.h"

namespace slownik::company {

//! A record form whose save checks put the focus on the field each failure is about.
//! The engine focuses the form's first field after a failed check; a check that names
//! its own field with failAt() gets the focus there instead, once the engine is done.
class CheckedForm : public engine::RecordForm {
 public:
  using engine::RecordForm::RecordForm;

  int takeAccepted(const rt::Event& e) override;

 protected:
  //! Tells the user `message` and keeps the focus for `control`; returns false (the
  //! check failed), so that checks read `return failAt(...)`.
  bool failAt(const std::string& control, const std::string& message);
  //! Keeps the focus for `control` without a message (the check asked a question).
  void focusAfterCheck(const std::string& control) { pendingFocus_ = control; }

 private:
  std::string pendingFocus_;
};

}  // namespace slownik::company
