#include "framework/classes/browse_class.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "framework/classes/toolbar_update_class.h"
#include "framework/data/keys.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"
#include "framework/sql/table_changes.h"
#include "framework/sql/text.h"

namespace slownik::fw {
namespace {

std::string trimmed(std::string s) {
  auto notSpace = [](unsigned char c) { return c != ' '; };
  s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
  s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
  return s;
}

// Keys a locator may take from the list: letters (Polish ones too), digits, space and Backspace.
std::vector<int> locatorKeys() {
  std::vector<int> keys = {rt::key::Space, rt::key::Backspace};
  for (int c = 'A'; c <= 'Z'; ++c) keys.push_back(c);
  for (int c = '0'; c <= '9'; ++c) keys.push_back(c);
  for (int c = rt::key::FirstPolishLetter; c <= rt::key::LastPolishLetter; ++c) keys.push_back(c);
  return keys;
}

}  // namespace

// --- set-up --------------------------------------------------------------------------

void BrowseClass::init(std::string listControl, data::ViewManager& view, ListQueue& queue,
                       data::RelationManager* relation, WindowManager& window) {
  listControl_ = std::move(listControl);
  view_ = &view;
  queue_ = &queue;
  relation_ = relation;
  window_ = &window;
  if (!view_->isOpen()) failed(view_->open());
  window.addItem(*this);
  if (this->window()) opened();
}

int BrowseClass::addSortOrder(std::string_view keyOrOrder, Locator* locator) {
  SortOrder o;
  // Key names carry the record prefix ("KRA:PK_KRAJE"); order texts never name a key.
  if (view_ && data::findKey(view_->table(), keyOrOrder)) {
    o.key = std::string(keyOrOrder);
  } else {
    o.orderText = std::string(keyOrOrder);
  }
  o.locator = locator;
  orders_.push_back(std::move(o));
  currentOrder_ = static_cast<int>(orders_.size());
  return currentOrder_;
}

void BrowseClass::addLocator(Locator& locator) {
  if (!orders_.empty()) orders_.back().locator = &locator;
}

void BrowseClass::addField(std::string name, int listField) { fields_.push_back({std::move(name), listField}); }

void BrowseClass::addToolbarTarget(ToolbarClass& toolbar) { toolbar.addTarget(*this); }

void BrowseClass::opened() {
  prepareFormat();
  connectButtons();
}

void BrowseClass::prepareFormat() {
  if (!window()) return;
  auto c = window()->control(listControl_);
  if (!c) return;
  std::string error;
  if (auto f = rt::ListFormat::parse(c->format, &error)) {
    format_ = std::move(*f);
  } else {
    rt::logMessage("BrowseClass: " + listControl_ + ": " + error);
  }
  formatRead_ = true;
}

void BrowseClass::connectButtons() {
  if (!window() || selectControl.empty()) return;
  window()->hide(selectControl, window_->request() != data::kSelectRecord);
}

void BrowseClass::setAlerts() {
  rt::Window* w = window();
  if (!w) return;
  w->alert(rt::key::F5);
  for (int k : {rt::key::Ins, rt::key::F2, rt::key::Del}) w->alertOn(listControl_, k);
  bool typing = replacedLocator_ && replacedLocator_->takesListKeys();
  for (const auto& o : orders_) typing = typing || (o.locator && o.locator->takesListKeys());
  if (typing) {
    for (int k : locatorKeys()) w->alertOn(listControl_, k);
  }
}

// --- sorting ----------------------------------------------------------------------------

Locator* BrowseClass::locator() const {
  if (replaced_ && replacedLocator_) return replacedLocator_;
  if (currentOrder_ < 1 || currentOrder_ > static_cast<int>(orders_.size())) return nullptr;
  return orders_[static_cast<std::size_t>(currentOrder_ - 1)].locator;
}

void BrowseClass::applyOrder() {
  if (!view_ || currentOrder_ < 1 || currentOrder_ > static_cast<int>(orders_.size())) return;
  const SortOrder& o = orders_[static_cast<std::size_t>(currentOrder_ - 1)];
  if (!failed(o.key.empty() ? view_->setOrder(o.orderText) : view_->setOrderKey(o.key))) orderApplied();
}

bool BrowseClass::setSort(int order, bool force) {
  if (order < 1 || order > static_cast<int>(orders_.size())) return false;
  if (order == currentOrder_ && !replaced_ && !force) return false;
  currentOrder_ = order;
  replaced_ = false;
  replacedLocator_ = nullptr;
  if (!loaded_) return true;
  applyOrder();
  if (Locator* l = locator()) l->reset();
  fetch(FetchDirection::First);
  return true;
}

void BrowseClass::replaceSort(std::string_view orderText, Locator* locator) {
  if (!view_ || failed(view_->setOrder(orderText))) return;
  replaced_ = true;
  replacedLocator_ = locator;
  orderApplied();
  if (Locator* l = this->locator()) l->reset();
  if (loaded_) fetch(FetchDirection::First);
}

void BrowseClass::restoreSort() {
  if (currentOrder_ > 0) setSort(currentOrder_, true);
}

void BrowseClass::setLocatorFromSort() {
  Locator* l = locator();
  if (!l || !view_) return;
  std::string first = view_->orderText();
  first = trimmed(first.substr(0, first.find(',')));
  if (!first.empty() && (first.front() == '+' || first.front() == '-')) first.erase(0, 1);
  if (sql::toUpperAscii(first).rfind("UPPER(", 0) == 0 && first.back() == ')') first = first.substr(6, first.size() - 7);
  l->setField(trimmed(first));
  l->reset();
}

// --- icons and colours -------------------------------------------------------------------

void setCellColours(ListRow& row, int colourField, long text, long back, long selectedText, long selectedBack) {
  if (colourField <= 0) return;
  for (long colour : {text, back, selectedText, selectedBack}) row.field(colourField++) = std::to_string(colour);
}

const rt::ListColumn* BrowseClass::formatColumn(int column) const {
  if (column < 1 || column > static_cast<int>(format_.columns.size())) return nullptr;
  return &format_.columns[static_cast<std::size_t>(column - 1)];
}

void BrowseClass::setIcon(ListRow& row, int column, int icon) const {
  const rt::ListColumn* c = formatColumn(column);
  if (c && c->iconField > 0) row.field(c->iconField) = std::to_string(icon);
}

void BrowseClass::hideText(ListRow& row, int column) const {
  const rt::ListColumn* c = formatColumn(column);
  if (c && c->field > 0) row.field(c->field).clear();
}

void BrowseClass::setText(ListRow& row, int column, std::string text) const {
  const rt::ListColumn* c = formatColumn(column);
  if (c && c->field > 0) row.field(c->field) = std::move(text);
}

void BrowseClass::setColours(ListRow& row, int column, long text, long back, long selectedText,
                             long selectedBack) const {
  const rt::ListColumn* c = formatColumn(column);
  if (c && c->cellColours) setCellColours(row, c->colourField, text, back, selectedText, selectedBack);
}

// --- filling ----------------------------------------------------------------------------

bool BrowseClass::failed(int rc) {
  if (rc == 0) return false;
  // The view failed (a broken filter, a lost connection): the user sees why and the
  // list keeps what it showed.
  std::string text = view_ ? view_->errorText() : std::string();
  rt::logMessage("BrowseClass " + listControl_ + ": " + text);
  svc::warningBox(text.empty() ? "Błąd odczytu listy." : text);
  return true;
}

int BrowseClass::listFieldOf(std::size_t bindingIndex) const {
  if (fields_[bindingIndex].listField > 0) return fields_[bindingIndex].listField;
  std::size_t k = 0;
  for (std::size_t i = 0; i < bindingIndex; ++i) k += fields_[i].listField > 0 ? 0 : 1;
  if (k < format_.columns.size()) return format_.columns[k].field;
  return format_.fieldCount + static_cast<int>(k - format_.columns.size()) + 1;
}

void BrowseClass::setQueueRecord(ListRow& row, const data::ViewRow& source) {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string& name = fields_[i].name;
    data::Field f = data::field(name);
    // The record buffer holds the row in its normal form ("12", not "12.0").
    row.field(listFieldOf(i)) = f.isValid() ? f.text() : view_->value(source, name).value_or("");
  }
}

void BrowseClass::showRows(std::vector<data::ViewRow>&& rows, int selected) {
  queue_->clear();
  for (auto& vr : rows) {
    ListRow r;
    view_->load(vr);
    r.source = std::move(vr);
    setQueueRecord(r, r.source);
    queue_->rows().push_back(std::move(r));
  }
  selected_ = queue_->empty() ? 0 : std::clamp(selected, 1, queue_->size());
  loaded_ = true;
  updateWindow();
}

void BrowseClass::ensureLoaded() {
  if (loaded_ || !view_ || !queue_) return;
  loaded_ = true;
  if (!formatRead_) prepareFormat();
  connectButtons();
  applyOrder();
  fetch(FetchDirection::First);
}

int BrowseClass::fetch(FetchDirection direction) {
  if (!view_ || !queue_) return 0;
  std::vector<data::ViewRow> rows;
  int rc = 0;
  switch (direction) {
    case FetchDirection::First:
      rc = view_->firstPage(pageSize_, rows);
      if (!failed(rc)) showRows(std::move(rows), 1);
      return rc;
    case FetchDirection::Last:
      rc = view_->lastPage(pageSize_, rows);
      if (!failed(rc)) showRows(std::move(rows), static_cast<int>(rows.size()));
      return rc;
    case FetchDirection::Forward:
    case FetchDirection::Backward: {
      if (queue_->empty()) return fetch(FetchDirection::First);
      bool forward = direction == FetchDirection::Forward;
      rc = forward ? view_->pageAfter(queue_->rows().back().position(), pageSize_, rows)
                   : view_->pageBefore(queue_->rows().front().position(), pageSize_, rows);
      if (failed(rc)) return rc;
      if (rows.empty()) {
        selected_ = forward ? queue_->size() : 1;
        updateWindow();
        return 0;
      }
      // A short page at either end keeps the nearest old rows so the list stays full.
      std::size_t keep = static_cast<std::size_t>(pageSize_) > rows.size() ? pageSize_ - rows.size() : 0;
      std::vector<data::ViewRow> page;
      const auto& old = queue_->rows();
      keep = std::min(keep, old.size());
      if (forward) {
        for (std::size_t i = old.size() - keep; i < old.size(); ++i) page.push_back(old[i].source);
        for (auto& r : rows) page.push_back(std::move(r));
      } else {
        page = std::move(rows);
        for (std::size_t i = 0; i < keep; ++i) page.push_back(old[i].source);
      }
      showRows(std::move(page), selected_);
      return 0;
    }
  }
  return 0;
}

int BrowseClass::fillAround(const std::string& position, int line) {
  line = std::clamp(line, 1, pageSize_);
  // The rows above the line and the rows from the position on come in one statement; the
  // rows above are read for a whole page, so that near the end of the list the page can
  // be topped up with them without another read.
  std::vector<data::ViewRow> before, after;
  if (failed(view_->pageAround(position, std::max(pageSize_ - 1, 1), pageSize_, before, after))) return 0;
  std::size_t above = std::min(before.size(), static_cast<std::size_t>(line - 1));
  std::size_t room = static_cast<std::size_t>(pageSize_) - above;
  if (after.size() > room) after.resize(room);
  // Near the end the page is topped up with earlier rows; the target moves down with it.
  std::size_t total = above + after.size();
  if (total < static_cast<std::size_t>(pageSize_)) above = std::min(before.size(), above + (pageSize_ - total));
  int target = static_cast<int>(above) + (after.empty() ? 0 : 1);
  std::vector<data::ViewRow> page(std::make_move_iterator(before.end() - static_cast<std::ptrdiff_t>(above)),
                                  std::make_move_iterator(before.end()));
  for (auto& r : after) page.push_back(std::move(r));
  if (page.empty()) {
    showRows({}, 0);
    return 0;
  }
  showRows(std::move(page), std::max(target, 1));
  return selected_;
}

void BrowseClass::resetQueue() {
  if (!loaded_) {
    ensureLoaded();
    return;
  }
  if (const ListRow* row = selectedRow()) {
    std::string position = row->position();
    fillAround(position, selected_);
  } else {
    fetch(FetchDirection::First);
  }
}

void BrowseClass::reset(bool) { resetQueue(); }

std::string BrowseClass::formatted(const ListRow& row, int field) const {
  for (const auto& c : format_.columns) {
    if (c.field == field) return c.display(row.field(field));
  }
  return row.field(field);
}

void BrowseClass::updateWindow() {
  if (!loaded_) {
    ensureLoaded();
    return;
  }
  rt::Window* w = window();
  if (!w) return;
  std::vector<std::vector<std::string>> rows;
  rows.reserve(queue_->rows().size());
  for (const auto& r : queue_->rows()) {
    std::size_t width = std::max(static_cast<std::size_t>(format_.fieldCount), r.fields.size());
    std::vector<std::string> cells(width);
    for (std::size_t i = 0; i < width; ++i) cells[i] = r.field(static_cast<int>(i) + 1);
    for (const auto& c : format_.columns) {
      if (c.field > 0 && static_cast<std::size_t>(c.field) <= width) cells[static_cast<std::size_t>(c.field - 1)] = formatted(r, c.field);
    }
    rows.push_back(std::move(cells));
  }
  w->setRows(listControl_, std::move(rows));
  w->setSelection(listControl_, selected_);
  for (const std::string* b : {&changeControl, &deleteControl}) {
    if (!b->empty()) w->enable(*b, records() > 0);
  }
}

const ListRow* BrowseClass::selectedRow() const {
  if (!queue_ || selected_ < 1 || selected_ > queue_->size()) return nullptr;
  return &queue_->row(selected_);
}

// --- moving -----------------------------------------------------------------------------

bool BrowseClass::scrollDown() {
  if (records() == 0) return false;
  if (selected_ < records()) {
    ++selected_;
    if (window()) window()->setSelection(listControl_, selected_);
    return true;
  }
  std::vector<data::ViewRow> rows;
  if (failed(view_->pageAfter(queue_->rows().back().position(), 1, rows)) || rows.empty()) return false;
  std::vector<data::ViewRow> page;
  const auto& old = queue_->rows();
  // The page slides by one: the first row goes, the new one comes in at the bottom.
  std::size_t from = old.size() >= static_cast<std::size_t>(pageSize_) ? 1 : 0;
  for (std::size_t i = from; i < old.size(); ++i) page.push_back(old[i].source);
  page.push_back(std::move(rows.front()));
  showRows(std::move(page), static_cast<int>(page.size()));
  return true;
}

bool BrowseClass::scrollUp() {
  if (records() == 0) return false;
  if (selected_ > 1) {
    --selected_;
    if (window()) window()->setSelection(listControl_, selected_);
    return true;
  }
  std::vector<data::ViewRow> rows;
  if (failed(view_->pageBefore(queue_->rows().front().position(), 1, rows)) || rows.empty()) return false;
  std::vector<data::ViewRow> page;
  page.push_back(std::move(rows.front()));
  const auto& old = queue_->rows();
  std::size_t to = old.size() >= static_cast<std::size_t>(pageSize_) ? old.size() - 1 : old.size();
  for (std::size_t i = 0; i < to; ++i) page.push_back(old[i].source);
  showRows(std::move(page), 1);
  return true;
}

void BrowseClass::pageDown() { fetch(FetchDirection::Forward); }
void BrowseClass::pageUp() { fetch(FetchDirection::Backward); }

bool BrowseClass::move(int vcrRequest) {
  switch (vcrRequest) {
    case kVcrForward: return scrollDown();
    case kVcrBackward: return scrollUp();
    case kVcrFirst: fetch(FetchDirection::First); return records() > 0;
    case kVcrLast: fetch(FetchDirection::Last); return records() > 0;
    default: return false;
  }
}

// --- locating ---------------------------------------------------------------------------

bool BrowseClass::locate(std::string_view text) {
  if (!view_) return false;
  ensureLoaded();
  std::vector<data::ViewRow> rows;
  if (failed(view_->seek(text, 1, rows))) return false;
  if (rows.empty()) {  // everything sorts before the text: the last row is the nearest
    fetch(FetchDirection::Last);
    return false;
  }
  fillAround(rows.front().position, std::max(selected_, 1));
  return true;
}

bool BrowseClass::locateStep(std::string_view field, std::string_view character) {
  if (!view_ || character.empty()) return false;
  ensureLoaded();
  const std::string wanted = upperLetters(character);
  auto startsWith = [&](const data::ViewRow& r) {
    auto v = view_->value(r, field);
    return v && upperLetters(*v).rfind(wanted, 0) == 0;
  };
  // Seeking by the typed character alone would miss values stored in the other case:
  // a key gives 'Z', and an order that compares text as it is puts "np" after 'Z' and
  // before "zw". So the rows are searched for the character in either case, and in such
  // an order the rows that start with it need not follow each other.
  if (const ListRow* current = selectedRow(); current && startsWith(current->source)) {
    std::vector<data::ViewRow> next;
    if (!failed(view_->pageAfter(current->position(), 1, next)) && !next.empty() && startsWith(next.front()))
      return scrollDown();
    const std::string after = current->position();
    if (auto position = firstStartingWith(field, character, &after)) {
      fillAround(*position, std::max(selected_, 1));
      return true;
    }
  }
  if (auto position = firstStartingWith(field, character, nullptr)) {
    fillAround(*position, std::max(selected_, 1));
    return true;
  }
  return locate(character);  // no row starts with it: the nearest one after it
}

std::optional<std::string> BrowseClass::firstStartingWith(std::string_view field, std::string_view text,
                                                          const std::string* after) {
  // The view finds the row in its own order: limit it to the matching rows for one read.
  std::vector<data::ViewRow> rows;
  int rc = view_->setStartsWithAny(field, {lowerLetters(text), upperLetters(text)});
  if (rc == 0) rc = after ? view_->pageAfter(*after, 1, rows) : view_->firstPage(1, rows);
  view_->setStartsWithAny(field, {});
  // A failure leaves the plain seek to the caller, which tells the user when the view
  // itself fails.
  if (rc != 0) rt::logMessage("BrowseClass " + listControl_ + ": " + view_->errorText());
  if (rc != 0 || rows.empty()) return std::nullopt;
  return rows.front().position;
}

void BrowseClass::filterBy(std::string_view field, std::string_view text, bool contains) {
  if (!view_) return;
  if (failed(view_->setLocatorFilter(field, text, contains))) return;
  if (loaded_) {
    fetch(FetchDirection::First);
  } else {
    ensureLoaded();
  }
}

// --- the form ---------------------------------------------------------------------------

std::optional<std::string> BrowseClass::positionOfRecord() {
  // A form of this list has just written the buffer: where the order allows, the buffer
  // says where the row stands, and the page around it is the only statement. (A caller
  // that only put a key in the buffer needs the row's position read.)
  if (std::string position; writesOfForm_ && view_->positionOfBuffer(&position)) return position;
  const sql::KeyDef* key = data::uniqueKey(view_->table());
  if (!key) return std::nullopt;
  data::RecordBuffer& record = data::buffer(view_->table());
  std::vector<sql::Param> values;
  for (const auto& part : key->components) {
    data::Field f = record.field(part.column);
    if (!f.isValid()) return std::nullopt;
    switch (f.column()->type) {
      case sql::ColumnType::Text:
      case sql::ColumnType::Memo: values.emplace_back(std::string(f.text())); break;
      case sql::ColumnType::Real:
      case sql::ColumnType::Decimal: values.emplace_back(std::strtod(std::string(f.text()).c_str(), nullptr)); break;
      default: values.emplace_back(static_cast<long long>(std::llround(std::strtod(std::string(f.text()).c_str(), nullptr))));
    }
  }
  std::string position;
  if (view_->positionOfKey(values, &position) != 0 || position.empty()) return std::nullopt;
  return position;
}

void BrowseClass::ask(int request) {
  if (!window_ || !view_) return;
  ensureLoaded();
  for (;;) {
    if (request == data::kInsertRecord) {
      if (failed(view_->primeRecord())) return;
      markPrimed(view_->table());
    } else {
      const ListRow* row = selectedRow();
      if (!row) return;
      if (window_->readsRowItself(request)) {
        view_->load(row->source);
      } else if (failed(view_->fetch(row->position()))) {
        resetQueue();
        return;
      }
    }
    data::VCRREQUEST() = kVcrNone;
    const unsigned long long changesBefore = sql::changesOf(view_->table().name);
    // A view-only list never calls the form, whatever its procedure connected.
    int response = window_->request() == data::kViewRecord ? data::kRequestCancelled
                                                            : window_->run(updateNumber, request);
    takePrimed(view_->table());  // a form that never opened leaves no priming behind
    int vcr = std::exchange(data::VCRREQUEST(), kVcrNone);
    writesOfForm_ = sql::changesOf(view_->table().name) - changesBefore - window_->writesOfItsOwn(request);
    resetFromAsk(request, response);
    writesOfForm_.reset();
    if (vcr == kVcrNone || (request != data::kChangeRecord && request != data::kViewRecord)) break;
    if (!move(vcr)) break;
  }
  if (window() && !window()->isClosed()) window()->select(listControl_);
}

bool BrowseClass::refreshFromBuffer() {
  // Only the form's own write of the row may have changed the table meanwhile: any
  // other write (a form that also changes other rows, another window of this program)
  // needs the page read again.
  if (writesOfForm_ != 1ULL) return false;
  const ListRow* row = selectedRow();
  data::ViewRow fresh;
  // A row whose order values changed may stand elsewhere now: read the page around it.
  if (!row || !view_->rowOfBuffer(row->source, &fresh) || fresh.position != row->position()) return false;
  ListRow made;
  made.source = std::move(fresh);
  setQueueRecord(made, made.source);
  queue_->rows()[static_cast<std::size_t>(selected_ - 1)] = std::move(made);
  updateWindow();
  return true;
}

void BrowseClass::resetFromAsk(int request, int response) {
  if (response == data::kRequestCompleted && request == data::kChangeRecord && refreshFromBuffer()) return;
  if (response == data::kRequestCompleted) {
    if (request == data::kInsertRecord || request == data::kChangeRecord) {
      if (auto position = positionOfRecord()) {
        fillAround(*position, std::max(selected_, 1));
        return;
      }
    } else if (request == data::kDeleteRecord) {
      if (const ListRow* row = selectedRow()) {
        std::string position = row->position();
        fillAround(position, selected_);  // the next row takes the deleted row's line
        return;
      }
    }
  }
  resetQueue();
}

void BrowseClass::takeSelect() {
  const ListRow* row = selectedRow();
  if (!row || failed(view_->fetch(row->position()))) return;
  window_->post(data::kRequestCompleted);
}

bool BrowseClass::isUsable(const std::string& control) const {
  if (control.empty() || !window()) return false;
  auto c = window()->control(control);
  return c && c->enabled && !c->hidden;
}

// --- events -----------------------------------------------------------------------------

int BrowseClass::takeEvent(const rt::Event& e) {
  rt::Window* w = window();
  if (!w || !view_) return kLevelBenign;
  if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F5) {
    if (Locator* l = locator()) l->listReloaded();
    resetQueue();
    return kLevelBenign;  // every list of the window reloads
  }
  bool picker = window_->request() == data::kSelectRecord;
  if (e.control == listControl_) {
    switch (e.code) {
      case rt::event::NewSelection:
        if (auto c = w->control(listControl_)) selected_ = c->selection;
        return kLevelBenign;
      case rt::event::ScrollDown: scrollDown(); return kLevelNotify;
      case rt::event::ScrollUp: scrollUp(); return kLevelNotify;
      case rt::event::PageDown: pageDown(); return kLevelNotify;
      case rt::event::PageUp: pageUp(); return kLevelNotify;
      case rt::event::ScrollTop: fetch(FetchDirection::First); return kLevelNotify;
      case rt::event::ScrollBottom: fetch(FetchDirection::Last); return kLevelNotify;
      case rt::event::Accepted:
        if (picker) {
          takeSelect();
        } else if (isUsable(changeControl)) {
          ask(data::kChangeRecord);
        }
        return kLevelNotify;
      case rt::event::AlertKey:
        if (e.keyCode == rt::key::Ins && isUsable(insertControl)) {
          ask(data::kInsertRecord);
          return kLevelNotify;
        }
        if (e.keyCode == rt::key::F2 && isUsable(changeControl)) {
          ask(data::kChangeRecord);
          return kLevelNotify;
        }
        if (e.keyCode == rt::key::Del && isUsable(deleteControl)) {
          ask(data::kDeleteRecord);
          return kLevelNotify;
        }
        if (Locator* l = locator(); l && l->takesListKeys() && l->takeKey(e.keyCode)) return kLevelNotify;
        return kLevelBenign;
      default:
        return kLevelBenign;
    }
  }
  if (e.code != rt::event::Accepted) return kLevelBenign;
  if (!selectControl.empty() && e.control == selectControl) {
    takeSelect();
    return kLevelNotify;
  }
  const std::pair<const std::string*, int> buttons[] = {{&insertControl, data::kInsertRecord},
                                                        {&changeControl, data::kChangeRecord},
                                                        {&deleteControl, data::kDeleteRecord}};
  for (const auto& [control, request] : buttons) {
    if (!control->empty() && e.control == *control) {
      ask(request);
      return kLevelNotify;
    }
  }
  if (Locator* l = locator(); l && !l->control().empty() && e.control == l->control()) {
    l->takeAccepted(trimmed(w->value(e.control)));
    return kLevelNotify;
  }
  return kLevelBenign;
}

// --- toolbar ----------------------------------------------------------------------------

bool BrowseClass::hasFocus() const { return window() && window()->focus() == listControl_; }

bool BrowseClass::canPerform(ToolbarAction action) const {
  if (!window_) return false;
  bool editable = window_->request() != data::kViewRecord;
  switch (action) {
    case ToolbarAction::Insert: return editable && isUsable(insertControl);
    case ToolbarAction::Change: return editable && records() > 0 && isUsable(changeControl);
    case ToolbarAction::Delete: return editable && records() > 0 && isUsable(deleteControl);
    case ToolbarAction::Select: return window_->request() == data::kSelectRecord && records() > 0;
    default: return records() > 0;
  }
}

void BrowseClass::perform(ToolbarAction action) {
  switch (action) {
    case ToolbarAction::Insert: ask(data::kInsertRecord); break;
    case ToolbarAction::Change: ask(data::kChangeRecord); break;
    case ToolbarAction::Delete: ask(data::kDeleteRecord); break;
    case ToolbarAction::Select: takeSelect(); break;
    case ToolbarAction::First: fetch(FetchDirection::First); break;
    case ToolbarAction::Previous: scrollUp(); break;
    case ToolbarAction::Next: scrollDown(); break;
    case ToolbarAction::Last: fetch(FetchDirection::Last); break;
  }
}

}  // namespace slownik::fw
