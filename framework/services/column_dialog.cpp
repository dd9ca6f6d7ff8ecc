#include "framework/services/column_dialog.h"

#include <charconv>
#include <string>
#include <vector>

#include "framework/runtime/error_state.h"
#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/window.h"
#include "framework/services/browser_columns.h"
#include "framework/services/messages.h"

namespace slownik::svc {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kWidth = "?SZEROKOSC";
constexpr const char* kVisible = "?WIDOCZNA";
constexpr const char* kOk = "?OK";
constexpr const char* kCancel = "?CANCEL";
constexpr int kMaxWidth = 2000;
constexpr int kShownAgainWidth = 50;  // a hidden column shown again without a width of its own

struct Column {
  int number = 0;
  std::string header;
  std::string format;
  int width = 0;
  int storedWidth = 0;
  int lastVisibleWidth = 0;
  bool changed() const { return width != storedWidth; }
};

rt::ControlDef control(rt::ControlKind kind, std::string name, std::string caption = {}) {
  rt::ControlDef c;
  c.kind = kind;
  c.name = std::move(name);
  c.caption = std::move(caption);
  return c;
}

rt::WindowDef dialogDefinition() {
  rt::WindowDef def;
  def.resource = "slownik$columns";
  def.type = "P1$WINDOW";
  def.caption = "Konfiguracja kolumn";
  def.minWidth = 220;
  def.minHeight = 140;
  auto list = control(rt::ControlKind::List, kList);
  list.format = "20R(2)|M~Nr~@n3@120L(2)|M~Kolumna~@s60@45R(2)|M~Szerokość~@n4@35C|M~Widoczna~@s3@";
  def.controls.push_back(std::move(list));
  auto row = control(rt::ControlKind::Row, {});
  def.controls.push_back(std::move(row));
  int rowIndex = static_cast<int>(def.controls.size()) - 1;
  auto prompt = control(rt::ControlKind::Prompt, "?SZEROKOSC:PROMPT", "&Szerokość:");
  prompt.parent = rowIndex;
  def.controls.push_back(std::move(prompt));
  auto width = control(rt::ControlKind::Entry, kWidth);
  width.picture = "@n4";
  width.parent = rowIndex;
  def.controls.push_back(std::move(width));
  auto visible = control(rt::ControlKind::Check, kVisible, "&Widoczna");
  def.controls.push_back(std::move(visible));
  def.controls.push_back(control(rt::ControlKind::Row, {}));
  int buttons = static_cast<int>(def.controls.size()) - 1;
  auto ok = control(rt::ControlKind::Button, kOk, "&Zapisz");
  ok.key = rt::key::F10;
  ok.keyLabel = "F10";
  ok.parent = buttons;
  def.controls.push_back(std::move(ok));
  auto cancel = control(rt::ControlKind::Button, kCancel, "&Anuluj");
  cancel.key = rt::key::Esc;
  cancel.keyLabel = "Esc";
  cancel.parent = buttons;
  def.controls.push_back(std::move(cancel));
  return def;
}

std::string headerOf(const std::string& format, int number) {
  auto parsed = rt::ListFormat::parse(format);
  if (parsed && !parsed->columns.empty() && !parsed->columns.front().header.empty()) {
    return parsed->columns.front().header;
  }
  return "Kolumna " + std::to_string(number);
}

std::vector<Column> storedColumns(std::string_view window) {
  std::vector<Column> columns;
  int first = 0;
  int last = 0;
  if (POBIERZZAKRESKOLUMNBROWSERA(window, first, last) == 0) return columns;
  for (int n = first; n <= last; ++n) {
    Column c;
    c.number = n;
    c.format = POBIERZKOLUMNEFORMAT(window, n);
    if (c.format.empty()) continue;  // a gap in the numbering
    c.width = c.storedWidth = POBIERZKOLUMNEROZMIAR(window, n);
    c.lastVisibleWidth = c.width > 0 ? c.width : kShownAgainWidth;
    c.header = headerOf(c.format, n);
    columns.push_back(std::move(c));
  }
  return columns;
}

class ColumnDialog {
 public:
  ColumnDialog(std::string_view window, std::vector<Column> columns) : name_(window), columns_(std::move(columns)) {}

  int run() {
    window_ = rt::Window::open(dialogDefinition());
    if (!window_) return 0;
    showRows();
    window_->setSelection(kList, 1);
    showCurrent();
    int result = -1;
    while (result < 0) result = take(window_->nextEvent());
    window_->close();
    return result;
  }

 private:
  // One event; the dialog's result once it ends, else -1.
  int take(const rt::Event& e) {
    if (e.code == rt::event::CloseWindow) return savedAny_ ? 1 : 0;
    if (e.code == rt::event::NewSelection && e.control == kList) showCurrent();
    if (e.code != rt::event::Accepted) return -1;
    if (e.control == kCancel) return savedAny_ ? 1 : 0;
    if (e.control == kOk) return save();
    if (e.control == kWidth) setWidth(window_->value(kWidth));
    if (e.control == kVisible) setVisible(window_->value(kVisible) == "1");
    return -1;
  }

  Column* current() {
    auto list = window_->control(kList);
    int row = list ? list->selection : 0;
    return row >= 1 && row <= static_cast<int>(columns_.size()) ? &columns_[row - 1] : nullptr;
  }

  void showRows() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& c : columns_) {
      rows.push_back({std::to_string(c.number), c.header, std::to_string(c.width), c.width > 0 ? "Tak" : "Nie"});
    }
    window_->setRows(kList, std::move(rows));
  }

  void showCurrent() {
    Column* c = current();
    window_->setValue(kWidth, c ? std::to_string(c->width) : "");
    window_->setValue(kVisible, c && c->width > 0 ? "1" : "0");
  }

  void setWidth(const std::string& text) {
    Column* c = current();
    if (!c) return;
    int width = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), width);
    if (ec != std::errc() || end != text.data() + text.size() || width < 0 || width > kMaxWidth) {
      MSG_OSTRZEZENIE("Szerokość kolumny musi być liczbą od 0 do " + std::to_string(kMaxWidth) + "!");
      showCurrent();
      return;
    }
    c->width = width;
    if (width > 0) c->lastVisibleWidth = width;
    refresh();
  }

  void setVisible(bool visible) {
    Column* c = current();
    if (!c) return;
    c->width = visible ? c->lastVisibleWidth : 0;
    refresh();
  }

  void refresh() {
    int row = window_->control(kList)->selection;
    showRows();
    window_->setSelection(kList, row);
    showCurrent();
  }

  int save() {
    for (auto& c : columns_) {
      if (!c.changed()) continue;
      if (USTAWKOLUMNE(name_, c.number, c.format, c.width) != 0) {
        MSG_OSTRZEZENIE("Nie udało się zapisać układu kolumn! Powód: " + rt::errorText());
        return -1;  // the dialog stays open; what was stored stays stored
      }
      c.storedWidth = c.width;
      savedAny_ = true;
    }
    return savedAny_ ? 1 : 0;
  }

  std::string name_;
  std::vector<Column> columns_;
  std::shared_ptr<rt::Window> window_;
  bool savedAny_ = false;  // a failed save may leave some columns stored already
};

}  // namespace

int KONFIGURACJA_KOLUMN(std::string_view window) {
  auto columns = storedColumns(window);
  if (columns.empty()) {
    MSG_INFORMACJA("Układ kolumn tego okna nie został jeszcze zapisany.|Zamknij okno i otwórz je ponownie.");
    return 0;
  }
  return ColumnDialog(window, std::move(columns)).run();
}

}  // namespace slownik::svc
