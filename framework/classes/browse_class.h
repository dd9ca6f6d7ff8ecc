#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/classes/list_queue.h"
#include "framework/classes/locators.h"
#include "framework/classes/sort_order.h"
#include "framework/classes/toolbar_class.h"
#include "framework/classes/window_manager.h"
#include "framework/data/relation_manager.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/list_format.h"

namespace slownik::fw {

enum class FetchDirection { First, Last, Forward, Backward };

//! A list control over a view: fills the list buffer page by page by keyset (the
//! visible page only, never the table), scrolls, sorts, locates, and calls the record
//! form through the window manager's run(number, request).
//!
//! A procedure sets the buttons in its init override (selectControl … deleteControl),
//! adds its sort orders with their locators and its fields, and may override
//! setQueueRecord for icons and computed columns. Registered with its window manager by
//! init(); used on the procedure's thread only.
class BrowseClass : public WindowComponent, public ToolbarTarget {
 public:
  BrowseClass() = default;
  BrowseClass(const BrowseClass&) = delete;
  BrowseClass& operator=(const BrowseClass&) = delete;

  //! The list control, its view (opened here when it is not), its list buffer, the
  //! relation manager of the main table (may be null) and the window it lives in.
  virtual void init(std::string listControl, data::ViewManager& view, ListQueue& queue,
                    data::RelationManager* relation, WindowManager& window);

  //! A sort order by key name ("KRA:PK_KRAJE") or order text ("+NAZWA,+SYM_KRAJU"), with
  //! its locator (may be null). Returns its number (1-based). The last one added is the
  //! order in force until setSort chooses another.
  int addSortOrder(std::string_view keyOrOrder, Locator* locator = nullptr);
  //! The locator of the order added last.
  void addLocator(Locator& locator);
  //! A record field or computed name shown in the list buffer field `listField`; 0 =
  //! the next column in list order (then fields after the list's own columns).
  void addField(std::string name, int listField = 0);
  void addToolbarTarget(ToolbarClass& toolbar);

  //! Makes sort order `order` (1-based) the one in force; true when it changed (or
  //! `force`): the locator forgets its text and the list goes to its first page.
  virtual bool setSort(int order, bool force = false);
  int currentSort() const { return currentOrder_; }
  //! Orders by an order text in place of the current order (header sorting).
  void replaceSort(std::string_view orderText, Locator* locator = nullptr);
  //! Back to the current sort order after replaceSort.
  void restoreSort();
  //! Whether an order text from replaceSort stands in for the current sort order.
  bool isSortReplaced() const { return replaced_; }
  //! The current order's locator searches the field that now leads the order.
  void setLocatorFromSort();
  Locator* locator() const;

  //! The view's order was just set: the current sort order (at the first load, by setSort
  //! or restoreSort) or one from replaceSort. The list loads its first page right after,
  //! so an override may still adjust the view's order but should not load rows itself.
  virtual void orderApplied() {}
  //! Fills a list-buffer row from a view row (whose values are in the record buffers
  //! while this runs). The base copies the added fields; overrides add icons
  //! (setIcon) and computed columns, calling the base first.
  virtual void setQueueRecord(ListRow& row, const data::ViewRow& source);
  //! Loads a page: the first, the last, or the one after/before the loaded rows.
  //! 0 or the view's error code.
  virtual int fetch(FetchDirection direction);
  //! After a form: on completion the list reloads and shows the saved row (a deleted
  //! row's place goes to the next one); otherwise it reloads where it stands.
  virtual void resetFromAsk(int request, int response);
  //! Reloads the loaded page from the database, keeping the selected row and line.
  virtual void resetQueue();
  //! Shows the list buffer in the list control.
  void updateWindow() override;
  //! Calls the form with `request` for the selected row (insert: a primed record) and
  //! handles the outcome, following record navigation (VCRREQUEST) from the form.
  virtual void ask(int request);
  //! Rows in the list buffer.
  int records() const { return queue_ ? queue_->size() : 0; }

  // --- positioning ------------------------------------------------------------------
  //! The selected row, 1-based; 0 when the list is empty.
  int selected() const { return selected_; }
  const ListRow* selectedRow() const;
  //! Rows the list shows at once (and so loads); at least 1.
  void setPageSize(int rows) { pageSize_ = rows < 1 ? 1 : rows; }
  int pageSize() const { return pageSize_; }
  //! The first row whose leading order value is at least `text`.
  bool locate(std::string_view text);
  //! The next row whose `field` starts with `character` (after the selected row when it
  //! starts with it too), else the first such row.
  bool locateStep(std::string_view field, std::string_view character);
  //! Limits the view to rows whose `field` starts with (or holds) `text`; "" lifts it.
  void filterBy(std::string_view field, std::string_view text, bool contains);
  //! Moves the selection one row down/up, loading the next row when needed.
  bool scrollDown();
  bool scrollUp();
  void pageDown();
  void pageUp();
  //! The row for a record-navigation request; false when there is no such row.
  bool move(int vcrRequest);

  //! Sets the icon number of list column `column` (1-based, in list order) in a row.
  //! A column without an icon ('I' or 'J'), or one the list doesn't have, is left alone.
  //! The list's format is read when its window opens, so this is for setQueueRecord.
  void setIcon(ListRow& row, int column, int icon) const;
  //! Empties the text of a row's column (from 1), for a column that shows only its icon.
  void hideText(ListRow& row, int column) const;
  //! Replaces the text of a row's column (from 1) with one laid out for reading (an
  //! account number in groups); the picture still applies to it.
  void setText(ListRow& row, int column, std::string text) const;
  //! Sets the four colours of a '*' column: text, background, selected text and background
  //! (rt::kNoColor = the list's own). Other columns are left alone.
  void setColours(ListRow& row, int column, long text, long back, long selectedText, long selectedBack) const;

  rt::Window* window() const { return window_ ? window_->window() : nullptr; }
  WindowManager* windowManager() const { return window_; }
  data::ViewManager* view() const { return view_; }
  const std::string& listControl() const { return listControl_; }

  // --- buttons a procedure connects in its init ("" = not connected) -----------------
  std::string selectControl;
  std::string insertControl;
  std::string changeControl;
  std::string deleteControl;
  //! The number run(number, request) passes to the window manager for this list's form.
  int updateNumber = 1;

  // --- WindowComponent / ToolbarTarget -----------------------------------------------
  int takeEvent(const rt::Event& e) override;
  void opened() override;
  void setAlerts() override;
  void reset(bool force) override;
  void kill() override {}
  bool canPerform(ToolbarAction action) const override;
  void perform(ToolbarAction action) override;
  bool hasFocus() const override;

 private:
  struct FieldBinding {
    std::string name;
    int listField;
  };
  void prepareFormat();
  void connectButtons();
  void ensureLoaded();
  void applyOrder();
  const rt::ListColumn* formatColumn(int column) const;
  void showRows(std::vector<data::ViewRow>&& rows, int selected);
  int fillAround(const std::string& position, int line);
  std::optional<std::string> positionOfRecord();
  //! After a change: the selected row made again from the written buffer, where the form's
  //! write was the only change of the table and the row keeps its place. False otherwise.
  bool refreshFromBuffer();
  // Set while a form's outcome is shown, when the buffer is the row written: the writes to
  // the list's table during the form that its window did not make itself (the form's
  // write, and whatever else wrote meanwhile).
  std::optional<unsigned long long> writesOfForm_;
  //! The position of the first row (in the view's order, after the row at `after` when
  //! given) whose `field` starts with `text` in lower or upper case; nullopt for none.
  std::optional<std::string> firstStartingWith(std::string_view field, std::string_view text,
                                               const std::string* after);
  void takeSelect();
  bool isUsable(const std::string& control) const;
  bool failed(int rc);
  int listFieldOf(std::size_t bindingIndex) const;
  std::string formatted(const ListRow& row, int field) const;

  WindowManager* window_ = nullptr;
  data::ViewManager* view_ = nullptr;
  ListQueue* queue_ = nullptr;
  data::RelationManager* relation_ = nullptr;
  std::string listControl_;
  rt::ListFormat format_;
  bool formatRead_ = false;
  std::vector<FieldBinding> fields_;
  std::vector<SortOrder> orders_;
  int currentOrder_ = 0;
  bool replaced_ = false;
  Locator* replacedLocator_ = nullptr;
  bool loaded_ = false;
  int selected_ = 0;
  int pageSize_ = 20;
};

//! Writes the four colours of a cell into a row from the list-buffer field `colourField`
//! on (a '*' column's rt::ListColumn::colourField): text, background, selected text,
//! selected background. For code that keeps colour fields itself; lists use setColours.
void setCellColours(ListRow& row, int colourField, long text, long back, long selectedText, long selectedBack);

}  // namespace slownik::fw
