#include "framework/services/excel_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <exception>
#include <memory>

#include "framework/runtime/error_state.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

// The spreadsheet's limits: characters in a cell and in a sheet name.
constexpr std::size_t kMaxCellChars = 32767;
constexpr std::size_t kMaxSheetNameChars = 31;
// Runtime error code of a failed file operation (the file cannot be created/written).
constexpr int kFileErrorCode = 5;

struct NumericPicture {
  bool numeric = false;
  int places = 0;
};

// "@n-9.2" → numeric with 2 places; "@n12`6" → 6 places ('`' and 'v' also mark them).
NumericPicture readPicture(std::string_view picture) {
  NumericPicture p;
  if (picture.size() < 2 || picture[0] != '@' || (picture[1] != 'n' && picture[1] != 'N')) return p;
  p.numeric = true;
  std::size_t dot = picture.find_first_of(".`vV", 2);
  if (dot == std::string_view::npos) return p;
  for (std::size_t i = dot + 1; i < picture.size() && picture[i] >= '0' && picture[i] <= '9'; ++i)
    p.places = p.places * 10 + (picture[i] - '0');
  if (p.places > 15) p.places = 15;
  return p;
}

std::string numberFormat(int places) { return places == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(places), '0'); }

std::string sheetNameOf(std::string_view name) {
  std::string out;
  for (char c : name) out += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '_';
  out = sql::truncateUtf8(out, kMaxSheetNameChars);
  // Nor may a sheet name begin or end with an apostrophe.
  if (!out.empty() && out.front() == '\'') out.front() = '_';
  if (!out.empty() && out.back() == '\'') out.back() = '_';
  return out.empty() ? "Eksport" : out;
}

struct WorkbookCloser {
  void operator()(lxw_workbook* wb) const { workbook_close(wb); }
};

std::string fail(const std::string& reason) {
  rt::setError(kFileErrorCode, "Nie można zapisać arkusza: " + reason);
  return {};
}

std::string write(const ExportList& list, const std::string& path, std::string_view sheetName) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;  // rows stream to disk: long lists need no memory
  lxw_workbook* raw = workbook_new_opt(path.c_str(), &options);
  if (!raw) return fail(path);
  std::unique_ptr<lxw_workbook, WorkbookCloser> guard(raw);

  const std::string name = sheetNameOf(sheetName.empty() ? "Eksport" : sheetName);
  lxw_worksheet* sheet = workbook_add_worksheet(raw, name.c_str());
  if (!sheet) return fail(path);

  lxw_format* bold = workbook_add_format(raw);
  format_set_bold(bold);
  std::vector<NumericPicture> pictures;
  std::vector<lxw_format*> numberFormats;
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    const ExportColumn& column = list.columns[c];
    pictures.push_back(readPicture(column.picture));
    lxw_format* f = nullptr;
    if (pictures.back().numeric) {
      f = workbook_add_format(raw);
      format_set_num_format(f, numberFormat(pictures.back().places).c_str());
    }
    numberFormats.push_back(f);
    // The list measures in quarter characters, roughly; keep narrow columns readable.
    double width = column.width > 0 ? std::max(4.0, column.width / 4.0) : LXW_DEF_COL_WIDTH;
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr);
  }
  worksheet_freeze_panes(sheet, 1, 0);

  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    std::string header = sql::truncateUtf8(list.columns[c].header, kMaxCellChars);
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header.c_str(), bold);
  }
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    const auto& row = list.rows[r];
    const auto rowNo = static_cast<lxw_row_t>(r + 1);
    for (std::size_t c = 0; c < row.size() && c < list.columns.size(); ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      double value = 0;
      lxw_error e;
      if (row[c].empty()) continue;
      if (pictures[c].numeric && parseDisplayedNumber(row[c], &value)) {
        e = worksheet_write_number(sheet, rowNo, col, value, numberFormats[c]);
      } else {
        std::string text = sql::truncateUtf8(row[c], kMaxCellChars);
        e = worksheet_write_string(sheet, rowNo, col, text.c_str(), nullptr);
      }
      if (e != LXW_NO_ERROR) return fail(lxw_strerror(e));
    }
  }
  lxw_error closed = workbook_close(guard.release());
  if (closed != LXW_NO_ERROR) return fail(path + " (" + lxw_strerror(closed) + ")");
  rt::clearError();
  return path;
}

}  // namespace

bool parseDisplayedNumber(std::string_view text, double* value) {
  std::string s;
  bool negative = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ' ' || c == '\t') continue;
    if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {  // no-break space as group separator
      ++i;
      continue;
    }
    bool leading = s.empty(), trailing = text.find_first_not_of(' ', i + 1) == std::string_view::npos;
    if (c == '-' && !negative && (leading || trailing)) {
      negative = true;
      continue;
    }
    if ((c >= '0' && c <= '9') || c == ',' || c == '.') {
      s += c;
      continue;
    }
    return false;
  }
  // With both marks present the later one is the decimal point and the other groups.
  std::size_t comma = s.rfind(','), dot = s.rfind('.');
  if (comma != std::string::npos && dot != std::string::npos) {
    char group = comma < dot ? ',' : '.';
    std::erase(s, group);
  }
  std::replace(s.begin(), s.end(), ',', '.');
  if (s.empty() || std::count(s.begin(), s.end(), '.') > 1) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  *value = negative ? -v : v;
  return true;
}

std::string EXPORTBROWSERTOEXCEL(const ExportList& list, std::string_view path, std::string_view sheetName) {
  if (path.empty()) return fail("brak nazwy pliku");
  try {
    return write(list, std::string(path), sheetName);
  } catch (const std::exception& e) {
    return fail(e.what());
  } catch (...) {
    return fail(std::string(path));
  }
}

}  // namespace slownik::svc
