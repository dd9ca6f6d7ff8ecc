#include "framework/classes/toolbar_update_class.h"

#include "framework/data/requests.h"

namespace slownik::fw {

bool ToolbarUpdateClass::canPerform(ToolbarAction action) const {
  if (!form_) return false;
  bool navigation = action == ToolbarAction::First || action == ToolbarAction::Previous ||
                    action == ToolbarAction::Next || action == ToolbarAction::Last;
  // A new record has no neighbours yet, and a delete ends with its own question.
  return navigation && (form_->request() == data::kChangeRecord || form_->request() == data::kViewRecord);
}

void ToolbarUpdateClass::perform(ToolbarAction action) {
  if (!canPerform(action)) return;
  int vcr = kVcrNone;
  switch (action) {
    case ToolbarAction::First: vcr = kVcrFirst; break;
    case ToolbarAction::Previous: vcr = kVcrBackward; break;
    case ToolbarAction::Next: vcr = kVcrForward; break;
    case ToolbarAction::Last: vcr = kVcrLast; break;
    default: return;
  }
  data::VCRREQUEST() = vcr;
  if (form_->request() == data::kViewRecord) {
    form_->post(data::kRequestCancelled);
    return;
  }
  // Through the save button, so that the form's own checks run before anything is written.
  if (form_->saveButton().empty()) {
    form_->takeCompleted();
  } else {
    form_->takeAccepted(rt::Event{rt::event::Accepted, form_->saveButton()});
  }
  if (!form_->isClosing()) data::VCRREQUEST() = kVcrNone;  // the save check held the form
}

}  // namespace slownik::fw
