#include "framework/classes/theme_classes.h"

#include <algorithm>
#include <string>

#include "framework/classes/window_layouts.h"

namespace slownik::fw {

PxpGlobalClass& PXPGlobal() {
  static PxpGlobalClass theme;
  return theme;
}

void PxpWindowClass::init(std::shared_ptr<rt::Window> window) { window_ = std::move(window); }

void PxpWindowClass::setWindowColor() {
  if (window_) windowLayouts().update(*window_, [](WindowLayout& l) { l.themed = true; });
}

void PxpWindowClass::setListBoxDefaultLineHeight(std::string_view list, int height) {
  if (window_) setListRowHeight(*window_, list, height);
}

void PxpWindowClass::setGridColor(std::string_view list, long color) {
  if (!window_ || !window_->has(list)) return;
  windowLayouts().update(*window_, [&](WindowLayout& l) { l.gridColors[std::string(list)] = color; });
}

void setListRowHeight(const rt::Window& window, std::string_view list, int height) {
  if (!window.has(list) || height < 1) return;
  windowLayouts().update(window, [&](WindowLayout& l) { l.listRowHeights[std::string(list)] = height; });
}

void setListFont(const rt::Window& window, std::string_view list, std::string_view family, int points) {
  if (!window.has(list) || (family.empty() && points < 1)) return;
  windowLayouts().update(window, [&](WindowLayout& l) {
    l.listFonts[std::string(list)] = ListFont{std::string(family), std::max(points, 0)};
  });
}

}  // namespace slownik::fw
