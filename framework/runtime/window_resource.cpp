#include "framework/runtime/window_resource.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include "framework/runtime/keys.h"

namespace slownik::rt {
namespace {

using nlohmann::json;

struct KindName {
  ControlKind kind;
  std::string_view name;
};

constexpr std::array kKindNames{
    KindName{ControlKind::Entry, "entry"},     KindName{ControlKind::Prompt, "prompt"},
    KindName{ControlKind::Button, "button"},   KindName{ControlKind::Check, "check"},
    KindName{ControlKind::Option, "option"},   KindName{ControlKind::Radio, "radio"},
    KindName{ControlKind::List, "list"},       KindName{ControlKind::Combo, "combo"},
    KindName{ControlKind::DropList, "droplist"}, KindName{ControlKind::Spin, "spin"},
    KindName{ControlKind::Text, "text"},       KindName{ControlKind::String, "string"},
    KindName{ControlKind::Image, "image"},     KindName{ControlKind::Sheet, "sheet"},
    KindName{ControlKind::Tab, "tab"},         KindName{ControlKind::Group, "group"},
    KindName{ControlKind::Panel, "panel"},     KindName{ControlKind::Line, "line"},
    KindName{ControlKind::Box, "box"},         KindName{ControlKind::Ellipse, "ellipse"},
    KindName{ControlKind::Region, "region"},   KindName{ControlKind::Progress, "progress"},
    KindName{ControlKind::Row, "row"},
};

std::mutex rootMutex;
std::string rootOverride;

// Collects the first fault with its place; everything after the first fault is skipped.
class Reader {
 public:
  explicit Reader(std::string_view file) : file_(file) {}

  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  void fail(const std::string& where, const std::string& what) {
    if (error_.empty()) error_ = std::string(file_) + ": " + where + ": " + what;
  }

  void checkKeys(const json& object, std::initializer_list<std::string_view> allowed, const std::string& where) {
    for (const auto& [k, v] : object.items()) {
      if (std::find(allowed.begin(), allowed.end(), k) == allowed.end()) fail(where, "unknown attribute \"" + k + "\"");
    }
  }

  std::string text(const json& object, const char* name, const std::string& where) {
    auto it = object.find(name);
    if (it == object.end()) return {};
    if (!it->is_string()) {
      fail(where, std::string("\"") + name + "\" must be a text");
      return {};
    }
    return it->get<std::string>();
  }

  bool flag(const json& object, const char* name, const std::string& where) {
    auto it = object.find(name);
    if (it == object.end()) return false;
    if (!it->is_boolean()) {
      fail(where, std::string("\"") + name + "\" must be true or false");
      return false;
    }
    return it->get<bool>();
  }

  std::vector<std::string> texts(const json& object, const char* name, const std::string& where) {
    std::vector<std::string> out;
    auto it = object.find(name);
    if (it == object.end()) return out;
    if (!it->is_array()) {
      fail(where, std::string("\"") + name + "\" must be a list of texts");
      return out;
    }
    for (const auto& item : *it) {
      if (!item.is_string()) {
        fail(where, std::string("\"") + name + "\" must be a list of texts");
        return {};
      }
      out.push_back(item.get<std::string>());
    }
    return out;
  }

  void controls(const json& list, int parent, const std::string& where, WindowDef& window, std::set<std::string>& names) {
    if (!list.is_array()) {
      fail(where, "\"controls\"/\"children\" must be a list");
      return;
    }
    for (const auto& item : list) {
      if (failed()) return;
      std::string at = where + " control " + std::to_string(window.controls.size() + 1);
      if (!item.is_object()) {
        fail(at, "a control must be an object");
        return;
      }
      checkKeys(item, {"name", "kind", "caption", "key", "keyLabel", "picture", "format", "tip", "icon", "value",
                       "items", "values", "required", "readOnly", "hidden", "disabled", "default", "children"},
                at);
      ControlDef c;
      c.name = text(item, "name", at);
      if (!c.name.empty()) at = where + " control " + c.name;
      std::string kindName = text(item, "kind", at);
      auto kind = controlKindFromName(kindName);
      if (!kind) {
        fail(at, kindName.empty() ? "no \"kind\"" : "unknown control kind \"" + kindName + "\"");
        return;
      }
      c.kind = *kind;
      c.parent = parent;
      c.caption = text(item, "caption", at);
      c.keyLabel = text(item, "keyLabel", at);
      std::string keyText = text(item, "key", at);
      if (!keyText.empty()) {
        auto code = keyFromName(keyText);
        if (!code) {
          fail(at, "unknown key \"" + keyText + "\"");
          return;
        }
        c.key = *code;
        if (c.keyLabel.empty()) c.keyLabel = keyName(*code);
      }
      c.picture = text(item, "picture", at);
      c.format = text(item, "format", at);
      c.tip = text(item, "tip", at);
      c.icon = text(item, "icon", at);
      c.value = text(item, "value", at);
      c.items = texts(item, "items", at);
      auto values = texts(item, "values", at);
      if (!values.empty()) {
        if (values.size() != 2 || c.kind != ControlKind::Check) {
          fail(at, "\"values\" gives a check box's checked and unchecked value");
          return;
        }
        c.trueValue = values[0];
        c.falseValue = values[1];
      }
      c.required = flag(item, "required", at);
      c.readOnly = flag(item, "readOnly", at);
      c.hidden = flag(item, "hidden", at);
      c.disabled = flag(item, "disabled", at);
      c.isDefault = flag(item, "default", at);
      if (c.kind == ControlKind::Check && c.value.empty()) c.value = c.falseValue;
      if (!c.name.empty()) {
        if (c.name[0] != '?') {
          fail(at, "a control name starts with \"?\"");
          return;
        }
        if (!names.insert(c.name).second) {
          fail(at, "the name is used twice");
          return;
        }
      }
      if (c.kind == ControlKind::Tab && (parent < 0 || window.controls[parent].kind != ControlKind::Sheet)) {
        fail(at, "a tab belongs inside a sheet");
        return;
      }
      if (c.kind == ControlKind::Radio && (parent < 0 || window.controls[parent].kind != ControlKind::Option)) {
        fail(at, "a radio button belongs inside an option group");
        return;
      }
      if (failed()) return;
      int index = static_cast<int>(window.controls.size());
      window.controls.push_back(std::move(c));
      if (auto children = item.find("children"); children != item.end()) {
        if (!holdsControls(window.controls[index].kind)) {
          fail(at, "a " + std::string(kindName) + " holds no controls");
          return;
        }
        controls(*children, index, where, window, names);
      }
    }
  }

  std::optional<WindowDef> window(const json& item, size_t number) {
    std::string at = "window " + std::to_string(number);
    if (!item.is_object()) {
      fail(at, "a window must be an object");
      return std::nullopt;
    }
    checkKeys(item, {"type", "caption", "icon", "minSize", "controls"}, at);
    WindowDef w;
    w.type = text(item, "type", at);
    if (w.type.empty()) fail(at, "no \"type\"");
    if (!w.type.empty()) at = "window " + w.type;
    w.caption = text(item, "caption", at);
    w.icon = text(item, "icon", at);
    if (auto size = item.find("minSize"); size != item.end()) {
      if (!size->is_array() || size->size() != 2 || !(*size)[0].is_number_integer() ||
          !(*size)[1].is_number_integer()) {
        fail(at, "\"minSize\" is [width, height]");
      } else {
        w.minWidth = (*size)[0].get<int>();
        w.minHeight = (*size)[1].get<int>();
      }
    }
    std::set<std::string> names;
    if (auto list = item.find("controls"); list != item.end()) controls(*list, -1, at, w, names);
    if (failed()) return std::nullopt;
    return w;
  }

 private:
  std::string_view file_;
  std::string error_;
};

std::string lower(std::string_view s) {
  std::string out(s);
  for (auto& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

}  // namespace

std::optional<ControlKind> controlKindFromName(std::string_view name) {
  std::string wanted = lower(name);
  for (const auto& k : kKindNames) {
    if (k.name == wanted) return k.kind;
  }
  return std::nullopt;
}

std::string_view controlKindName(ControlKind kind) {
  for (const auto& k : kKindNames) {
    if (k.kind == kind) return k.name;
  }
  return "?";
}

bool takesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::Entry:
    case ControlKind::Button:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::List:
    case ControlKind::Combo:
    case ControlKind::DropList:
    case ControlKind::Spin:
    case ControlKind::Text:
    case ControlKind::Sheet:
      return true;
    default:
      return false;
  }
}

bool isEditable(ControlKind kind) {
  return kind == ControlKind::Entry || kind == ControlKind::Spin || kind == ControlKind::Text ||
         kind == ControlKind::Combo;
}

bool holdsControls(ControlKind kind) {
  return kind == ControlKind::Sheet || kind == ControlKind::Tab || kind == ControlKind::Group ||
         kind == ControlKind::Panel || kind == ControlKind::Option || kind == ControlKind::Row;
}

void setResourceRoot(std::string dir) {
  std::lock_guard lock(rootMutex);
  rootOverride = std::move(dir);
}

std::string resourceRoot() {
  {
    std::lock_guard lock(rootMutex);
    if (!rootOverride.empty()) return rootOverride;
  }
  if (const char* env = std::getenv("SLOWNIK_RESOURCES"); env && *env) return env;
  if (const char* env = std::getenv("SLOWNIK_SOURCE_DIR"); env && *env) return std::string(env) + "/resources";
  return "resources";
}

std::string resourceFile(std::string_view resourceName) {
  auto dollar = resourceName.find('$');
  std::string_view stem = dollar == std::string_view::npos ? resourceName : resourceName.substr(dollar + 1);
  return resourceRoot() + "/windows/" + lower(stem) + ".json";
}

std::optional<std::vector<WindowDef>> parseWindowResource(std::string_view text, std::string_view fileLabel,
                                                          std::string* error) {
  json root;
  try {
    root = json::parse(text.begin(), text.end());
  } catch (const json::exception& e) {
    if (error) *error = std::string(fileLabel) + ": not a valid window file: " + e.what();
    return std::nullopt;
  }
  Reader reader(fileLabel);
  std::vector<WindowDef> windows;
  if (!root.is_object() || !root.contains("windows") || !root["windows"].is_array()) {
    reader.fail("file", "expected an object with a \"windows\" list");
  } else {
    reader.checkKeys(root, {"windows"}, "file");
    std::set<std::string> types;
    for (const auto& item : root["windows"]) {
      auto w = reader.window(item, windows.size() + 1);
      if (!w) break;
      if (!types.insert(w->type).second) {
        reader.fail("window " + w->type, "the type is declared twice");
        break;
      }
      windows.push_back(std::move(*w));
    }
  }
  if (reader.failed()) {
    if (error) *error = reader.error();
    return std::nullopt;
  }
  return windows;
}

std::optional<WindowDef> loadWindowDef(std::string_view resourceName, std::string_view windowType,
                                       std::string* error) {
  std::string path = resourceFile(resourceName);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = path + ": window resource not found";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  auto windows = parseWindowResource(text.str(), path, error);
  if (!windows) return std::nullopt;
  for (auto& w : *windows) {
    if (lower(w.type) == lower(windowType)) {
      w.resource = std::string(resourceName);
      return std::move(w);
    }
  }
  if (error) *error = path + ": no window of type " + std::string(windowType);
  return std::nullopt;
}

}  // namespace slownik::rt
