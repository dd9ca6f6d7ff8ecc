#pragma once
// The list window (browse) every dictionary is shown in: opening, the buttons and keys,
// calling the record form with its rights checks, picking, and closing with the window's
// position stored. A dictionary states what is its own in a ListDescriptor and overrides
// the few hooks it needs; everything else is here, once.
//
// A minimal dictionary (countries; its form is another procedure of the dictionary):
//
//   extern "C" void KRAJ_BRW() {
//     engine::ListDescriptor d;
//     d.module = 3;                          // "slownik$slown003"
//     d.procedure = "Kraj_Brw";
//     d.table = "KRAJE";
//     d.sortOrders = {{"KRA:AK_KRAJE_NAZWA_KRAJE", engine::LocatorKind::Incremental,
//                      "KRA:NAZWA", "?LOKATOR"}};
//     d.columns = {"KRA:SYM_KRAJU", "KRA:NAZWA"};
//     d.headerSorter = true;
//     d.form = [] { KrajUpd(); };            // reads GLOBALREQUEST, leaves GLOBALRESPONSE
//     engine::ListWindow list(std::move(d));
//     list.run();                            // GLOBALRESPONSE holds the answer
//   }
//
// A dictionary with buttons of its own derives from ListWindow and overrides
// takeAccepted (calling ListWindow::takeAccepted for the rest), setQueueRecord for icons
// and computed columns, closeActions for what closing must do after a change.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/focus_highlighter.h"
#include "engine/header_sorter.h"
#include "engine/window_frame.h"
#include "framework/classes/browse_class.h"
#include "framework/classes/list_queue.h"
#include "framework/classes/locators.h"
#include "framework/classes/popup_class.h"
#include "framework/classes/theme_classes.h"
#include "framework/classes/toolbar_class.h"
#include "framework/classes/window_manager.h"
#include "framework/classes/window_resize_class.h"
#include "framework/data/relation_manager.h"
#include "framework/data/requests.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/list_format.h"
#include "framework/services/help_viewer.h"

namespace slownik::engine {

//! How a sort order finds rows by typing.
enum class LocatorKind {
  None,         //!< no locator
  Step,         //!< a typed character jumps to the next row starting with it (no entry)
  Incremental,  //!< the text typed so far, in the locator entry, positions the list
  Entry,        //!< the list moves when the locator entry is completed
  Filter,       //!< the list shows only rows starting with the entry's text
};

//! One sort order of a list, with its locator.
struct SortOrderDef {
  std::string key;             //!< key name ("KRA:PK_KRAJE") or order text ("+NAZWA,+ID")
  LocatorKind locator = LocatorKind::None;
  std::string locatorField;    //!< the field the locator searches ("KRA:NAZWA")
  std::string locatorControl;  //!< its entry ("?LOKATOR"); "" for a step locator
};

//! How refusals and warnings of a list are shown.
enum class WarningStyle {
  Box,      //!< the plain box "TRAMEL: Ostrzeżenie" (svc::warningBox)
  Message,  //!< the shared warning message (svc::MSG_OSTRZEZENIE)
};

//! Everything a dictionary's list states about itself.
struct ListDescriptor {
  int module = 0;              //!< window resource "slownik$slownNNN"
  std::string procedure;       //!< "VAT_Brw": name at the error handler, settings section
  std::string table;           //!< main table, by name or prefix ("VAT")
  std::string windowKey;       //!< key told to SKASUJOKNO at closing ("" = none)
  std::string helpPage;        //!< "kar_towpom_VAT.htm" ("" = the help file without a page)

  std::string right;           //!< the window's right ("" = none checked)
  std::string rightMessage;    //!< shown when it is missing; the window does not open
  //! How rightMessage is shown when not as the list's other refusals (`warning`).
  std::optional<WarningStyle> rightWarning;
  std::string insertRight;     //!< checked before insert ("DTypyKontr"; "" = none)
  std::string insertRightMessage;
  std::string viewRight;       //!< checked before change ("OWaluty"; "" = none)
  std::string viewRightMessage;
  std::string deleteRight;     //!< checked before delete ("UWaluty"; "" = none)
  std::string deleteRightMessage;
  WarningStyle warning = WarningStyle::Box;

  int minWidth = 230;          //!< minimum size in dialog units (0 = the resource's)
  int minHeight = 130;

  //! The sort orders with their locators; the last one is in force at opening.
  std::vector<SortOrderDef> sortOrders;
  //! Limits the view to the current company (GLO:ID_FIRMY), e.g. "BAN:ID_FIRMY".
  std::string companyField;
  //! Record fields (or computed names) bound to the list-buffer fields in list order;
  //! fields after the list's own columns are carried without being shown (ids).
  std::vector<std::string> columns;
  //! Sort by column headers.
  bool headerSorter = false;
  //! Window name under which the sort order is kept as "sortowanie" ("" = not kept).
  std::string parameterWindow;
  //! Name under which the user's column layout is kept, applied at opening and stored at
  //! closing, with "Konfiguracja kolumn" in the popup ("" = the resource's layout).
  std::string columnConfiguration;
  //! The right guarding "Konfiguracja kolumn" ("" = none) and its refusal.
  std::string columnRight;
  std::string columnRightMessage;
  //! "Eksport do Excela" in the popup: every row of the list into a spreadsheet. Every
  //! list offers it; a list whose rows must not leave the program turns it off.
  bool spreadsheetExport = true;

  //! Which of the standard buttons the list connects (when the window has them).
  bool insertButton = true;
  bool changeButton = true;
  bool deleteButton = true;
  bool selectButton = true;
  //! The record form: runs the form procedure, which reads GLOBALREQUEST and leaves its
  //! answer in GLOBALRESPONSE. Empty: the list calls no form.
  std::function<void()> form;
  //! Rows loaded at once (the visible page).
  int pageSize = 20;
};

//! Shows a warning in the chosen style.
void warn(WarningStyle style, std::string_view text);

//! The number (from 1) of the sort order named `name` in a drop list of `names`;
//! `fallback` for any other text.
int sortNumber(std::string_view name, const std::vector<std::string_view>& names, int fallback);

//! A dictionary's list window. One per procedure call, on the procedure's thread.
//! run() (from fw::WindowManager) opens it, runs it and closes it; the response ends
//! in GLOBALRESPONSE.
class ListWindow : public fw::WindowManager {
 public:
  explicit ListWindow(ListDescriptor descriptor);
  ~ListWindow() override;

  // --- the framework's hooks (a dictionary calls these when it overrides them) --------
  //! The opening sequence; 0, or the response the procedure ends with.
  int init() override;
  //! The closing sequence; non-zero when already closed.
  int kill() override;
  using fw::WindowManager::run;
  //! Calls the form with `request` after the view or delete right; answers its response
  //! (2 without the right, or when the list itself only views).
  int run(int number, int request) override;
  void setAlerts() override;
  //! Alt alone → F10 on the program's first thread; then the header sorter, the focus
  //! highlighter, the list's popup menu and the framework.
  int takeEvent(const rt::Event& e) override;
  //! The window regained focus (518) or was re-activated by the host (1025): the help
  //! page again, and the window made the active one.
  int takeWindowEvent(const rt::Event& e) override;

  // --- hooks of a dictionary ------------------------------------------------------------
  //! After the standard opening, before the event loop (extra controls, context words).
  //! Non-zero ends the procedure with that response.
  virtual int opened() { return 0; }
  //! Icons and computed columns of a row; the bound fields are already copied and the
  //! row's record is in the record buffers.
  virtual void setQueueRecord(fw::ListRow& row, const data::ViewRow& source);
  //! The view's order was just set: the list's own sort order (at opening, on a change of
  //! sort order, and when a Shift+click on a header gives it back) or one the column
  //! headers chose. The list loads its first page right after, so an override may still
  //! adjust the view's order (its direction, say) but should not load rows itself.
  virtual void orderApplied() {}
  //! Ranges of the view beyond companyField.
  virtual void setRanges(data::ViewManager& view);
  //! How the controls follow the window's size. The default: the list grows both ways,
  //! the heading image grows in width, button rows stay at the bottom.
  virtual void setResizeStrategies(fw::WindowResizeClass& resizer);
  //! What closing does because of changes made in the window (reload shared lists);
  //! runs right after the framework's closing.
  virtual void closeActions() {}
  //! The dictionary's own popup items, after the standard ones.
  virtual void addPopupItems(fw::PopupClass& popup);
  //! A dictionary popup item was chosen (standard items press their buttons).
  virtual void takePopupChoice(const std::string& item);

  // --- what a dictionary works with ---------------------------------------------------
  const ListDescriptor& descriptor() const { return descriptor_; }
  fw::BrowseClass& browse();
  data::ViewManager& view() { return *view_; }
  data::RelationManager* relation() const { return relation_; }
  const sql::TableDef& table() const { return *table_; }
  //! The list manager's setIcon and setColours, for setQueueRecord.
  void setIcon(fw::ListRow& row, int column, int icon) const;
  //! Empties a column's text where the column stands for its icon alone.
  void hideText(fw::ListRow& row, int column) const;
  //! A column's text laid out for reading (an account number in groups).
  void setText(fw::ListRow& row, int column, std::string text) const;
  void setColours(fw::ListRow& row, int column, long text, long back, long selectedText, long selectedBack) const;
  //! Reloads the list from the database, keeping the position.
  void reload();
  //! Whether the main table was opened (closing closes it only then).
  bool filesOpened() const { return filesOpened_; }
  HeaderSorter* headerSorter() { return sorter_.get(); }
  svc::HelpViewer& help() { return frame_.help(); }
  //! Shows a warning in the list's style.
  void warn(std::string_view text) const;
  //! Where the list format gives the columns of the sort orders the styles 1..`styles`
  //! (the orders' numbers): the column of `order` in bold, the others in the normal weight.
  void showSortColumn(int order, int styles);
  //! Puts sort order `order` in force as a drop list of named orders chooses it: the
  //! locator's text (typed for the old order) goes, the order's column turns bold (styles
  //! 1..`styles`), and the list reads its first page.
  void chooseNamedSort(int order, int styles);

 private:
  class Browse;
  class SortBuffer;
  void addSortOrders();
  void sortChanged();
  void sortByHeaders(const std::string& orderText);
  bool showPopup();
  // Whether `control` is a list of the window other than its main one (a list of its own
  // prints itself on Ctrl+P).
  bool isOtherList(const std::string& control) const;
  void readParameters();
  void writeParameters();

  ListDescriptor descriptor_;
  const sql::TableDef* table_ = nullptr;
  std::unique_ptr<data::ViewManager> view_;
  fw::ListQueue queue_;
  rt::ListFormat format_;  // the list's format, read when the window opened
  std::unique_ptr<Browse> browse_;
  std::vector<std::unique_ptr<fw::Locator>> locators_;
  std::unique_ptr<HeaderSorter> sorter_;
  std::unique_ptr<SortBuffer> sortBuffer_;
  fw::ToolbarClass toolbar_;
  fw::WindowResizeClass resizer_;
  WindowFrame frame_;
  data::RelationManager* relation_ = nullptr;
  bool filesOpened_ = false;
  int storedSort_ = 0;  // the sort order read from the window parameters, 0 = none
};

}  // namespace slownik::engine
