#include "engine/window_frame.h"

#include <cstdio>

#include "engine/module_objects.h"
#include "framework/classes/error_class.h"
#include "framework/classes/ini_class.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/data/globals.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window_resource.h"

namespace slownik::engine {

namespace {
// Row heights of dictionary lists: the runtime's own, and the theme's default.
constexpr int kListRowHeight = 12;
constexpr int kThemedListRowHeight = 11;
// The help file's number the module's windows start their help with.
constexpr int kHelpNumber = 123;
// The module's help contents: F1 in a window without a page of its own opens it.
constexpr const char* kContentsPage = "slownik.htm";
}  // namespace

std::string windowResource(int module) {
  char name[32];
  std::snprintf(name, sizeof name, "slownik$slown%03d", module);
  return name;
}

void WindowFrame::nameProcedure(std::string procedure) {
  procedure_ = std::move(procedure);
  moduleErrors().setProcedureName(procedure_);
  named_ = true;
}

int WindowFrame::open(fw::WindowManager& manager, int module, std::string_view windowType, int minWidth,
                      int minHeight) {
  std::string error;
  std::optional<rt::WindowDef> def = rt::loadWindowDef(windowResource(module), windowType, &error);
  if (!def) {
    rt::logMessage(procedure_ + ": " + error);
    return -1;
  }
  if (minWidth > 0) def->minWidth = minWidth;
  if (minHeight > 0) def->minHeight = minHeight;
  if (manager.open(rt::Window::open(std::move(*def))) != 0) return -1;
  window_ = manager.sharedWindow();
  return 0;
}

void WindowFrame::applyTheme(std::string_view list) {
  if (!window_) return;
  if (!list.empty()) fw::setListRowHeight(*window_, list, kListRowHeight);
  if (!fw::PXPGlobal().isThemeActive()) return;
  theme_.init(window_);
  theme_.setWindowColor();
  if (!list.empty()) {
    theme_.setListBoxDefaultLineHeight(list, kThemedListRowHeight);
    theme_.setGridColor(list);
  }
}

void WindowFrame::reserveKeys() {
  if (!window_) return;
  for (int key : {rt::key::AltAlone, rt::key::ShiftF10, rt::key::CtrlShiftF10}) window_->alert(key);
}

void WindowFrame::restorePosition() {
  if (window_) moduleSettings().fetch(procedure_, *window_);
}

void WindowFrame::registerTooltips() {
  if (!window_ || data::glo().TOOLTIPTYPE.get() != fw::XTooltipClass::kBalloonStyle) return;
  fw::XTOOLTIP().addWindow(*window_);
  tooltips_ = true;
}

void WindowFrame::startHelp(std::string page) {
  if (!window_) return;
  help_.init(window_, svc::moduleHelpFile(), kHelpNumber);
  // F1 never does nothing: a window without a page of its own opens the contents.
  help_.setTopic(page.empty() ? std::string(kContentsPage) : std::move(page));
}

void WindowFrame::startHighlighter() {
  if (window_) highlighter_.start(window_);
}

bool WindowFrame::takeEventFirst(const rt::Event& e) {
  if (e.code == rt::event::AlertKey && e.keyCode == rt::key::AltAlone) {
    // Only the host's own thread has a menu bar to give the keyboard to.
    if (rt::isFirstThread() && window_) window_->pressKey(rt::key::F10);
    return true;
  }
  if (help_.takeEvent(e)) return true;
  highlighter_.takeEvent(e);
  return false;
}

void WindowFrame::takeWindowEvent(const rt::Event& e, std::string_view focusControl) {
  if (e.code != rt::event::GainFocus && e.code != rt::event::Reactivate) return;
  help_.setTopic(help_.topic());
  if (e.code == rt::event::Reactivate && window_ && !focusControl.empty()) window_->select(focusControl);
}

void WindowFrame::leave() {
  if (!window_) return;
  if (tooltips_) {
    fw::XTOOLTIP().removeWindow(*window_);
    tooltips_ = false;
  }
  moduleSettings().update(procedure_, *window_);
}

void WindowFrame::release() {
  if (named_) {
    moduleErrors().setProcedureName("");
    named_ = false;
  }
  highlighter_.stop();
  help_.kill();
  window_.reset();
}

}  // namespace slownik::engine
