#pragma once
// The record form every dictionary edits a row in: titles by request, the history key,
// priming and defaults, checks before the save with the focus back on the field, pickers
// called with the select request, view mode, delete, record navigation, the keyboard
// navigator, the focus highlighter and help. A dictionary states what is its own in a
// FormDescriptor and overrides the checks.
//
// A minimal dictionary form (provinces):
//
//   class ProvinceForm : public engine::RecordForm {
//    public:
//     ProvinceForm() : RecordForm(descriptor()) {}
//     static engine::FormDescriptor descriptor() {
//       engine::FormDescriptor d;
//       d.module = 52;                       // "slownik$slown052"
//       d.procedure = "Wojewodztwo_Upd";
//       d.table = "WOJEWODZTWO";
//       d.titles = {"Dodawanie województwa", "Edycja województwa", "Podgląd województwa"};
//       d.history = {{"?WOJ:WOJEWODZTWO", 2}};
//       d.firstField = "?WOJ:WOJEWODZTWO";
//       return d;
//     }
//     bool checkBeforeSave() override {          // false keeps the form open
//       if (trimmed(text("WOJ:WOJEWODZTWO")).empty()) {
//         warn("Nazwa województwa musi być wypełniona!");
//         return false;
//       }
//       return true;
//     }
//   };
//   void WojewodztwoUpd() { ProvinceForm form; form.run(); }
//
// The caller puts the row in the table's record buffer (change, delete, view) and the
// request in GLOBALREQUEST; the form answers in GLOBALRESPONSE: 1 written, 2 cancelled.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/focus_highlighter.h"
#include "engine/keyboard_navigator.h"
#include "engine/list_window.h"
#include "framework/data/file_manager.h"
#include "engine/window_frame.h"
#include "framework/classes/theme_classes.h"
#include "framework/classes/toolbar_class.h"
#include "framework/classes/toolbar_update_class.h"
#include "framework/classes/window_manager.h"
#include "framework/data/error_handler.h"
#include "framework/data/id_reservation.h"
#include "framework/data/relation_manager.h"
#include "framework/data/requests.h"
#include "framework/services/help_viewer.h"

namespace slownik::engine {

//! The form's title per request; the delete request keeps the resource's caption.
struct FormTitles {
  std::string insert;              //!< "Dodawanie kraju"
  std::string change;              //!< "Edycja kraju"
  std::string view = "View Record";
};

//! A control whose field the history key recalls: `field` of the last saved record (1-based).
struct HistoryPair {
  std::string control;
  int field = 0;
};

//! Everything a dictionary's form states about itself.
struct FormDescriptor {
  int module = 0;                 //!< window resource "slownik$slownNNN"
  std::string procedure;          //!< "Kraj_Upd": name at the error handler, settings section
  std::string table;              //!< the table written, by name or prefix
  //! Further tables the form reads (pickers' tables); opened and closed with the form.
  std::vector<std::string> lookupTables;
  FormTitles titles;
  std::vector<HistoryPair> history;
  //! The right to edit on change ("EWaluty"; "" = none): without it the form only shows.
  std::string editRight;
  //! Controls disabled without the edit right besides the bound fields and ?OK (lookups).
  std::vector<std::string> lockedControls;
  std::string helpPage;           //!< "" = the help file without a page
  //! The control focused after a failed save check ("" = the first bound control).
  std::string firstField;
  WarningStyle warning = WarningStyle::Box;
  //! Child lists of the form may write rows before the form is saved (a new office's
  //! accounts): a new record's id is reserved at opening and the row is inserted with it;
  //! cancelling removes the child rows written under it.
  bool childRowsBeforeSave = false;
  //! The table's name for the record locks ("banki"; "" = rows not locked). The list
  //! takes the lock before a change; the database refuses the write when the lock was
  //! cleared or taken over meanwhile, and the form then names who holds it now.
  std::string lockTable;
};

//! A dictionary's record form. One per call, on the calling procedure's thread.
class RecordForm : public fw::WindowManager {
 public:
  explicit RecordForm(FormDescriptor descriptor);
  ~RecordForm() override;

  // --- the framework's hooks (a dictionary calls these when it overrides them) --------
  //! The opening sequence; 0, or the response the procedure ends with.
  int init() override;
  //! Titles the window by request, then runs the event loop.
  void ask() override;
  int kill() override;
  //! Keyboard navigator and focus highlighter first, Alt alone → F10 on the first thread.
  int takeEvent(const rt::Event& e) override;
  int takeWindowEvent(const rt::Event& e) override;
  //! checkField, the save check on ?OK (focus on firstField when it fails), the
  //! framework, then afterAccepted.
  int takeAccepted(const rt::Event& e) override;
  //! Writes the row; a change finds it by the key it was read with, so a changed key
  //! field saves. View only closes.
  int takeCompleted() override;
  //! A row changed or deleted by another user meanwhile is told in Polish (a changed one
  //! may be read again); a duplicate refused by the database runs the save check again,
  //! which now meets the other row and says so in the form's own words.
  int writeFailed(int code) override;
  //! The close box cancels, as Esc does. A close another window of the program asks
  //! for (the event names the asking thread: making way for a change of company) asks
  //! first when the form has unsaved changes: "Tak" saves (a failed check keeps the form
  //! open), "Nie" gives them up, "Anuluj" keeps the form open.
  int takeCloseEvent(const rt::Event& e) override;
  //! Whether the fields differ from what the form showed when it opened (never in a
  //! form that only shows or deletes).
  bool hasUnsavedChanges();
  using fw::WindowManager::run;
  //! Calls picker `number` with the select request; 2 without calling it in view mode.
  int run(int number, int request) override;

  // --- hooks of a dictionary ------------------------------------------------------------
  //! Request-dependent preparation after the window opened (insert defaults go in
  //! primeFields; this is for enabling rules and the like).
  virtual void prepare() {}
  //! A control was accepted, before the framework sees it; non-zero stops the event
  //! (the check has told the user and focused the field).
  virtual int checkField(const rt::Event& /*e*/) { return fw::kLevelBenign; }
  //! The check before the row is written; false keeps the form open, nothing written.
  virtual bool checkBeforeSave() { return true; }
  //! A control was accepted, after the framework took its value (lookups).
  virtual int afterAccepted(const rt::Event& /*e*/) { return fw::kLevelBenign; }
  //! After the row was written (insert, change or delete).
  virtual void afterSave() {}

  // --- what a dictionary works with ---------------------------------------------------
  const FormDescriptor& descriptor() const { return descriptor_; }
  const sql::TableDef& table() const { return *table_; }
  //! A field of the form's record ("KRA:NAZWA") as text.
  std::string text(std::string_view field) const;
  //! The field's value when the form opened ("" on insert).
  std::string savedValue(std::string_view field) const;
  //! Registers picker `number`: a procedure that reads GLOBALREQUEST (4) and leaves its
  //! answer in GLOBALRESPONSE, the chosen row in its table's record buffer.
  void addPicker(int number, std::function<void()> picker);
  //! Runs picker `number` through run(); its answer (1 chosen, 2 cancelled).
  int pick(int number);
  //! Whether the form only shows the row (view request, or change without the edit right).
  bool isReadOnly() const { return readOnly_; }
  //! Focuses a control (after a failed check).
  void focus(std::string_view control);
  //! Shows a warning in the form's style.
  void warn(std::string_view text) const;
  svc::HelpViewer& help() { return frame_.help(); }

 private:
  void lockControls();
  //! Reads the row again by the key it was opened with and shows it.
  void reloadAsStored();
  double idAsRead() const;
  //! A change of a locked record is written only while this chain holds the lock.
  void requireHeldLock(data::FileManager& file) const;
  //! The write was refused because the record's lock is no longer this form's: says so,
  //! naming who holds it now.
  void tellLostLock();
  //! Reserves a new record's id and puts it in the record (childRowsBeforeSave).
  bool reserveId();
  void abandonReservation();

  FormDescriptor descriptor_;
  const sql::TableDef* table_ = nullptr;
  std::vector<data::RelationManager*> relations_;
  std::map<int, std::function<void()>> pickers_;
  fw::ToolbarClass toolbar_;
  fw::ToolbarUpdateClass vcr_;
  WindowFrame frame_;
  KeyboardNavigator navigator_;
  bool filesOpened_ = false;
  bool readOnly_ = false;
  data::ErrorHandler* errorsOfWrite_ = nullptr;  // the table's handler while a write runs
  std::unique_ptr<data::IdReservation> reservation_;  // a new record's id, until saved
  std::unique_ptr<data::RecordBuffer> asOpened_;      // the record once the form was ready
};

//! Opens the user's mail program on the address (trimmed); "Proszę wpisać adres e-mail!"
//! when there is none.
void openMail(std::string_view address);

//! Text without leading and trailing spaces (checks compare trimmed values).
std::string trimmed(std::string_view text);
//! Whether two texts are equal ignoring letter case, Polish letters included.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace slownik::engine
