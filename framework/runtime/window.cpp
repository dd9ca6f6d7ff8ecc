#include "framework/runtime/window.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>

#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"

namespace slownik::rt {

//! The windows one thread has open, oldest first; the last one is the active one.
struct ThreadWindows {
  int number = 0;
  std::mutex mutex;
  std::vector<std::shared_ptr<Window>> stack;
};

namespace {

// Marks every row from a list's anchor to its selected row; one row alone is no marking.
void markRange(Control& c) {
  c.marked.clear();
  if (c.anchor < 1 || c.selection < 1 || c.anchor == c.selection) return;
  for (int r = std::min(c.anchor, c.selection); r <= std::max(c.anchor, c.selection); ++r) c.marked.push_back(r);
}

using Changes = std::vector<std::pair<std::string, Property>>;

std::atomic<int> lastWindowId{0};

struct ThreadRegistry {
  std::mutex mutex;
  std::map<int, std::weak_ptr<ThreadWindows>> threads;
};

ThreadRegistry& registry() {
  static ThreadRegistry r;
  return r;
}

thread_local std::shared_ptr<ThreadWindows> ownWindows;

std::shared_ptr<ThreadWindows> currentThreadWindows() {
  if (!ownWindows) {
    ownWindows = std::make_shared<ThreadWindows>();
    ownWindows->number = threadNumber();
    std::lock_guard lock(registry().mutex);
    std::erase_if(registry().threads, [](const auto& entry) { return entry.second.expired(); });
    registry().threads[ownWindows->number] = ownWindows;
  }
  return ownWindows;
}

std::shared_ptr<ThreadWindows> threadWindows(int number) {
  std::lock_guard lock(registry().mutex);
  auto it = registry().threads.find(number);
  return it == registry().threads.end() ? nullptr : it->second.lock();
}

std::shared_ptr<Window> topWindow(const std::shared_ptr<ThreadWindows>& tw) {
  if (!tw) return nullptr;
  std::lock_guard lock(tw->mutex);
  return tw->stack.empty() ? nullptr : tw->stack.back();
}

bool isChoosing(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::Check || kind == ControlKind::Radio;
}


// Why a click on a list's row is refused when the list has no such row; "" when it has.
std::string missingRow(const Control& list, int row) {
  if (row >= 1 && row <= static_cast<int>(list.rows.size())) return {};
  return "the list " + list.name + " has no row " + std::to_string(row);
}
}  // namespace

char Control::mnemonic() const {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    unsigned char next = static_cast<unsigned char>(text[i + 1]);
    if (next == '&') {
      ++i;  // "&&" is an ampersand, not a mnemonic
      continue;
    }
    return std::isalnum(next) ? static_cast<char>(std::toupper(next)) : 0;
  }
  return 0;
}

// --- opening and closing ------------------------------------------------------------

Window::Window(WindowDef def, int ownerThread)
    : id_(++lastWindowId), ownerThread_(ownerThread), def_(std::move(def)), title_(def_.caption) {
  controls_.reserve(def_.controls.size());
  std::map<ControlKind, int> unnamed;
  for (const auto& d : def_.controls) {
    Control c;
    c.name = d.name.empty() ? "?_" + std::string(controlKindName(d.kind)) + std::to_string(++unnamed[d.kind]) : d.name;
    c.kind = d.kind;
    c.parent = d.parent >= 0 ? controls_[d.parent].name : std::string();
    c.key = d.key;
    c.keyLabel = d.keyLabel;
    c.isDefault = d.isDefault;
    c.trueValue = d.trueValue;
    c.falseValue = d.falseValue;
    c.text = d.caption;
    c.value = d.value;
    c.enabled = !d.disabled;
    c.hidden = d.hidden;
    c.readOnly = d.readOnly;
    c.required = d.required;
    c.picture = d.picture;
    c.format = d.format;
    c.tip = d.tip;
    c.icon = d.icon;
    c.items = d.items;
    controls_.push_back(std::move(c));
  }
  auto order = tabOrderLocked();
  if (!order.empty()) focus_ = order.front();
}

Window::~Window() = default;

std::shared_ptr<Window> Window::open(std::string_view resourceName, std::string_view windowType, std::string* error) {
  std::string why;
  auto def = loadWindowDef(resourceName, windowType, &why);
  if (!def) {
    logMessage("window not opened: " + why);
    if (error) *error = why;
    return nullptr;
  }
  if (error) error->clear();
  return open(std::move(*def));
}

std::shared_ptr<Window> Window::open(WindowDef def) {
  auto tw = currentThreadWindows();
  std::shared_ptr<Window> window(new Window(std::move(def), tw->number));
  window->thread_ = tw;
  std::shared_ptr<Window> previous;
  {
    std::lock_guard lock(tw->mutex);
    if (!tw->stack.empty()) previous = tw->stack.back();
    tw->stack.push_back(window);
  }
  if (previous) {
    previous->setActive(false);
    previous->post(event::LoseFocus);
  }
  frontEnd().windowOpened(window);
  window->post(event::OpenWindow);
  return window;
}

void Window::close() {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    active_ = false;
    queue_.clear();
  }
  eventReady_.notify_all();
  auto self = shared_from_this();
  std::shared_ptr<Window> newTop;
  {
    std::lock_guard lock(thread_->mutex);
    auto& stack = thread_->stack;
    bool wasTop = !stack.empty() && stack.back() == self;
    std::erase(stack, self);
    if (wasTop && !stack.empty()) newTop = stack.back();
  }
  frontEnd().windowClosed(self);
  if (newTop) {
    newTop->setActive(true);
    newTop->post(event::GainFocus);
  }
}

void Window::setActive(bool active) {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || active_ == active) return;
    active_ = active;
  }
  notify({}, Property::Active);
}

std::string Window::title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

void Window::setTitle(std::string title) {
  {
    std::lock_guard lock(mutex_);
    if (title_ == title) return;
    title_ = std::move(title);
  }
  notify({}, Property::Title);
}

bool Window::isActive() const {
  std::lock_guard lock(mutex_);
  return active_;
}

bool Window::isClosed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

bool Window::isIdle() const {
  std::lock_guard lock(mutex_);
  return waiting_ && queue_.empty();
}

// --- controls --------------------------------------------------------------------

Control* Window::find(std::string_view name) {
  if (name.empty()) return nullptr;
  for (auto& c : controls_) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

const Control* Window::find(std::string_view name) const { return const_cast<Window*>(this)->find(name); }

bool Window::visibleLocked(const Control& c) const {
  for (const Control* at = &c; at; at = find(at->parent)) {
    if (at->hidden) return false;
  }
  return true;
}

bool Window::usable(const Control& c) const {
  for (const Control* at = &c; at; at = find(at->parent)) {
    if (at->hidden || !at->enabled) return false;
  }
  return true;
}

void Window::logMissing(std::string_view name) const {
  logMessage("window " + def_.resource + " " + def_.type + " has no control " + std::string(name));
}

void Window::notify(const std::string& control, Property property) {
  frontEnd().propertyChanged(shared_from_this(), control, property);
}

void Window::report(const Changes& changes, const std::vector<std::string>& focus) {
  for (const auto& [control, property] : changes) notify(control, property);
  if (focus.empty()) return;
  auto self = shared_from_this();
  for (const auto& name : focus) frontEnd().focusChanged(self, name);
}

template <typename Change>
bool Window::change(std::string_view name, Property property, Change&& apply) {
  bool found = false;
  bool changed = false;
  bool firstMiss = false;
  {
    std::lock_guard lock(mutex_);
    if (Control* c = find(name)) {
      found = true;
      changed = apply(*c);
    } else {
      firstMiss = reportedMissing_.insert(std::string(name)).second;
    }
  }
  if (firstMiss) logMissing(name);
  if (changed) notify(std::string(name), property);
  return found;
}

namespace {
template <typename T>
bool assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}
}  // namespace

bool Window::has(std::string_view control) const {
  std::lock_guard lock(mutex_);
  return find(control) != nullptr;
}

std::optional<Control> Window::control(std::string_view name) const {
  std::lock_guard lock(mutex_);
  const Control* c = find(name);
  if (!c) return std::nullopt;
  return *c;
}

std::vector<Control> Window::controls() const {
  std::lock_guard lock(mutex_);
  return controls_;
}

std::vector<std::string> Window::tabOrderLocked() const {
  std::vector<std::string> order;
  for (const auto& c : controls_) {
    if (takesFocus(c.kind) && usable(c)) order.push_back(c.name);
  }
  return order;
}

std::vector<std::string> Window::tabOrder() const {
  std::lock_guard lock(mutex_);
  return tabOrderLocked();
}

std::string Window::focus() const {
  std::lock_guard lock(mutex_);
  return focus_;
}

std::string Window::value(std::string_view control) const {
  std::lock_guard lock(mutex_);
  const Control* c = find(control);
  return c ? c->value : std::string();
}

std::string Window::text(std::string_view control) const {
  std::lock_guard lock(mutex_);
  const Control* c = find(control);
  return c ? c->text : std::string();
}

bool Window::setText(std::string_view control, std::string text) {
  return change(control, Property::Text, [&](Control& c) { return assign(c.text, std::move(text)); });
}
bool Window::setValue(std::string_view control, std::string value) {
  return change(control, Property::Value, [&](Control& c) { return assign(c.value, std::move(value)); });
}
bool Window::enable(std::string_view control, bool on) {
  return change(control, Property::Enabled, [&](Control& c) { return assign(c.enabled, on); });
}
bool Window::hide(std::string_view control, bool hidden) {
  return change(control, Property::Hidden, [&](Control& c) { return assign(c.hidden, hidden); });
}
bool Window::setReadOnly(std::string_view control, bool on) {
  return change(control, Property::ReadOnly, [&](Control& c) { return assign(c.readOnly, on); });
}
bool Window::setRequired(std::string_view control, bool on) {
  return change(control, Property::Required, [&](Control& c) { return assign(c.required, on); });
}
bool Window::setFontColor(std::string_view control, long color) {
  return change(control, Property::FontColor, [&](Control& c) { return assign(c.fontColor, color); });
}
bool Window::setBackColor(std::string_view control, long color) {
  return change(control, Property::BackColor, [&](Control& c) { return assign(c.backColor, color); });
}
bool Window::setSelectedColors(std::string_view control, long fontColor, long backColor) {
  return change(control, Property::SelectedColors, [&](Control& c) {
    bool a = assign(c.selectedFontColor, fontColor);
    bool b = assign(c.selectedBackColor, backColor);
    return a || b;
  });
}
bool Window::setFrameColor(std::string_view control, long color) {
  return change(control, Property::FrameColor, [&](Control& c) { return assign(c.frameColor, color); });
}
bool Window::setFontWeight(std::string_view control, int weight) {
  return change(control, Property::FontWeight, [&](Control& c) { return assign(c.fontWeight, weight); });
}
bool Window::setListStyle(std::string_view control, int style, ListStyle look) {
  return change(control, Property::ListStyle, [&](Control& c) {
    auto it = c.styles.find(style);
    if (it != c.styles.end() && it->second == look) return false;
    c.styles[style] = look;
    return true;
  });
}
bool Window::setSelection(std::string_view control, int row) {
  return change(control, Property::Selection, [&](Control& c) {
    // Code moving the list elsewhere leaves one row selected, as a plain click would.
    const bool unmarked = !c.marked.empty() && c.selection != std::max(row, 0);
    if (unmarked) c.marked.clear();
    return assign(c.selection, std::max(row, 0)) || unmarked;
  });
}
bool Window::setIcon(std::string_view control, std::string icon) {
  return change(control, Property::Icon, [&](Control& c) { return assign(c.icon, std::move(icon)); });
}
bool Window::setIconList(std::string_view control, std::vector<std::string> icons) {
  return change(control, Property::IconList, [&](Control& c) { return assign(c.iconList, std::move(icons)); });
}
bool Window::setRows(std::string_view control, std::vector<std::vector<std::string>> rows) {
  return change(control, Property::Rows, [&](Control& c) {
    // Other rows (another page, a reload that changed them): the marks no longer point at
    // what the user selected.
    if (c.rows != rows) c.marked.clear();
    return assign(c.rows, std::move(rows));
  });
}
bool Window::setItems(std::string_view control, std::vector<std::string> items) {
  return change(control, Property::Items, [&](Control& c) { return assign(c.items, std::move(items)); });
}
bool Window::setTip(std::string_view control, std::string tip) {
  return change(control, Property::Tip, [&](Control& c) { return assign(c.tip, std::move(tip)); });
}
bool Window::setPicture(std::string_view control, std::string picture) {
  return change(control, Property::Picture, [&](Control& c) { return assign(c.picture, std::move(picture)); });
}
bool Window::setFormat(std::string_view control, std::string format) {
  return change(control, Property::Format, [&](Control& c) { return assign(c.format, std::move(format)); });
}
bool Window::setColumnHeader(std::string_view control, int column, std::string header) {
  return change(control, Property::ColumnHeader, [&](Control& c) {
    auto it = c.columnHeaders.find(column);
    if (it != c.columnHeaders.end() && it->second == header) return false;
    c.columnHeaders[column] = std::move(header);
    return true;
  });
}

bool Window::select(std::string_view control) {
  std::vector<std::string> focusChanges;
  bool found = false;
  bool firstMiss = false;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    if (find(control)) {
      found = true;
      focusLocked(std::string(control), focusChanges);
    } else {
      firstMiss = reportedMissing_.insert(std::string(control)).second;
    }
  }
  if (firstMiss) logMissing(control);
  report({}, focusChanges);
  return found;
}

bool Window::createControl(std::string name, ControlKind kind, std::string parent) {
  {
    std::lock_guard lock(mutex_);
    if (name.empty() || name[0] != '?' || find(name) || (!parent.empty() && !find(parent))) return false;
    Control c;
    c.name = name;
    c.kind = kind;
    c.parent = std::move(parent);
    controls_.push_back(std::move(c));
  }
  notify(name, Property::Created);
  return true;
}

bool Window::destroyControl(std::string_view name) {
  std::vector<std::string> gone;
  {
    std::lock_guard lock(mutex_);
    if (!find(name)) return false;
    gone.emplace_back(name);
    // Children go with their parent; they follow it in the list.
    for (const auto& c : controls_) {
      if (std::find(gone.begin(), gone.end(), c.parent) != gone.end()) gone.push_back(c.name);
    }
    std::erase_if(controls_, [&](const Control& c) {
      return std::find(gone.begin(), gone.end(), c.name) != gone.end();
    });
    if (std::find(gone.begin(), gone.end(), focus_) != gone.end()) focus_.clear();
  }
  for (const auto& n : gone) notify(n, Property::Destroyed);
  return true;
}

// --- alerts --------------------------------------------------------------------

void Window::alert(int key) {
  std::lock_guard lock(mutex_);
  if (std::find(alertSlots_.begin() + 1, alertSlots_.end(), key) != alertSlots_.end()) return;
  auto freeSlot = std::find(alertSlots_.begin() + 1, alertSlots_.end(), 0);
  if (freeSlot == alertSlots_.end()) {
    logMessage("window " + def_.resource + ": no free alert slot for key " + std::to_string(key));
    return;
  }
  *freeSlot = key;
}

void Window::setAlertSlot(int slot, int key) {
  if (slot < 1 || slot > kAlertSlots) return;
  std::lock_guard lock(mutex_);
  alertSlots_[slot] = key;
}

int Window::alertSlot(int slot) const {
  if (slot < 1 || slot > kAlertSlots) return 0;
  std::lock_guard lock(mutex_);
  return alertSlots_[slot];
}

void Window::removeAlert(int key) {
  std::lock_guard lock(mutex_);
  std::replace(alertSlots_.begin() + 1, alertSlots_.end(), key, 0);
}

void Window::clearAlerts() {
  std::lock_guard lock(mutex_);
  alertSlots_.fill(0);
  for (auto& c : controls_) c.alerts.clear();
}

bool Window::isAlerted(int key) const {
  if (key == 0) return false;
  std::lock_guard lock(mutex_);
  return std::find(alertSlots_.begin() + 1, alertSlots_.end(), key) != alertSlots_.end();
}

bool Window::alertOn(std::string_view control, int key) {
  std::lock_guard lock(mutex_);
  Control* c = find(control);
  if (!c) return false;
  if (std::find(c->alerts.begin(), c->alerts.end(), key) == c->alerts.end()) c->alerts.push_back(key);
  return true;
}

bool Window::removeAlertOn(std::string_view control, int key) {
  std::lock_guard lock(mutex_);
  Control* c = find(control);
  if (!c) return false;
  std::erase(c->alerts, key);
  return true;
}

// --- events -------------------------------------------------------------------

Event Window::nextEvent() {
  std::unique_lock lock(mutex_);
  waiting_ = true;
  eventReady_.wait(lock, [this] { return !queue_.empty() || closed_; });
  waiting_ = false;
  // A window closed under a waiting loop answers "close", so the loop ends instead of hanging.
  if (queue_.empty()) return Event{event::CloseWindow};
  Event e = std::move(queue_.front());
  queue_.pop_front();
  return e;
}

std::optional<Event> Window::nextEvent(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  waiting_ = true;
  bool ready = eventReady_.wait_for(lock, timeout, [this] { return !queue_.empty() || closed_; });
  waiting_ = false;
  if (!ready) return std::nullopt;
  if (queue_.empty()) return Event{event::CloseWindow};
  Event e = std::move(queue_.front());
  queue_.pop_front();
  return e;
}

void Window::pushLocked(Event e) {
  if (closed_) return;
  queue_.push_back(std::move(e));
  eventReady_.notify_one();
}

void Window::post(Event e) {
  std::lock_guard lock(mutex_);
  pushLocked(std::move(e));
}

// --- input ----------------------------------------------------------------------

Control* Window::targetLocked(std::string_view name, bool list, std::string& refused,
                             const std::function<std::string(const Control&)>& kindRefusal) {
  refused = refuseLocked();
  if (!refused.empty()) return nullptr;
  Control* c = find(name);
  const char* what = list ? "list" : "control";
  if (!c || (list && c->kind != ControlKind::List)) {
    refused = std::string("no ") + what + " " + std::string(name) + " in \"" + title_ + "\"";
    return nullptr;
  }
  if (kindRefusal) refused = kindRefusal(*c);
  if (refused.empty() && !usable(*c)) refused = std::string("the ") + what + " " + c->name + " is hidden or disabled";
  return refused.empty() ? c : nullptr;
}

std::string Window::refuseLocked() const {
  if (closed_) return "the window \"" + title_ + "\" is closed";
  if (!active_) return "the window \"" + title_ + "\" is inactive (a window opened from it is still open)";
  return {};
}

void Window::focusLocked(const std::string& name, std::vector<std::string>& focusChanges) {
  if (focus_ == name) return;
  focus_ = name;
  focusChanges.push_back(name);
  pushLocked(Event{event::Selected, name});
}

std::string Window::moveFocusLocked(int step, std::vector<std::string>& focusChanges) {
  auto order = tabOrderLocked();
  if (order.empty()) return {};
  auto it = std::find(order.begin(), order.end(), focus_);
  int n = static_cast<int>(order.size());
  int next;
  if (it == order.end()) {
    next = step > 0 ? 0 : n - 1;
  } else {
    next = ((static_cast<int>(it - order.begin()) + step) % n + n) % n;
  }
  focusLocked(order[next], focusChanges);
  return {};
}

std::string Window::activateLocked(Control& c, int keyCode, Changes& changes, std::vector<std::string>& focusChanges) {
  if (!usable(c)) return "the control " + c.name + " is hidden or disabled";
  switch (c.kind) {
    case ControlKind::Button:
      focusLocked(c.name, focusChanges);
      pushLocked(Event{event::Accepted, c.name, keyCode});
      return {};
    case ControlKind::Check:
      if (c.readOnly) return "the check box " + c.name + " is read-only";
      focusLocked(c.name, focusChanges);
      c.value = c.value == c.trueValue ? c.falseValue : c.trueValue;
      changes.emplace_back(c.name, Property::Value);
      pushLocked(Event{event::Accepted, c.name, keyCode});
      return {};
    case ControlKind::Radio: {
      Control* group = find(c.parent);
      if (!group) return "the radio button " + c.name + " has no option group";
      if (group->readOnly) return "the option group " + group->name + " is read-only";
      std::string name = c.name;
      std::string chosen = c.value.empty() ? c.text : c.value;
      focusLocked(name, focusChanges);
      if (group->value != chosen) {
        group->value = chosen;
        changes.emplace_back(group->name, Property::Value);
      }
      pushLocked(Event{event::Accepted, group->name, keyCode});
      return {};
    }
    case ControlKind::Tab: {
      Control* sheet = find(c.parent);
      if (!sheet) return "the tab " + c.name + " has no sheet";
      int number = 0;
      for (const auto& other : controls_) {
        if (other.kind == ControlKind::Tab && other.parent == sheet->name) {
          ++number;
          if (other.name == c.name) break;
        }
      }
      std::string shown = std::to_string(number);
      if (sheet->value != shown) {
        sheet->value = shown;
        changes.emplace_back(sheet->name, Property::Value);
        pushLocked(Event{event::NewSelection, sheet->name, keyCode});
      }
      return {};
    }
    default:
      if (!takesFocus(c.kind)) return "the control " + c.name + " can't be clicked";
      focusLocked(c.name, focusChanges);
      return {};
  }
}

std::string Window::keyLocked(int keyCode, Changes& changes, std::vector<std::string>& focusChanges) {
  Control* focused = find(focus_);
  // A reserved key does nothing of its own: the window's procedure hears of it instead.
  bool alerted = std::find(alertSlots_.begin() + 1, alertSlots_.end(), keyCode) != alertSlots_.end() ||
                 (focused && std::find(focused->alerts.begin(), focused->alerts.end(), keyCode) != focused->alerts.end());
  if (alerted) {
    pushLocked(Event{event::AlertKey, focus_, keyCode});
    return {};
  }
  for (auto& c : controls_) {
    if (c.key == keyCode && isChoosing(c.kind) && usable(c)) return activateLocked(c, keyCode, changes, focusChanges);
  }
  if ((keyCode & key::AltMod) && !(keyCode & key::CtrlMod) && key::base(keyCode) != 0) {
    char letter = static_cast<char>(key::base(keyCode));
    for (size_t i = 0; i < controls_.size(); ++i) {
      Control& c = controls_[i];
      if (c.mnemonic() != letter || !usable(c)) continue;
      if (c.kind != ControlKind::Prompt) return activateLocked(c, keyCode, changes, focusChanges);
      // A prompt's mnemonic focuses the control it introduces: the next one Tab reaches.
      for (size_t j = i + 1; j < controls_.size(); ++j) {
        if (takesFocus(controls_[j].kind) && usable(controls_[j])) {
          focusLocked(controls_[j].name, focusChanges);
          return {};
        }
      }
      return {};
    }
  }
  switch (keyCode) {
    case key::Tab:
      return moveFocusLocked(1, focusChanges);
    case key::ShiftTab:
      return moveFocusLocked(-1, focusChanges);
    case key::Esc:
      pushLocked(Event{event::CloseWindow, {}, keyCode});
      return {};
    case key::Enter:
      for (auto& c : controls_) {
        if (c.isDefault && c.kind == ControlKind::Button && usable(c)) return activateLocked(c, keyCode, changes, focusChanges);
      }
      if (!focused) return {};
      if (isChoosing(focused->kind)) return activateLocked(*focused, keyCode, changes, focusChanges);
      pushLocked(Event{event::Accepted, focus_, keyCode});
      return {};
    case key::Space:
      if (focused && isChoosing(focused->kind)) return activateLocked(*focused, keyCode, changes, focusChanges);
      return {};
    case key::ShiftEnter:
      if (focused && focused->kind == ControlKind::Text && !focused->readOnly) {
        focused->value += '\n';
        changes.emplace_back(focused->name, Property::Value);
      }
      return {};
    default:
      break;
  }
  if (focused && focused->kind == ControlKind::List) {
    int rows = static_cast<int>(focused->rows.size());
    int& sel = focused->selection;
    auto moveTo = [&](int row) {
      sel = row;
      focused->marked.clear();
      focused->anchor = row;
      changes.emplace_back(focused->name, Property::Selection);
      pushLocked(Event{event::NewSelection, focus_, keyCode});
    };
    // Shift with an arrow selects every row from where the selection started.
    auto extendTo = [&](int row) {
      if (focused->marked.empty() || focused->anchor < 1) focused->anchor = sel > 0 ? sel : row;
      sel = row;
      markRange(*focused);
      changes.emplace_back(focused->name, Property::Selection);
      pushLocked(Event{event::NewSelection, focus_, keyCode});
    };
    switch (keyCode) {
      case key::withShift(key::Down):
        if (sel >= 1 && sel < rows) extendTo(sel + 1);
        return {};
      case key::withShift(key::Up):
        if (sel > 1) extendTo(sel - 1);
        return {};
      case key::Down:
        if (sel < rows) {
          moveTo(sel + 1);
        } else {
          pushLocked(Event{event::ScrollDown, focus_, keyCode});
        }
        return {};
      case key::Up:
        if (sel > 1) {
          moveTo(sel - 1);
        } else {
          pushLocked(Event{event::ScrollUp, focus_, keyCode});
        }
        return {};
      case key::PgDn:
        pushLocked(Event{event::PageDown, focus_, keyCode});
        return {};
      case key::PgUp:
        pushLocked(Event{event::PageUp, focus_, keyCode});
        return {};
      case key::Home:
      case key::withCtrl(key::Home):
        pushLocked(Event{event::ScrollTop, focus_, keyCode});
        return {};
      case key::End:
      case key::withCtrl(key::End):
        pushLocked(Event{event::ScrollBottom, focus_, keyCode});
        return {};
      default:
        break;
    }
  }
  return {};  // a key nothing reacts to
}

std::string Window::pressKey(int keyCode) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    refused = refuseLocked();
    if (refused.empty()) refused = keyLocked(keyCode, changes, focusChanges);
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::click(std::string_view control) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    refused = refuseLocked();
    if (refused.empty()) {
      Control* c = find(control);
      refused = c ? activateLocked(*c, key::MouseLeft, changes, focusChanges)
                  : "no control " + std::string(control) + " in \"" + title_ + "\"";
    }
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::type(std::string_view control, std::string text) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    Control* c = targetLocked(control, false, refused, [](const Control& t) {
      return isEditable(t.kind) ? std::string() : "the control " + t.name + " takes no typing";
    });
    if (c && c->readOnly) refused = "the control " + c->name + " is read-only";
    if (refused.empty()) {
      focusLocked(c->name, focusChanges);
      if (c->value != text) {
        c->value = std::move(text);
        changes.emplace_back(c->name, Property::Value);
      }
      pushLocked(Event{event::Accepted, c->name});
    }
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::choose(std::string_view control, std::string item) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    Control* c = targetLocked(control, false, refused, [](const Control& t) {
      bool list = t.kind == ControlKind::DropList || t.kind == ControlKind::Combo;
      return list ? std::string() : t.name + " is no drop list";
    });
    if (c && c->kind == ControlKind::DropList &&
        std::find(c->items.begin(), c->items.end(), item) == c->items.end()) {
      refused = "the drop list " + c->name + " has no entry \"" + item + "\"";
    }
    if (refused.empty()) {
      focusLocked(c->name, focusChanges);
      if (c->value != item) {
        c->value = std::move(item);
        changes.emplace_back(c->name, Property::Value);
        pushLocked(Event{event::NewSelection, c->name});
      }
      pushLocked(Event{event::Accepted, c->name});
    }
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::clickRow(std::string_view list, int row, bool doubleClick) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    Control* c = targetLocked(list, true, refused);
    if (c) refused = missingRow(*c, row);
    if (refused.empty()) {
      focusLocked(c->name, focusChanges);
      c->anchor = row;
      if (!c->marked.empty()) {
        c->marked.clear();
        changes.emplace_back(c->name, Property::Selection);
      }
      if (c->selection != row) {
        c->selection = row;
        changes.emplace_back(c->name, Property::Selection);
        pushLocked(Event{event::NewSelection, c->name, key::MouseLeft});
      }
      if (doubleClick) pushLocked(Event{event::Accepted, c->name, key::MouseLeft2});
    }
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::extendRow(std::string_view list, int row, bool range) {
  Changes changes;
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    Control* c = targetLocked(list, true, refused);
    if (c) refused = missingRow(*c, row);
    if (refused.empty()) {
      focusLocked(c->name, focusChanges);
      const int before = c->selection;
      if (range) {
        const int count = static_cast<int>(c->rows.size());
        if (c->marked.empty() || c->anchor < 1 || c->anchor > count) c->anchor = before > 0 && before <= count ? before : row;
        c->selection = row;
        markRange(*c);
      } else {
        std::vector<int> rows = selectedRows(*c);
        auto at = std::find(rows.begin(), rows.end(), row);
        if (at == rows.end()) {
          rows.insert(std::upper_bound(rows.begin(), rows.end(), row), row);
          c->selection = row;
        } else if (rows.size() > 1) {
          // The current row leaves the selection: the nearest row still selected takes its place.
          const auto next = rows.erase(at);
          if (c->selection == row) c->selection = next != rows.end() ? *next : rows.back();
        }
        c->anchor = c->selection;
        c->marked = rows.size() > 1 ? std::move(rows) : std::vector<int>{};
      }
      changes.emplace_back(c->name, Property::Selection);
      if (c->selection != before) pushLocked(Event{event::NewSelection, c->name, key::MouseLeft});
    }
  }
  report(changes, focusChanges);
  return refused;
}

std::string Window::rightClickRow(std::string_view list, int row) {
  std::string refused = clickRow(list, row);
  if (!refused.empty()) return refused;
  return pressKey(key::MouseRight);
}

std::string Window::clickHeader(std::string_view list, int column, int mouseKey) {
  std::vector<std::string> focusChanges;
  std::string refused;
  {
    std::lock_guard lock(mutex_);
    Control* c = targetLocked(list, true, refused);
    if (c && column < 1) refused = "no column " + std::to_string(column);
    if (refused.empty()) {
      focusLocked(c->name, focusChanges);
      Event down{event::MouseDown, c->name, mouseKey, column, true};
      Event up = down;
      up.code = event::MouseUp;
      pushLocked(std::move(down));
      pushLocked(std::move(up));
    }
  }
  report({}, focusChanges);
  return refused;
}

std::string Window::closeByUser() {
  std::lock_guard lock(mutex_);
  std::string refused = refuseLocked();
  if (refused.empty()) pushLocked(Event{event::CloseWindow});
  return refused;
}

// --- threads ---------------------------------------------------------------------

std::shared_ptr<Window> activeWindow() { return topWindow(ownWindows); }

std::vector<std::shared_ptr<Window>> openWindows() {
  std::vector<std::shared_ptr<ThreadWindows>> threads;
  {
    std::lock_guard lock(registry().mutex);
    for (const auto& [number, weak] : registry().threads) {
      if (auto tw = weak.lock()) threads.push_back(std::move(tw));
    }
  }
  std::vector<std::shared_ptr<Window>> out;
  for (const auto& tw : threads) {
    std::lock_guard lock(tw->mutex);
    out.insert(out.end(), tw->stack.begin(), tw->stack.end());
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a->id() < b->id(); });
  return out;
}

bool postToThread(int threadNumber, Event e) {
  auto top = topWindow(threadWindows(threadNumber));
  if (!top) return false;
  if (e.fromThread == 0) e.fromThread = rt::threadNumber();
  top->post(std::move(e));
  return true;
}

bool isThreadIdle(int threadNumber) {
  auto top = topWindow(threadWindows(threadNumber));
  return top && top->isIdle();
}

bool hasOpenWindow(int threadNumber) { return topWindow(threadWindows(threadNumber)) != nullptr; }

void closeThreadWindows() {
  if (!ownWindows) return;
  for (;;) {
    auto top = topWindow(ownWindows);
    if (!top) return;
    top->close();
  }
}

}  // namespace slownik::rt
