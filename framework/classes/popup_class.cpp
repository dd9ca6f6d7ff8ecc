#include "framework/classes/popup_class.h"

#include <algorithm>
#include <cctype>

#include "framework/runtime/log.h"

namespace slownik::fw {
namespace {

// Letters and digits of the text; bytes of multi-byte letters are kept as they are.
std::string nameFromText(std::string_view text) {
  std::string name;
  for (unsigned char c : text) {
    if (c >= 0x80 || std::isalnum(c)) name += static_cast<char>(c);
  }
  return name;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

void PopupClass::init(std::shared_ptr<rt::Window> window) {
  window_ = std::move(window);
  items_.clear();
}

std::string PopupClass::uniqueName(std::string wanted) const {
  if (wanted.empty()) wanted = "item";
  if (!find(wanted)) return wanted;
  for (int n = 2;; ++n) {
    std::string candidate = wanted + std::to_string(n);
    if (!find(candidate)) return candidate;
  }
}

std::string PopupClass::addItem(std::string text, std::string name, int level) {
  Item item;
  bool separator = text == "-";
  item.name = uniqueName(name.empty() ? (separator ? std::string("sep") : nameFromText(text)) : std::move(name));
  item.text = std::move(text);
  item.level = level < 1 ? 1 : level;
  items_.push_back(std::move(item));
  return items_.back().name;
}

std::string PopupClass::addItemMimic(std::string name, std::string button, std::string text) {
  if (text.empty() && window_) {
    if (auto c = window_->control(button)) text = c->text;
  }
  if (text.empty()) text = button;
  std::string added = addItem(std::move(text), std::move(name));
  find(added)->button = std::move(button);
  return added;
}

PopupClass::Item* PopupClass::find(std::string_view name) {
  for (auto& item : items_) {
    if (sameName(item.name, name)) return &item;
  }
  return nullptr;
}

const PopupClass::Item* PopupClass::find(std::string_view name) const {
  return const_cast<PopupClass*>(this)->find(name);
}

bool PopupClass::setText(std::string_view name, std::string text) {
  Item* item = find(name);
  if (item) item->text = std::move(text);
  return item != nullptr;
}

bool PopupClass::setIcon(std::string_view name, std::string icon) {
  Item* item = find(name);
  if (item) item->icon = std::move(icon);
  return item != nullptr;
}

bool PopupClass::setLevel(std::string_view name, int level) {
  Item* item = find(name);
  if (item) item->level = level < 1 ? 1 : level;
  return item != nullptr;
}

bool PopupClass::setItemEnabled(std::string_view name, bool enabled) {
  Item* item = find(name);
  if (item) item->enabled = enabled;
  return item != nullptr;
}

bool PopupClass::setItemChecked(std::string_view name, bool checked) {
  Item* item = find(name);
  if (item) item->checked = checked;
  return item != nullptr;
}

std::vector<rt::PopupItem> PopupClass::menu(std::vector<std::string>* choiceNames) const {
  // Items as a tree: the stack holds the open submenus, one per level.
  std::vector<rt::PopupItem> top;
  std::vector<std::vector<rt::PopupItem>*> levels{&top};
  std::vector<const Item*> shown;  // the items placed, in document order
  for (const auto& item : items_) {
    bool enabled = item.enabled;
    if (!item.button.empty()) {
      auto c = window_ ? window_->control(item.button) : std::nullopt;
      if (!c || c->hidden) continue;  // a hidden button offers nothing
      enabled = enabled && c->enabled;
    }
    int level = std::min<int>(item.level, static_cast<int>(levels.size()) + 1);
    // A deeper level opens the submenu of the last item at the level above.
    if (level > static_cast<int>(levels.size())) {
      auto& parentList = *levels.back();
      if (parentList.empty()) {
        level = static_cast<int>(levels.size());
      } else {
        levels.push_back(&parentList.back().items);
      }
    }
    levels.resize(level);
    rt::PopupItem entry;
    entry.text = item.text;
    entry.icon = item.icon;
    entry.separator = item.isSeparator();
    entry.enabled = enabled;
    entry.checked = item.checked;
    levels.back()->push_back(std::move(entry));
    shown.push_back(&item);
  }
  if (choiceNames) {
    // Walk the tree in the front-end's order: leaves that are not separators.
    choiceNames->clear();
    size_t next = 0;
    std::vector<std::string> names;
    auto walk = [&](auto&& self, const std::vector<rt::PopupItem>& list) -> void {
      for (const auto& e : list) {
        const Item* source = shown[next++];
        if (e.separator) continue;
        if (e.items.empty()) {
          choiceNames->push_back(source->name);
        } else {
          self(self, e.items);
        }
      }
    };
    walk(walk, top);
  }
  return top;
}

std::string PopupClass::ask() {
  std::vector<std::string> names;
  auto entries = menu(&names);
  if (names.empty()) return {};
  int chosen = rt::popupMenu(std::move(entries));
  if (chosen < 1 || chosen > static_cast<int>(names.size())) return {};
  const Item* item = find(names[chosen - 1]);
  if (!item) return {};
  if (!item->button.empty() && window_) {
    std::string refused = window_->click(item->button);
    if (!refused.empty()) {
      rt::logMessage("popup item " + item->name + ": " + refused);
      return {};
    }
  }
  return item->name;
}

void PopupClass::kill() { items_.clear(); }

}  // namespace slownik::fw
