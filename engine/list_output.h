#pragma once
// What every list offers to take its rows out of the program: a spreadsheet
// ("Eksport do Excela"), a print ("Drukuj", Ctrl+P) and the clipboard (Ctrl+C). Each
// takes the columns the list shows, with their headers and pictures; the spreadsheet and
// the print take every row the list's limits and filter let in, not only the loaded page.
//
// Any list control gets all three by keeping a ListOutputs next to its list manager and
// attaching it once the list is initialised:
//
//   rates_.init("?LIST1", rateView_, rateQueue_, relation, *this);
//   rateOutputs_.attach();    // popup, Ctrl+C and Ctrl+P of ?LIST1
//
// A list window with a popup of its own adds the items to it (addItems) and hands the
// choice back (takeChoice) instead.
#include <functional>
#include <string>
#include <string_view>

#include "framework/classes/browse_class.h"
#include "framework/classes/popup_class.h"
#include "framework/classes/window_manager.h"
#include "framework/services/excel_export.h"

namespace slownik::svc {
class ProgressWindow;
}

namespace slownik::engine {

class ListWindow;

//! The columns the list shows (those with a width), with their headers, pictures and widths.
svc::ExportList shownColumns(fw::BrowseClass& list);
//! Every row of the list's view as the list shows it. With `progress`, a list longer than
//! one read opens the window (its "Anuluj" stops the reading: `cancelled` becomes true and
//! the rows read so far are returned). The rows pass through the record buffers: the
//! caller reloads the list afterwards.
svc::ExportList exportedRows(fw::BrowseClass& list, svc::ProgressWindow* progress = nullptr, bool* cancelled = nullptr);
//! The selected rows as the list shows them, in list order (the list's columns, no rows
//! when none is selected).
svc::ExportList selectedRows(fw::BrowseClass& list);
//! In words, what limits the list's rows now (the filter locator's text, the header
//! sort's order aside); "" when nothing does.
std::string filterDescription(fw::BrowseClass& list);

//! The popup items' names.
inline constexpr const char* kExportItem = "EksportDoExcela";
inline constexpr const char* kPrintItem = "Drukuj";
//! "Eksport do Excela" (when `spreadsheet`) and "Drukuj" at the end of a popup.
void addOutputItems(fw::PopupClass& popup, bool spreadsheet);

//! How a list's refusals are shown (the shared warning message when not given).
using OutputWarning = std::function<void(std::string_view)>;

//! Asks for a file and writes the list into it, behind a progress window with "Anuluj"
//! for a long list; opens the file when written. false when cancelled or failed (told).
bool exportListToSpreadsheet(fw::BrowseClass& list, const OutputWarning& warn = {});
//! The list in a print preview, from which it goes to a printer or to a PDF file; the
//! header names the window the list is in.
bool printList(fw::BrowseClass& list, const OutputWarning& warn = {});
//! The selected rows, with the column headers, on the clipboard as tab-separated text.
bool copySelectedRows(fw::BrowseClass& list);

//! The same for a dictionary's list window (its main list, its warning style).
bool exportListToSpreadsheet(ListWindow& list);
bool printList(ListWindow& list);
bool copySelectedRows(ListWindow& list);

//! Export, print and copy for one list control of a window: the list's popup (its own
//! buttons' items, then "Eksport do Excela" and "Drukuj"), Ctrl+C and Ctrl+P while the
//! list has the focus. Lives as long as the list manager it serves.
class ListOutputs : public fw::WindowComponent {
 public:
  explicit ListOutputs(fw::BrowseClass& list) : list_(list) {}

  //! Registers with the list's window manager (the list is initialised); once.
  void attach();
  //! Whether the list's rows may leave the program as a spreadsheet (on by default).
  bool spreadsheet = true;
  //! Whether this component opens the list's popup on a right click (off when the window
  //! shows a popup of its own and calls addItems).
  bool ownPopup = true;
  OutputWarning warn;

  //! "Eksport do Excela" and "Drukuj" at the end of a popup.
  void addItems(fw::PopupClass& popup) const;
  //! Runs the chosen item; false for an item that is not one of ours.
  bool takeChoice(const std::string& item);
  //! The list's popup: its buttons (Dodaj, Popraw, Usuń, Wybierz), export and print.
  //! true when something was chosen.
  bool showPopup();

  int takeEvent(const rt::Event& e) override;
  void setAlerts() override;

 private:
  fw::BrowseClass& list_;
  bool attached_ = false;
};

}  // namespace slownik::engine
