#include "framework/services/gus_registry_prompt.h"

#include <cctype>

#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "framework/services/messages.h"
#include "framework/services/nip.h"

namespace slownik::svc {
namespace {

constexpr const char* kNip = "?NIP";
constexpr const char* kOk = "?OK";
constexpr const char* kCancel = "?CANCEL";

rt::ControlDef control(rt::ControlKind kind, std::string name, std::string caption, int parent) {
  rt::ControlDef c;
  c.kind = kind;
  c.name = std::move(name);
  c.caption = std::move(caption);
  c.parent = parent;
  return c;
}

rt::WindowDef promptDefinition() {
  rt::WindowDef def;
  def.resource = "slownik$gus";
  def.type = "P1$WINDOW";
  def.caption = "Pobierz dane z GUS";
  def.minWidth = 200;
  def.minHeight = 50;
  def.controls.push_back(control(rt::ControlKind::Row, {}, {}, -1));
  def.controls.push_back(control(rt::ControlKind::Prompt, "?NIP:PROMPT", "N&IP", 0));
  auto nip = control(rt::ControlKind::Entry, kNip, {}, 0);
  nip.picture = "@s20";
  nip.tip = "Numer NIP podmiotu, którego dane pobrać z rejestru REGON";
  def.controls.push_back(std::move(nip));
  def.controls.push_back(control(rt::ControlKind::Row, {}, {}, -1));
  const int buttons = static_cast<int>(def.controls.size()) - 1;
  auto ok = control(rt::ControlKind::Button, kOk, "&Pobierz", buttons);
  ok.isDefault = true;
  def.controls.push_back(std::move(ok));
  auto cancel = control(rt::ControlKind::Button, kCancel, "&Anuluj", buttons);
  cancel.key = rt::key::Esc;
  cancel.keyLabel = "Esc";
  def.controls.push_back(std::move(cancel));
  return def;
}

}  // namespace

std::optional<std::string> registryNip(std::string_view typed) {
  if (!NIPOK(typed)) return std::nullopt;
  std::string digits;
  for (char c : typed)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  return digits;
}

std::optional<std::string> askRegistryNip(std::string_view proposed) {
  auto window = rt::Window::open(promptDefinition());
  if (!window) return std::nullopt;
  window->setValue(kNip, std::string(proposed));
  window->select(kNip);
  std::optional<std::string> chosen;
  for (;;) {
    rt::Event e = window->nextEvent();
    if (e.code == rt::event::CloseWindow) break;
    if (e.code != rt::event::Accepted) continue;
    if (e.control == kCancel) break;
    if (e.control != kOk) continue;
    if (auto nip = registryNip(window->value(kNip))) {
      chosen = std::move(nip);
      break;
    }
    MSG_OSTRZEZENIE("Numer NIP jest niepoprawny.|Wpisz dziesięć cyfr numeru NIP podmiotu.");
    window->select(kNip);
  }
  window->close();
  return chosen;
}

}  // namespace slownik::svc
