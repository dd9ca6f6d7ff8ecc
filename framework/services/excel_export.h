#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace slownik::svc {

//! One column of an exported list: its header, its picture ("@s30", "@n-9.2",
//! "@d17", …) and its width in the list's units.
struct ExportColumn {
  std::string header;
  std::string picture;
  int width = 0;
};

//! A list as the user sees it: columns and rows of displayed text (UTF-8).
struct ExportList {
  std::vector<ExportColumn> columns;
  std::vector<std::vector<std::string>> rows;
};

//! Writes the list into a new spreadsheet (.xlsx) at path: a bold header row kept
//! in view, then one row per list row. Columns with a numeric picture ("@n…") hold
//! numbers with the picture's decimal places, read from the displayed text (blanks
//! as group separators, "," or "." as the decimal point, a sign before or after);
//! a cell that is no number stays text. sheetName defaults to "Eksport".
//! Returns the path written, or "" on failure with the reason in the runtime
//! error state. Never throws.
std::string EXPORTBROWSERTOEXCEL(const ExportList& list, std::string_view path, std::string_view sheetName = {});

//! The number a list shows as text, when it is one (see EXPORTBROWSERTOEXCEL).
bool parseDisplayedNumber(std::string_view text, double* value);

}  // namespace slownik::svc
