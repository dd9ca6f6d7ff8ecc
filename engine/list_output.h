#pragma once
// What every list offers to take its rows out of the program: a spreadsheet
// ("Eksport do Excela"), a print ("Drukuj", Ctrl+P) and the clipboard (Ctrl+C). Each
// takes the columns the list shows, with their headers and pictures; the spreadsheet and
// the print take every row the list's limits and filter let in, not only the loaded page.
#include <string>

#include "framework/services/excel_export.h"

namespace slownik::svc {
class ProgressWindow;
}

namespace slownik::engine {

class ListWindow;

//! The columns the list shows (those with a width), with their headers, pictures and widths.
svc::ExportList shownColumns(ListWindow& list);
//! Every row of the list's view as the list shows it. With `progress`, a list longer than
//! one read opens the window (its "Anuluj" stops the reading: `cancelled` becomes true and
//! the rows read so far are returned).
svc::ExportList exportedRows(ListWindow& list, svc::ProgressWindow* progress = nullptr, bool* cancelled = nullptr);
//! The selected row as the list shows it (the list's columns, no rows when none is selected).
svc::ExportList selectedRows(ListWindow& list);
//! In words, what limits the list's rows now (the filter locator's text, the header
//! sort's order aside); "" when nothing does.
std::string filterDescription(ListWindow& list);

//! Asks for a file and writes the list into it, behind a progress window with "Anuluj"
//! for a long list; opens the file when written. false when cancelled or failed (told).
bool exportListToSpreadsheet(ListWindow& list);
//! The list in a print preview, from which it goes to a printer or to a PDF file.
bool printList(ListWindow& list);
//! The selected row, with the column headers, on the clipboard as tab-separated text.
bool copySelectedRows(ListWindow& list);

}  // namespace slownik::engine
