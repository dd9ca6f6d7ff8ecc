#include "engine/header_sorter.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "framework/runtime/decimal.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/sql/text.h"

namespace slownik::engine {

namespace {

// A field's name without its record prefix, upper case: "ban:nazwa" and "NAZWA" match.
std::string bareName(std::string_view name) {
  if (auto colon = name.rfind(':'); colon != std::string_view::npos) name.remove_prefix(colon + 1);
  return sql::toUpperAscii(name);
}

// Upper case for ASCII and the Polish letters, which is what the list shows and what a
// user means by "the same word".
std::string foldCase(std::string_view text) {
  std::string out = sql::toUpperAscii(text);
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    auto lead = static_cast<unsigned char>(out[i]);
    auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
    if (lead == 0xC3 && next == 0xB3) {
      next = 0x93;  // ó
    } else if (lead == 0xC4 && (next == 0x85 || next == 0x87 || next == 0x99)) {
      --next;  // ą ć ę
    } else if (lead == 0xC5 && (next == 0x82 || next == 0x84 || next == 0x9B || next == 0xBA || next == 0xBC)) {
      --next;  // ł ń ś ź ż
    }
  }
  return out;
}

int compareNumbers(const std::string& a, const std::string& b) {
  auto x = rt::Decimal::parse(a);
  auto y = rt::Decimal::parse(b);
  if (!x || !y) return (x ? 1 : 0) - (y ? 1 : 0);  // empty or unreadable first
  auto c = *x <=> *y;
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareTexts(const std::string& a, const std::string& b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

HeaderSorter::~HeaderSorter() { stop(); }

bool HeaderSorter::start(std::shared_ptr<rt::Window> window, ListBuffer& buffer, std::string listControl,
                         const sql::KeyDef* defaultKey, data::ViewManager* view) {
  stop();
  if (!window) return false;
  auto list = window->control(listControl);
  if (!list || list->kind != rt::ControlKind::List) return false;
  auto format = rt::ListFormat::parse(list->format);
  if (!format) return false;

  window_ = std::move(window);
  buffer_ = &buffer;
  view_ = view;
  list_ = std::move(listControl);
  defaultKey_ = defaultKey ? defaultKey->components : std::vector<sql::KeyComponent>{};
  for (std::size_t i = 0; i < format->columns.size(); ++i) {
    const rt::ListColumn& lc = format->columns[i];
    Column c;
    auto set = list->columnHeaders.find(static_cast<int>(i) + 1);
    c.header = set != list->columnHeaders.end() ? set->second : lc.header;
    c.field = lc.field;
    c.kind = lc.picture.kind();
    std::string name = c.field > 0 ? buffer.fieldName(c.field) : std::string();
    // A computed column has no name of its own in the view: the database can't order by it.
    if (!name.empty() && (!view_ || view_->hasField(name))) c.name = std::move(name);
    columns_.push_back(std::move(c));
  }
  window_->alertOn(list_, rt::key::MouseLeft);
  std::string marker = markerName(list_);
  if (window_->createControl(marker, rt::ControlKind::Panel)) window_->hide(marker);
  return true;
}

void HeaderSorter::setAlerts() {
  if (!window_) return;
  // Both clicks take free slots of their own, so the window keeps every key it reserved
  // for itself (Ctrl+Shift+F10 included) and Shift+click stays reserved too.
  window_->alert(rt::key::ShiftMouseLeft);
  window_->alert(rt::key::CtrlMouseLeft);
}

const HeaderSorter::Column* HeaderSorter::columnAt(int column) const {
  if (column < 1 || column > static_cast<int>(columns_.size())) return nullptr;
  return &columns_[column - 1];
}

bool HeaderSorter::isSortable(int column) const {
  const Column* c = columnAt(column);
  return c && !c->name.empty();
}

bool HeaderSorter::isText(const Column& c) const {
  using K = rt::Picture::Kind;
  return c.kind != K::Number && c.kind != K::Time && c.kind != K::Date && c.kind != K::Exponent;
}

bool HeaderSorter::takeEvent(const rt::Event& e) {
  if (!window_ || e.control != list_) return false;
  if (e.code == rt::event::MouseDown) {
    int k = e.keyCode;
    bool leftClick = k == rt::key::MouseLeft || k == rt::key::ShiftMouseLeft || k == rt::key::CtrlMouseLeft;
    if (!e.inHeader || !leftClick || !isSortable(e.column)) return false;
    press(e);
    return true;
  }
  if (e.code == rt::event::MouseUp) {
    if (pressedColumn_ == 0) return false;
    release(e);
    return true;
  }
  return false;
}

void HeaderSorter::press(const rt::Event& e) {
  pressedColumn_ = e.column;
  clickKind_ = e.keyCode;
  std::string marker = markerName(list_);
  window_->setText(marker, columnAt(e.column)->header);
  window_->setValue(marker, "1");  // drawn sunken while the button is down
  window_->unhide(marker);
}

void HeaderSorter::release(const rt::Event& e) {
  int column = pressedColumn_;
  pressedColumn_ = 0;
  std::string marker = markerName(list_);
  window_->setValue(marker, "0");
  window_->hide(marker);
  // Released away from the header pressed: the click is taken back.
  if (e.inHeader && e.column == column) applyClick(column, clickKind_);
}

void HeaderSorter::applyClick(int column, int kind) {
  if (kind == rt::key::ShiftMouseLeft) {
    restoreHeaders();
    clearSort();
    if (callback_) {
      inCallback_ = true;
      callback_(std::string());
      inCallback_ = false;
    }
  } else {
    if (kind == rt::key::CtrlMouseLeft) {
      auto it = std::find_if(sort_.begin(), sort_.end(), [&](const SortColumn& s) { return s.column == column; });
      if (it == sort_.end()) {
        sort_.push_back({column, false});
      } else {
        it->descending = !it->descending;
      }
    } else {
      bool descending = (lastSingle_ == column);  // the last single sort was ascending on it
      sort_ = {{column, descending}};
    }
    if (sort_.size() == 1) lastSingle_ = sort_.front().descending ? -sort_.front().column : sort_.front().column;
    std::string text = orderText();
    markHeaders();
    if (view_) {
      if (callback_) {
        inCallback_ = true;
        callback_(text);
        inCallback_ = false;
      }
    } else {
      sortBuffer();
    }
  }
  window_->select(list_);
  window_->post(rt::Event{rt::event::NewSelection, list_});
}

std::string HeaderSorter::orderText() const {
  if (sort_.empty()) return {};
  std::string text;
  std::vector<std::string> used;
  for (const SortColumn& s : sort_) {
    const Column& c = columns_[s.column - 1];
    std::string name = upperCase_ && isText(c) ? "UPPER(" + c.name + ")" : c.name;
    text += (text.empty() ? "" : ",") + std::string(s.descending ? "-" : "+") + name;
    used.push_back(bareName(c.name));
  }
  for (const auto& k : defaultKey_) {
    if (std::find(used.begin(), used.end(), bareName(k.column)) != used.end()) continue;
    text += std::string(",") + (k.descending ? "-" : "+") + k.column;
  }
  return text;
}

void HeaderSorter::markHeaders() {
  std::vector<std::string> headers;
  for (const Column& c : columns_) headers.push_back(c.header);
  for (std::size_t i = 0; i < sort_.size(); ++i) {
    std::string mark = "[" + std::string(sort_[i].descending ? "-" : "+");
    if (sort_.size() > 1) mark += std::to_string(i + 1);
    headers[sort_[i].column - 1] += mark + "]";
  }
  for (std::size_t i = 0; i < headers.size(); ++i) window_->setColumnHeader(list_, static_cast<int>(i) + 1, headers[i]);
}

void HeaderSorter::restoreHeaders() {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    window_->setColumnHeader(list_, static_cast<int>(i) + 1, columns_[i].header);
  }
}

void HeaderSorter::clearSort() {
  sort_.clear();
  lastSingle_ = 0;
}

void HeaderSorter::sortBuffer() {
  struct Part {
    int field;
    bool descending;
    bool numeric;  // compare as numbers (also dates and times, kept as numbers)
    bool natural;  // a key component: numbers when both values read as numbers
  };
  std::vector<Part> parts;
  std::vector<std::string> used;
  for (const SortColumn& s : sort_) {
    const Column& c = columns_[s.column - 1];
    parts.push_back({c.field, s.descending, !isText(c), false});
    used.push_back(bareName(c.name));
  }
  for (const auto& k : defaultKey_) {
    std::string bare = bareName(k.column);
    if (std::find(used.begin(), used.end(), bare) != used.end()) continue;
    for (int f = 1; f <= buffer_->fieldCount(); ++f) {
      if (bareName(buffer_->fieldName(f)) == bare) {
        parts.push_back({f, k.descending, false, true});
        break;
      }
    }
  }
  int n = buffer_->rowCount();
  // The values are read once; a comparison then costs no virtual calls.
  std::vector<std::vector<std::string>> keys(static_cast<std::size_t>(n) + 1);
  for (int r = 1; r <= n; ++r) {
    for (std::size_t p = 0; p < parts.size(); ++p) {
      std::string v = buffer_->value(r, parts[p].field);
      if (!parts[p].numeric && !parts[p].natural && upperCase_) v = foldCase(v);
      keys[static_cast<std::size_t>(r)].push_back(std::move(v));
    }
  }
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int r = 1; r <= n; ++r) order[static_cast<std::size_t>(r) - 1] = r;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const auto& ka = keys[static_cast<std::size_t>(a)];
    const auto& kb = keys[static_cast<std::size_t>(b)];
    for (std::size_t p = 0; p < parts.size(); ++p) {
      int c;
      if (parts[p].numeric) {
        c = compareNumbers(ka[p], kb[p]);
      } else if (parts[p].natural && rt::Decimal::parse(ka[p]) && rt::Decimal::parse(kb[p])) {
        c = compareNumbers(ka[p], kb[p]);
      } else {
        c = compareTexts(ka[p], kb[p]);
      }
      if (c != 0) return parts[p].descending ? c > 0 : c < 0;
    }
    return false;
  });
  buffer_->reorder(order);
}

void HeaderSorter::reset() {
  if (!window_ || inCallback_) return;
  restoreHeaders();
  clearSort();
}

void HeaderSorter::stop() {
  if (!window_) return;
  if (!window_->isClosed()) {
    restoreHeaders();
    window_->destroyControl(markerName(list_));
    window_->removeAlertOn(list_, rt::key::MouseLeft);
    window_->removeAlert(rt::key::ShiftMouseLeft);
    window_->removeAlert(rt::key::CtrlMouseLeft);
  }
  clearSort();
  columns_.clear();
  defaultKey_.clear();
  pressedColumn_ = 0;
  buffer_ = nullptr;
  view_ = nullptr;
  window_.reset();
}

}  // namespace slownik::engine
