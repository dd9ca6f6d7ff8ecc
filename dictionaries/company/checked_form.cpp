#include "dictionaries/company/checked_form.h"

namespace slownik::company {

int CheckedForm::takeAccepted(const rt::Event& e) {
  pendingFocus_.clear();
  int rc = RecordForm::takeAccepted(e);
  if (!pendingFocus_.empty()) {
    focus(pendingFocus_);
    pendingFocus_.clear();
  }
  return rc;
}

bool CheckedForm::failAt(const std::string& control, const std::string& message) {
  warn(message);
  pendingFocus_ = control;
  return false;
}

}  // namespace slownik::company
