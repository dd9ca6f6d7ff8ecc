#include "framework/services/validation.h"

#include "framework/runtime/window.h"
#include "framework/services/messages.h"

namespace slownik::svc {

int WALIDACJA(std::string_view text, std::string_view field) {
  MSG_OSTRZEZENIE(text);
  if (!field.empty()) {
    if (auto window = rt::activeWindow()) window->select(field);
  }
  return 1;
}

}  // namespace slownik::svc
