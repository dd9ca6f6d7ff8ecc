#pragma once
// A list as it leaves the program other than through a spreadsheet: a printable table
// (the front-end shows it in a print preview, from which it goes to a printer or a PDF
// file) and tab-separated text for the clipboard. Built here, without the front-end, so
// that what is printed and copied can be checked headless.
#include <string>
#include <vector>

#include "framework/services/excel_export.h"

namespace slownik::svc {

//! What stands above a printed list.
struct PrintHeader {
  std::string company;  //!< the company's name
  std::string title;    //!< the list's name (its window's title)
  std::string date;     //!< the day printed, "dd.mm.rrrr"
  std::string filter;   //!< what limits the rows, in words ("" = none)
};

//! The printed list as an HTML document the front-end can lay out: a header with the
//! company, the list's name, the date and the filter, then one table with the column
//! headers repeated on every page and the rows as the list shows them. Column widths
//! follow the list's widths; columns with a numeric picture are right-aligned. Every
//! text is escaped, so a name with "<" or "&" prints as it is.
std::string printedListHtml(const PrintHeader& header, const ExportList& list);

//! The rows as tab-separated text with a header line, one line per row ("\n" between
//! lines). Tabs and line breaks inside a value become spaces, so a value never spills
//! into the next cell or row when pasted.
std::string tabSeparatedList(const ExportList& list);

//! The escaped text for HTML ("<" → "&lt;", …).
std::string htmlEscaped(const std::string& text);

}  // namespace slownik::svc
