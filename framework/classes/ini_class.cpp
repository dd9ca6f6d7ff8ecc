#include "framework/classes/ini_class.h"

#include <charconv>

#include "framework/data/globals.h"
#include "framework/runtime/ini_file.h"

namespace slownik::fw {
namespace {

std::optional<int> number(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return value;
}

}  // namespace

void IniClass::init(std::string fileName) {
  std::lock_guard lock(mutex_);
  fileName_ = std::move(fileName);
  killed_ = false;
}

std::string IniClass::fileName() const {
  std::lock_guard lock(mutex_);
  if (killed_) return {};
  return fileName_.empty() ? data::glo().PATH_INI.get() : fileName_;
}

void IniClass::kill() {
  std::lock_guard lock(mutex_);
  killed_ = true;
}

std::optional<Placement> IniClass::fetch(std::string_view procedure) const {
  std::string file = fileName();
  if (file.empty() || procedure.empty()) return std::nullopt;
  rt::IniFile ini(file);
  auto x = number(ini.find(procedure, "X"));
  auto y = number(ini.find(procedure, "Y"));
  auto width = number(ini.find(procedure, "Width"));
  auto height = number(ini.find(procedure, "Height"));
  if (!x || !y || !width || !height || *width < 1 || *height < 1) return std::nullopt;
  return Placement{*x, *y, *width, *height, ini.get(procedure, "Maximized") == "1"};
}

bool IniClass::fetch(std::string_view procedure, const rt::Window& window) const {
  auto placement = fetch(procedure);
  if (!placement) return false;
  windowLayouts().setPlacement(window, *placement);
  return true;
}

bool IniClass::update(std::string_view procedure, const Placement& placement) {
  std::string file = fileName();
  if (file.empty() || procedure.empty()) return false;
  rt::IniFile ini(file);
  return ini.set(procedure, "X", std::to_string(placement.x)) && ini.set(procedure, "Y", std::to_string(placement.y)) &&
         ini.set(procedure, "Width", std::to_string(placement.width)) &&
         ini.set(procedure, "Height", std::to_string(placement.height)) &&
         ini.set(procedure, "Maximized", placement.maximized ? "1" : "0");
}

bool IniClass::update(std::string_view procedure, const rt::Window& window) {
  auto placement = windowLayouts().get(window.id()).placement;
  return placement && update(procedure, *placement);
}

std::string IniClass::fetchValue(std::string_view section, std::string_view key) const {
  std::string file = fileName();
  return file.empty() ? std::string() : rt::IniFile(file).get(section, key);
}

bool IniClass::updateValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string file = fileName();
  return !file.empty() && rt::IniFile(file).set(section, key, value);
}

}  // namespace slownik::fw
