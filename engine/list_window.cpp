#include "engine/list_window.h"

#include <algorithm>
#include <cstdlib>

#include "engine/list_columns.h"
#include "engine/list_output.h"
#include "framework/classes/browser_popup.h"
#include "framework/data/globals.h"
#include "framework/data/keys.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"
#include "framework/services/open_windows.h"
#include "framework/services/rights.h"
#include "framework/services/window_parameters.h"

namespace slownik::engine {

namespace {
constexpr const char* kList = "?LIST";
constexpr const char* kSortParameter = "sortowanie";
constexpr int kCopyKey = rt::key::withCtrl('C');
constexpr int kPrintKey = rt::key::withCtrl('P');
}  // namespace

void warn(WarningStyle style, std::string_view text) {
  if (style == WarningStyle::Message) {
    svc::MSG_OSTRZEZENIE(text);
  } else {
    svc::warningBox(text);
  }
}

// The list manager with the dictionary's row and order hooks and the header sorter's reset.
class ListWindow::Browse : public fw::BrowseClass {
 public:
  explicit Browse(ListWindow& owner) : owner_(owner) {}
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    BrowseClass::setQueueRecord(row, source);
    owner_.setQueueRecord(row, source);
  }
  void orderApplied() override {
    // The list's own order puts the header sorting aside before the dictionary hears of
    // it, so that it sees no header order that is no longer in force.
    if (!isSortReplaced()) owner_.sortChanged();
    owner_.orderApplied();
  }
  using BrowseClass::setSort;
  bool setSort(int order, bool force) override {
    bool changed = BrowseClass::setSort(order, force);
    if (changed) owner_.sortChanged();
    return changed;
  }

 private:
  ListWindow& owner_;
};

// The list buffer as the header sorter reads it: list-buffer fields named after the
// record fields the dictionary bound to them, numbered as the list format numbers them.
class ListWindow::SortBuffer : public HeaderSorter::ListBuffer {
 public:
  SortBuffer(fw::ListQueue& queue, fw::BrowseClass& browse, const rt::ListFormat& format,
             const std::vector<std::string>& columns)
      : queue_(queue), browse_(browse) {
    // The k-th bound field shows the k-th column; fields beyond the columns follow the
    // list's own fields (as the list manager places them).
    for (std::size_t k = 0; k < columns.size(); ++k) {
      int field = k < format.columns.size() ? format.columns[k].field
                                            : format.fieldCount + static_cast<int>(k - format.columns.size()) + 1;
      if (field >= static_cast<int>(names_.size())) names_.resize(static_cast<std::size_t>(field) + 1);
      names_[static_cast<std::size_t>(field)] = columns[k];
    }
  }
  std::string fieldName(int field) const override {
    return field > 0 && field < static_cast<int>(names_.size()) ? names_[static_cast<std::size_t>(field)] : "";
  }
  int fieldCount() const override { return names_.empty() ? 0 : static_cast<int>(names_.size()) - 1; }
  int rowCount() const override { return queue_.size(); }
  std::string value(int row, int field) const override { return queue_.row(row).field(field); }
  void reorder(const std::vector<int>& rows) override {
    std::vector<fw::ListRow> sorted;
    sorted.reserve(rows.size());
    for (int r : rows) sorted.push_back(queue_.row(r));
    queue_.rows() = std::move(sorted);
    browse_.updateWindow();
  }

 private:
  fw::ListQueue& queue_;
  fw::BrowseClass& browse_;
  std::vector<std::string> names_;  // by list-buffer field number
};

ListWindow::ListWindow(ListDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

ListWindow::~ListWindow() = default;

fw::BrowseClass& ListWindow::browse() { return *browse_; }

void ListWindow::warn(std::string_view text) const { engine::warn(descriptor_.warning, text); }

int ListWindow::init() {
  frame_.nameProcedure(descriptor_.procedure);
  if (int rc = WindowManager::init()) return rc;
  relation_ = data::relationManager(descriptor_.table);
  if (!relation_) {
    rt::logMessage(descriptor_.procedure + ": unknown table " + descriptor_.table);
    return data::kRequestCancelled;
  }
  table_ = &relation_->table();
  view_ = std::make_unique<data::ViewManager>(*table_);

  addItem(toolbar_);
  data::GLOBALREQUEST() = data::kNoRequest;
  data::GLOBALRESPONSE() = data::kNoResponse;
  // A picker closed without a choice is a cancelled pick; a plain list is just done.
  addItem("?CLOSE", request() == data::kSelectRecord ? data::kRequestCancelled : data::kRequestCompleted);

  relation_->open();
  filesOpened_ = true;

  if (!descriptor_.companyField.empty()) view_->addRange(descriptor_.companyField, data::glo().ID_FIRMY.get());
  setRanges(*view_);
  browse_ = std::make_unique<Browse>(*this);
  if (descriptor_.selectButton) browse_->selectControl = "?SELECT";
  if (request() != data::kViewRecord) {
    if (descriptor_.insertButton) browse_->insertControl = "?INSERT";
    if (descriptor_.changeButton) browse_->changeControl = "?CHANGE";
    if (descriptor_.deleteButton) browse_->deleteControl = "?DELETE";
  }
  browse_->init(kList, *view_, queue_, relation_, *this);

  if (!descriptor_.right.empty() && svc::POBIERZUPRAWNIENIE(descriptor_.right) != 1) {
    engine::warn(descriptor_.rightWarning.value_or(descriptor_.warning), descriptor_.rightMessage);
    return data::kRequestCancelled;
  }

  if (frame_.open(*this, descriptor_.module, "P1$BROWSEWINDOW", descriptor_.minWidth, descriptor_.minHeight) != 0)
    return data::kRequestCancelled;
  frame_.applyTheme(kList);
  if (auto list = window()->control(kList)) {
    if (auto format = rt::ListFormat::parse(list->format)) format_ = std::move(*format);
  }
  applyListColumns(*this);
  browse_->setPageSize(descriptor_.pageSize);

  readParameters();
  addSortOrders();
  for (const auto& column : descriptor_.columns) browse_->addField(column);

  resizer_.init(sharedWindow());
  setResizeStrategies(resizer_);
  frame_.restorePosition();
  resizer_.apply();

  browse_->addToolbarTarget(toolbar_);
  frame_.registerTooltips();
  setAlerts();
  frame_.startHelp(descriptor_.helpPage);

  if (descriptor_.headerSorter) {
    sortBuffer_ = std::make_unique<SortBuffer>(queue_, *browse_, format_, descriptor_.columns);
    sorter_ = std::make_unique<HeaderSorter>();
    sorter_->setSortCallback([this](const std::string& orderText) { sortByHeaders(orderText); });
    if (sorter_->start(sharedWindow(), *sortBuffer_, kList, data::uniqueKey(*table_), view_.get())) {
      sorter_->setAlerts();
    } else {
      sorter_.reset();
    }
  }
  frame_.startHighlighter();
  return opened();
}

void ListWindow::addSortOrders() {
  for (const auto& order : descriptor_.sortOrders) {
    std::unique_ptr<fw::Locator> locator;
    switch (order.locator) {
      case LocatorKind::None: break;
      case LocatorKind::Step: locator = std::make_unique<fw::StepLocator>(); break;
      case LocatorKind::Incremental: locator = std::make_unique<fw::IncrementalLocator>(); break;
      case LocatorKind::Entry: locator = std::make_unique<fw::EntryLocator>(); break;
      case LocatorKind::Filter: locator = std::make_unique<fw::FilterLocator>(); break;
    }
    if (locator) locator->init(order.locatorControl, order.locatorField, *browse_);
    browse_->addSortOrder(order.key, locator.get());
    locators_.push_back(std::move(locator));
  }
  if (storedSort_ > 0) browse_->setSort(storedSort_, false);
}

void ListWindow::setQueueRecord(fw::ListRow&, const data::ViewRow&) {}

void ListWindow::setRanges(data::ViewManager&) {}

void ListWindow::setResizeStrategies(fw::WindowResizeClass& resizer) {
  struct Rule {
    const char* control;
    fw::Anchor horizontal;
    fw::Anchor vertical;
    fw::Stretch stretch;
  };
  static constexpr Rule kRules[] = {
      {"?LIST", fw::Anchor::Start, fw::Anchor::Start, fw::Stretch::Both},
      {"?NAGLOWEK", fw::Anchor::Start, fw::Anchor::Start, fw::Stretch::Width},
      {"?NAGLOWEK:TEKST", fw::Anchor::Start, fw::Anchor::Start, fw::Stretch::None},
      {"?PRZYCISKI:SLOWNIK", fw::Anchor::Nearest, fw::Anchor::End, fw::Stretch::None},
      {"?PRZYCISKI:OKNO", fw::Anchor::End, fw::Anchor::End, fw::Stretch::None},
  };
  for (const auto& r : kRules) {
    if (window()->has(r.control)) resizer.setStrategy(r.control, r.horizontal, r.vertical, r.stretch);
  }
}

bool ListWindow::isOtherList(const std::string& control) const {
  if (!window() || control == kList) return false;
  auto c = window()->control(control);
  return c && c->kind == rt::ControlKind::List;
}

void ListWindow::setAlerts() {
  frame_.reserveKeys();
  WindowManager::setAlerts();
  if (window()) {
    window()->alertOn(kList, rt::key::MouseRight);
    window()->alertOn(kList, kCopyKey);
    // A window whose own button answers Ctrl+P keeps it; its popup still offers "Drukuj".
    const auto controls = window()->controls();
    if (std::none_of(controls.begin(), controls.end(), [](const rt::Control& c) { return c.key == kPrintKey; }))
      window()->alert(kPrintKey);
  }
  if (sorter_) sorter_->setAlerts();
}

int ListWindow::takeEvent(const rt::Event& e) {
  if (frame_.takeEventFirst(e)) return fw::kLevelNotify;
  if (sorter_ && sorter_->takeEvent(e)) return fw::kLevelNotify;
  if (e.code == rt::event::AlertKey && e.keyCode == rt::key::MouseRight && e.control == kList) {
    showPopup();
    return fw::kLevelNotify;
  }
  if (e.code == rt::event::AlertKey && e.keyCode == kCopyKey && e.control == kList) {
    copySelectedRows(*this);
    return fw::kLevelNotify;
  }
  if (e.code == rt::event::AlertKey && e.keyCode == kPrintKey && !isOtherList(e.control)) {
    printList(*this);
    return fw::kLevelNotify;
  }
  return WindowManager::takeEvent(e);
}

int ListWindow::takeWindowEvent(const rt::Event& e) {
  frame_.takeWindowEvent(e, kList);
  return WindowManager::takeWindowEvent(e);
}

int ListWindow::run(int number, int request) {
  if (request == data::kInsertRecord && !descriptor_.insertRight.empty() &&
      svc::POBIERZUPRAWNIENIE(descriptor_.insertRight) != 1) {
    warn(descriptor_.insertRightMessage);
    return data::kRequestCancelled;
  }
  if (request == data::kChangeRecord && !descriptor_.viewRight.empty() &&
      svc::POBIERZUPRAWNIENIE(descriptor_.viewRight) != 1) {
    warn(descriptor_.viewRightMessage);
    return data::kRequestCancelled;
  }
  if (request == data::kDeleteRecord && !descriptor_.deleteRight.empty() &&
      svc::POBIERZUPRAWNIENIE(descriptor_.deleteRight) != 1) {
    warn(descriptor_.deleteRightMessage);
    return data::kRequestCancelled;
  }
  if (this->request() == data::kViewRecord) return data::kRequestCancelled;
  if (!descriptor_.form) return WindowManager::run(number, request);
  data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
  data::GLOBALRESPONSE() = data::kNoResponse;
  descriptor_.form();
  return data::GLOBALRESPONSE() == data::kRequestCompleted ? data::kRequestCompleted : data::kRequestCancelled;
}

void ListWindow::setIcon(fw::ListRow& row, int column, int icon) const {
  if (browse_) browse_->setIcon(row, column, icon);
}

void ListWindow::hideText(fw::ListRow& row, int column) const {
  if (browse_) browse_->hideText(row, column);
}

void ListWindow::setText(fw::ListRow& row, int column, std::string text) const {
  if (browse_) browse_->setText(row, column, std::move(text));
}

void ListWindow::setColours(fw::ListRow& row, int column, long text, long back, long selectedText,
                            long selectedBack) const {
  if (browse_) browse_->setColours(row, column, text, back, selectedText, selectedBack);
}

void ListWindow::showSortColumn(int order, int styles) {
  if (!window()) return;
  for (int style = 1; style <= styles; ++style) {
    rt::ListStyle look;
    look.fontWeight = style == order ? rt::kBoldWeight : rt::kNormalWeight;
    window()->setListStyle("?LIST", style, look);
  }
}

void ListWindow::chooseNamedSort(int order, int styles) {
  if (!browse_) return;
  fw::BrowseClass& list = browse();
  if (fw::Locator* l = list.locator()) l->reset();
  showSortColumn(order, styles);
  list.setSort(order);
  list.resetQueue();
}

int sortNumber(std::string_view name, const std::vector<std::string_view>& names, int fallback) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (name == names[i]) return static_cast<int>(i) + 1;
  return fallback;
}

void ListWindow::reload() {
  if (browse_) browse_->resetQueue();
}

void ListWindow::sortChanged() {
  if (sorter_) sorter_->reset();
}

void ListWindow::sortByHeaders(const std::string& orderText) {
  if (!browse_) return;
  if (!orderText.empty()) {
    browse_->replaceSort(orderText, browse_->locator());
    browse_->setLocatorFromSort();
    return;
  }
  // The locators search their own fields again, not the one a header sort gave them.
  for (std::size_t i = 0; i < locators_.size() && i < descriptor_.sortOrders.size(); ++i) {
    if (locators_[i]) locators_[i]->setField(descriptor_.sortOrders[i].locatorField);
  }
  browse_->restoreSort();
  if (sorter_) sorter_->reset();
}

void ListWindow::addPopupItems(fw::PopupClass&) {}

void ListWindow::takePopupChoice(const std::string&) {}

bool ListWindow::showPopup() {
  fw::PopupClass popup;
  popup.init(sharedWindow());
  const std::pair<const char*, const std::string*> standard[] = {{"Insert", &browse_->insertControl},
                                                                 {"Change", &browse_->changeControl},
                                                                 {"Delete", &browse_->deleteControl},
                                                                 {"Select", &browse_->selectControl}};
  for (const auto& [name, control] : standard) {
    if (!control->empty() && window()->has(*control)) popup.addItemMimic(name, *control);
  }
  addPopupItems(popup);
  addListColumnItems(*this, popup);
  fw::USTAW4IKONYBROWSERA(popup, 1);
  if (popup.items().empty()) return false;
  std::string chosen = popup.ask();
  if (chosen.empty()) return false;
  for (const auto& [name, control] : standard) {
    if (chosen == name) return true;  // the mimic item pressed its button already
  }
  if (!takeListColumnChoice(*this, chosen)) takePopupChoice(chosen);
  return true;
}

void ListWindow::readParameters() {
  if (descriptor_.parameterWindow.empty()) return;
  std::string stored = svc::POBIERZPARAMETROKNA(descriptor_.parameterWindow, kSortParameter);
  int order = std::atoi(stored.c_str());
  storedSort_ = order >= 1 && order <= static_cast<int>(descriptor_.sortOrders.size()) ? order : 0;
}

void ListWindow::writeParameters() {
  if (descriptor_.parameterWindow.empty() || !browse_ || browse_->currentSort() < 1) return;
  svc::ZAPISZPARAMETROKNA(descriptor_.parameterWindow, kSortParameter, std::to_string(browse_->currentSort()));
}

int ListWindow::kill() {
  if (WindowManager::kill()) return 1;
  closeActions();
  if (filesOpened_) {
    relation_->close();
    filesOpened_ = false;
    if (sorter_) sorter_->stop();
  }
  frame_.leave();
  if (isOpened()) {
    writeParameters();
    storeListColumns(*this);
  }
  if (!descriptor_.windowKey.empty()) svc::SKASUJOKNO(descriptor_.windowKey);
  frame_.release();
  return 0;
}

}  // namespace slownik::engine
