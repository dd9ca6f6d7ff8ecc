#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/data/view_manager.h"
#include "framework/runtime/event.h"
#include "framework/runtime/picture.h"
#include "framework/runtime/window.h"
#include "framework/sql/table_def.h"

namespace slownik::engine {

//! Sorts a browse list by its column headers. A click sorts by the column (a second click
//! on the same column turns the direction round), Ctrl+click adds the column to the sort
//! or turns its direction, Shift+click returns to the browse's own order. The sorter
//! turns the clicked columns into an order text ("+UPPER(NAZWA),-KOD,+ID"), hands it to
//! the browse through the sort callback and marks the headers: "Nazwa[+]", or
//! "Nazwa[-1]" and "Kod[+2]" when several columns sort. Without a view it sorts the list
//! buffer itself.
//!
//! Threading: lives on the browse's procedure thread and is fed that window's events.
class HeaderSorter {
 public:
  //! The browse's list buffer as the sorter needs it. Rows and fields count from 1.
  class ListBuffer {
   public:
    virtual ~ListBuffer() = default;
    //! The name of a field ("NAZWA", "BAN:NAZWA"), "" for one that has none.
    virtual std::string fieldName(int field) const = 0;
    virtual int fieldCount() const = 0;
    virtual int rowCount() const = 0;
    //! A field's stored value as text (numbers as "12.50", dates as day numbers).
    virtual std::string value(int row, int field) const = 0;
    //! Puts the rows in a new order: the row now at position i+1 is the one that was at
    //! `rows[i]`. The buffer shows the new order in its list.
    virtual void reorder(const std::vector<int>& rows) = 0;
  };

  //! Receives the order text; "" asks for the browse's own order back.
  using SortCallback = std::function<void(const std::string& orderText)>;

  HeaderSorter() = default;
  HeaderSorter(const HeaderSorter&) = delete;
  HeaderSorter& operator=(const HeaderSorter&) = delete;
  ~HeaderSorter();

  //! Starts on the list `listControl` of `window`: reads every column's header and field
  //! from the list's format, reserves the left button on the list and creates the press
  //! marker. `defaultKey` (the main table's unique key; may be null) completes every
  //! order; `view` may be null, and then the list buffer is sorted instead. The buffer
  //! and view must outlive the sorter or its stop(). False when the list is missing.
  bool start(std::shared_ptr<rt::Window> window, ListBuffer& buffer, std::string listControl,
             const sql::KeyDef* defaultKey, data::ViewManager* view);
  void setSortCallback(SortCallback callback) { callback_ = std::move(callback); }

  //! Whether text columns are compared through UPPER(). On by default: SQLite compares
  //! text by its bytes and PostgreSQL by its collation, and neither ignores case, so
  //! without UPPER() "kowalska" would sort after "Zieliński". A browse whose database
  //! already compares text ignoring case may switch it off.
  void setUpperCase(bool on) { upperCase_ = on; }
  bool upperCase() const { return upperCase_; }

  //! The browse's field-event hook, called before anything else sees the event; true
  //! when the event was a header click the sorter took.
  bool takeEvent(const rt::Event& e);
  //! Reserves Shift+left click and Ctrl+left click on the window; called after the browse
  //! reserved its own keys.
  void setAlerts();
  //! The browse's own order changed: every header gets its own text back and the sort is
  //! forgotten. Ignored while the sorter's own sort callback runs, since replacing the
  //! browse's order with the sorter's is not a change of the browse's own order.
  void reset();
  //! Gives the headers back, releases the reserved keys and destroys the press marker.
  void stop();

  bool isStarted() const { return window_ != nullptr; }
  //! The order text of the current header sort, "" when the browse's own order holds.
  std::string orderText() const;
  //! Whether the column (1-based) can be sorted: its field has a name the view knows.
  bool isSortable(int column) const;
  //! The name of the press marker control of a list.
  static std::string markerName(const std::string& listControl) { return listControl + ":SORTMARKER"; }

 private:
  struct Column {
    std::string header;
    int field = 0;
    std::string name;  // the list-buffer field's name, "" when it can't be sorted
    rt::Picture::Kind kind = rt::Picture::Kind::String;
  };
  struct SortColumn {
    int column;      // 1-based
    bool descending;
  };

  void press(const rt::Event& e);
  void release(const rt::Event& e);
  void applyClick(int column, int kind);
  void markHeaders();
  void restoreHeaders();
  void sortBuffer();
  void clearSort();
  bool isText(const Column& c) const;
  const Column* columnAt(int column) const;

  std::shared_ptr<rt::Window> window_;
  ListBuffer* buffer_ = nullptr;
  data::ViewManager* view_ = nullptr;
  std::string list_;
  std::vector<sql::KeyComponent> defaultKey_;
  std::vector<Column> columns_;
  std::vector<SortColumn> sort_;
  int lastSingle_ = 0;     // signed column of the last single-column sort, 0 = none
  int pressedColumn_ = 0;  // column under a pressed button, 0 = none
  int clickKind_ = 0;
  bool upperCase_ = true;
  bool inCallback_ = false;
  SortCallback callback_;
};

}  // namespace slownik::engine
