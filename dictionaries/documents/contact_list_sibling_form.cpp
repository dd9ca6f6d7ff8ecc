#include "dictionaries/documents/contact_list_sibling_form.h"

#include <mutex>
#include <utility>

#include "framework/data/requests.h"
#include "framework/services/messages.h"

namespace slownik::documents {
namespace {

std::mutex formMutex;
std::function<void()>& installedForm() {
  static std::function<void()> form;
  return form;
}

std::function<void()> currentForm() {
  std::lock_guard lock(formMutex);
  return installedForm();
}

}  // namespace

void setSiblingContactForm(std::function<void()> form) {
  std::lock_guard lock(formMutex);
  installedForm() = std::move(form);
}

bool hasSiblingContactForm() { return static_cast<bool>(currentForm()); }

void runSiblingContactForm() {
  // A copy, so that installing another form meanwhile can't pull this one from under it.
  std::function<void()> form = currentForm();
  if (!form) {
    data::GLOBALREQUEST() = data::kNoRequest;
    data::GLOBALRESPONSE() = data::kRequestCancelled;
    svc::MSG_OSTRZEZENIE(kContactFormMissing);
    return;
  }
  form();
}

}  // namespace slownik::documents
