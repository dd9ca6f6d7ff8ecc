#include "dictionaries/banking/account_white_list_prompt.h"

#include "framework/runtime/date_time.h"
#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "framework/services/gus_registry_prompt.h"
#include "framework/services/messages.h"

namespace slownik::banking {
namespace {

constexpr const char* kNip = "?NIP";
constexpr const char* kDay = "?DATA";
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

// A prompt and its entry side by side.
void addEntry(rt::WindowDef& def, const std::string& name, const std::string& caption, const std::string& picture,
              const std::string& tip) {
  def.controls.push_back(control(rt::ControlKind::Row, {}, {}, -1));
  const int row = static_cast<int>(def.controls.size()) - 1;
  def.controls.push_back(control(rt::ControlKind::Prompt, name + ":PROMPT", caption, row));
  auto entry = control(rt::ControlKind::Entry, name, {}, row);
  entry.picture = picture;
  entry.tip = tip;
  def.controls.push_back(std::move(entry));
}

rt::WindowDef promptDefinition() {
  rt::WindowDef def;
  def.resource = "slownik$bialalista";
  def.type = "P1$WINDOW";
  def.caption = "Sprawdź na białej liście";
  def.minWidth = 220;
  def.minHeight = 60;
  addEntry(def, kNip, "N&IP", "@s20", "Numer NIP podatnika, do którego rachunek powinien należeć");
  addEntry(def, kDay, "Na &dzień", "@s10", "Dzień, na który sprawdzić rachunek (zwykle dzień zapłaty)");
  def.controls.push_back(control(rt::ControlKind::Row, {}, {}, -1));
  const int buttons = static_cast<int>(def.controls.size()) - 1;
  auto ok = control(rt::ControlKind::Button, kOk, "&Sprawdź", buttons);
  ok.isDefault = true;
  def.controls.push_back(std::move(ok));
  auto cancel = control(rt::ControlKind::Button, kCancel, "&Anuluj", buttons);
  cancel.key = rt::key::Esc;
  cancel.keyLabel = "Esc";
  def.controls.push_back(std::move(cancel));
  return def;
}

}  // namespace

std::optional<WhiteListQuestion> askWhiteListQuestion(std::string_view proposedNip) {
  auto window = rt::Window::open(promptDefinition());
  if (!window) return std::nullopt;
  const std::int32_t today = rt::today();
  window->setValue(kNip, std::string(proposedNip));
  window->setValue(kDay, rt::formatShortDate(today));
  window->select(kNip);
  std::optional<WhiteListQuestion> chosen;
  for (;;) {
    rt::Event e = window->nextEvent();
    if (e.code == rt::event::CloseWindow) break;
    if (e.code != rt::event::Accepted) continue;
    if (e.control == kCancel) break;
    if (e.control != kOk) continue;
    auto nip = svc::registryNip(window->value(kNip));
    if (!nip) {
      svc::MSG_OSTRZEZENIE("Numer NIP jest niepoprawny.|Wpisz dziesięć cyfr numeru NIP podatnika.");
      window->select(kNip);
      continue;
    }
    auto day = rt::parseDate(window->value(kDay), rt::TwoDigitYears::NearFuture, today);
    if (!day || *day > today) {
      svc::MSG_OSTRZEZENIE(day ? "Wykaz podatników VAT podaje stan tylko na dzień dzisiejszy lub wcześniejszy."
                               : "Data sprawdzenia jest niepoprawna.|Wpisz ją w postaci dd.mm.rrrr.");
      window->select(kDay);
      continue;
    }
    chosen = WhiteListQuestion{*nip, *day};
    break;
  }
  window->close();
  return chosen;
}

}  // namespace slownik::banking
