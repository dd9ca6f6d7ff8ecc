#include "framework/services/gus_registry_prompt.h"

#include <cctype>

#include "framework/services/messages.h"
#include "framework/services/nip.h"
#include "framework/services/prompt_dialog.h"

namespace slownik::svc {
namespace {

constexpr const char* kNip = "?NIP";

}  // namespace

std::optional<std::string> registryNip(std::string_view typed) {
  if (!NIPOK(typed)) return std::nullopt;
  std::string digits;
  for (char c : typed)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  return digits;
}

std::optional<std::string> askRegistryNip(std::string_view proposed) {
  PromptDialog dialog;
  dialog.resource = "slownik$gus";
  dialog.caption = "Pobierz dane z GUS";
  dialog.minWidth = 200;
  dialog.minHeight = 50;
  dialog.fields = {{kNip, "N&IP", "@s20", "Numer NIP podmiotu, którego dane pobrać z rejestru REGON", std::string(proposed)}};
  dialog.acceptCaption = "&Pobierz";
  std::optional<std::string> chosen;
  runPromptDialog(dialog, [&chosen](rt::Window& window) {
    chosen = registryNip(window.value(kNip));
    if (chosen) return true;
    MSG_OSTRZEZENIE("Numer NIP jest niepoprawny.|Wpisz dziesięć cyfr numeru NIP podmiotu.");
    window.select(kNip);
    return false;
  });
  return chosen;
}

}  // namespace slownik::svc
