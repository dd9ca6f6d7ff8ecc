#include "framework/services/prompt_dialog.h"

#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"

namespace slownik::svc {
namespace {

constexpr const char* kAccept = "?OK";
constexpr const char* kCancel = "?CANCEL";

rt::ControlDef control(rt::ControlKind kind, std::string name, std::string caption, int parent) {
  rt::ControlDef c;
  c.kind = kind;
  c.name = std::move(name);
  c.caption = std::move(caption);
  c.parent = parent;
  return c;
}

// A row of the window; the index its children name as their parent.
int addRow(rt::WindowDef& def) {
  def.controls.push_back(control(rt::ControlKind::Row, {}, {}, -1));
  return static_cast<int>(def.controls.size()) - 1;
}

rt::WindowDef definition(const PromptDialog& dialog) {
  rt::WindowDef def;
  def.resource = dialog.resource;
  def.type = "P1$WINDOW";
  def.caption = dialog.caption;
  def.minWidth = dialog.minWidth;
  def.minHeight = dialog.minHeight;
  for (const PromptField& field : dialog.fields) {
    const int row = addRow(def);
    def.controls.push_back(control(rt::ControlKind::Prompt, field.name + ":PROMPT", field.caption, row));
    auto entry = control(rt::ControlKind::Entry, field.name, {}, row);
    entry.picture = field.picture;
    entry.tip = field.tip;
    def.controls.push_back(std::move(entry));
  }
  const int buttons = addRow(def);
  auto accept = control(rt::ControlKind::Button, kAccept, dialog.acceptCaption, buttons);
  accept.isDefault = true;
  def.controls.push_back(std::move(accept));
  auto cancel = control(rt::ControlKind::Button, kCancel, "&Anuluj", buttons);
  cancel.key = rt::key::Esc;
  cancel.keyLabel = "Esc";
  def.controls.push_back(std::move(cancel));
  return def;
}

}  // namespace

bool runPromptDialog(const PromptDialog& dialog, const std::function<bool(rt::Window&)>& accept) {
  auto window = rt::Window::open(definition(dialog));
  if (!window) return false;
  for (const PromptField& field : dialog.fields) window->setValue(field.name, field.value);
  if (!dialog.fields.empty()) window->select(dialog.fields.front().name);
  bool accepted = false;
  for (;;) {
    rt::Event e = window->nextEvent();
    if (e.code == rt::event::CloseWindow) break;
    if (e.code != rt::event::Accepted) continue;
    if (e.control == kCancel) break;
    if (e.control == kAccept && accept(*window)) {
      accepted = true;
      break;
    }
  }
  window->close();
  return accepted;
}

}  // namespace slownik::svc
