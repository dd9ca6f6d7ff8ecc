#pragma once
// A list of the rows that belong to one record, shown inside that record's window (the
// periods of an interest table in its form, a company's addresses, an employee's
// accounts): the rows of the child table whose owner field holds the owner's id, with
// buttons of their own for insert, change and delete that call the child's form.
//
// The owner window creates it, starts it once its window is open and hands it the form
// calls its list makes:
//
//   engine::ChildListDescriptor d;
//   d.list = "?LIST";
//   d.table = "ODSETKI";
//   d.ownerField = "ODS:ID_TABELI_ODSETEK";
//   d.sortOrder = {"ODS:PK_ODSETKI", engine::LocatorKind::Step, "ODS:OD_DNIA", ""};
//   d.columns = {"ODS:OD_DNIA", "ODS:DO_DNIA", "ODS:STOPA", "ODS:ZA_OKRES"};
//   d.insertControl = "?INSERT"; d.changeControl = "?CHANGE"; d.deleteControl = "?DELETE";
//   d.formNumber = 2;
//   d.form = [] { OdsetkiUpd(); };          // reads GLOBALREQUEST, leaves GLOBALRESPONSE
//   periods_ = std::make_unique<engine::ChildList>(std::move(d));
//   periods_->start(*this, ownerId, editable);    // in the owner's prepare()
//
//   int run(int number, int request) override {   // the owner's form calls
//     if (periods_ && periods_->handles(number)) return periods_->callForm(request);
//     return RecordForm::run(number, request);
//   }
//
// Like every list, it offers "Eksport do Excela" and "Drukuj" in its popup, Ctrl+C and
// Ctrl+P.
//
// An insert primes the child's record with the owner's id (the list's range), so the
// child form only fills in its own fields.

#include <functional>
#include <string>
#include <vector>

#include "engine/list_output.h"
#include "engine/list_window.h"
#include "framework/classes/browse_class.h"
#include "framework/classes/list_queue.h"
#include "framework/classes/locators.h"
#include "framework/data/record_buffer.h"
#include "framework/data/view_manager.h"

namespace slownik::engine {

//! Everything a child list states about itself.
struct ChildListDescriptor {
  std::string list = "?LIST";        //!< the list control in the owner's window
  std::string table;                 //!< the child table, by name or prefix ("ODSETKI")
  std::string ownerField;            //!< the child's field holding the owner's id ("ODS:ID_TABELI_ODSETEK")
  SortOrderDef sortOrder;            //!< the list's order with its locator
  std::vector<std::string> columns;  //!< record fields bound to the list-buffer fields in list order
  //! The list's own buttons ("" = not connected). Ins, F2 and Del in the list press them.
  std::string insertControl;
  std::string changeControl;
  std::string deleteControl;
  //! The number the list's form calls carry through the owner's run(number, request);
  //! pick one the owner uses for nothing else.
  int formNumber = 2;
  //! The child's form: reads GLOBALREQUEST, leaves its answer in GLOBALRESPONSE.
  std::function<void()> form;
  //! Before the form, with the row (or the primed record) in the child's record buffer;
  //! false cancels the call (the hook has told the user why). Rights checks go here.
  std::function<bool(int request)> beforeForm;
  //! After the form, with its answer and the child's record as it was before the form
  //! (for a delete, the row that is gone). The list reloads right after.
  std::function<void(int request, int response, const data::RecordBuffer& before)> afterForm;
  int pageSize = 10;
};

//! The list of an owner's child rows inside the owner's window. Lives as long as the
//! owner's window manager and is used on its procedure thread only.
class ChildList : public fw::BrowseClass {
 public:
  explicit ChildList(ChildListDescriptor descriptor);
  ~ChildList() override;

  //! Connects the list to `owner` (whose window is open) and shows the rows of
  //! `ownerId`. Without `editable` the buttons stay disconnected and, with the list,
  //! disabled. 0, or the view's error (told to the user; the list stays empty).
  int start(fw::WindowManager& owner, double ownerId, bool editable);
  //! Shows the rows of another owner (the owner's id changed when it was written).
  void setOwner(double ownerId);
  double ownerId() const { return ownerId_; }
  bool isEditable() const { return editable_; }

  //! Whether a run(number, request) of the owner is this list's form call.
  bool handles(int number) const { return number == descriptor_.formNumber; }
  //! Runs the child's form for `request` (beforeForm, the form, afterForm); its answer.
  int callForm(int request);

  const ChildListDescriptor& descriptor() const { return descriptor_; }
  const sql::TableDef& table() const { return *table_; }

  void kill() override;

 private:
  ChildListDescriptor descriptor_;
  const sql::TableDef* table_ = nullptr;
  data::RelationManager* relation_ = nullptr;
  std::unique_ptr<data::ViewManager> view_;
  fw::ListQueue queue_;
  std::unique_ptr<fw::Locator> locator_;
  ListOutputs outputs_{*this};
  double ownerId_ = 0;
  bool editable_ = false;
  bool opened_ = false;
};

}  // namespace slownik::engine
