#include "framework/services/messages.h"

#include <string>

namespace slownik::svc {

void MSG_OSTRZEZENIE(std::string_view text) {
  rt::messageBox("Ostrzeżenie", std::string(text), rt::MessageIcon::Warning, rt::button::Ok);
}

void MSG_INFORMACJA(std::string_view text) {
  rt::messageBox("Informacja", std::string(text), rt::MessageIcon::Information, rt::button::Ok);
}

int MSG_PYTANIE(std::string_view text, std::string_view caption) {
  std::string title = caption.empty() ? std::string("Pytanie") : std::string(caption);
  int answer = rt::messageBox(std::move(title), std::string(text), rt::MessageIcon::Question,
                              rt::button::Yes | rt::button::No, rt::button::Yes);
  // Anything but an explicit yes (a box closed another way) counts as no.
  return answer == rt::button::Yes ? kYes : kNo;
}

void warningBox(std::string_view text) {
  rt::messageBox("TRAMEL: Ostrzeżenie", std::string(text), rt::MessageIcon::Warning, rt::button::Ok);
}

int questionBox(std::string_view text, int defaultButton) {
  if (defaultButton != rt::button::Yes && defaultButton != rt::button::No) defaultButton = rt::button::Yes;
  return rt::messageBox("TRAMEL: Pytanie", std::string(text), rt::MessageIcon::Question,
                        rt::button::Yes | rt::button::No, defaultButton);
}

}  // namespace slownik::svc
