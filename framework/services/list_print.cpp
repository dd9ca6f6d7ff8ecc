#include "framework/services/list_print.h"

#include <numeric>

namespace slownik::svc {
namespace {

bool isNumeric(const ExportColumn& column) {
  return column.picture.size() > 1 && column.picture[0] == '@' && (column.picture[1] == 'n' || column.picture[1] == 'N');
}

std::string oneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

}  // namespace

std::string htmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string printedListHtml(const PrintHeader& header, const ExportList& list) {
  std::string html =
      "<html><head><meta charset=\"utf-8\"><style>"
      "body{font-family:sans-serif;font-size:9pt}"
      "table{border-collapse:collapse;width:100%}"
      "th{border-bottom:1px solid black;text-align:left;padding:2px 4px}"
      "td{padding:1px 4px}"
      ".n{text-align:right}"
      "</style></head><body>";
  if (!header.company.empty()) html += "<p>" + htmlEscaped(header.company) + "</p>";
  html += "<h3>" + htmlEscaped(header.title) + "</h3>";
  html += "<p>Data wydruku: " + htmlEscaped(header.date);
  if (!header.filter.empty()) html += "<br>Filtr: " + htmlEscaped(header.filter);
  html += "</p>";

  // Widths as shares of the page, in the proportions the list gives its columns.
  const int total = std::accumulate(list.columns.begin(), list.columns.end(), 0,
                                    [](int sum, const ExportColumn& c) { return sum + (c.width > 0 ? c.width : 0); });
  html += "<table cellspacing=\"0\"><thead><tr>";
  for (const auto& c : list.columns) {
    html += "<th";
    if (total > 0 && c.width > 0) html += " width=\"" + std::to_string(c.width * 100 / total) + "%\"";
    if (isNumeric(c)) html += " class=\"n\"";
    html += ">" + htmlEscaped(c.header) + "</th>";
  }
  html += "</tr></thead><tbody>";
  for (const auto& row : list.rows) {
    html += "<tr>";
    for (std::size_t i = 0; i < list.columns.size(); ++i) {
      html += isNumeric(list.columns[i]) ? "<td class=\"n\">" : "<td>";
      if (i < row.size()) html += htmlEscaped(row[i]);
      html += "</td>";
    }
    html += "</tr>";
  }
  html += "</tbody></table>";
  html += "<p>Liczba pozycji: " + std::to_string(list.rows.size()) + "</p></body></html>";
  return html;
}

std::string tabSeparatedList(const ExportList& list) {
  std::string text;
  for (std::size_t i = 0; i < list.columns.size(); ++i) {
    if (i > 0) text += '\t';
    text += oneLine(list.columns[i].header);
  }
  for (const auto& row : list.rows) {
    text += '\n';
    for (std::size_t i = 0; i < list.columns.size(); ++i) {
      if (i > 0) text += '\t';
      if (i < row.size()) text += oneLine(row[i]);
    }
  }
  return text;
}

}  // namespace slownik::svc
