#include "framework/services/browser_columns.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"
#include "framework/services/text_services.h"

namespace slownik::svc {
namespace {

// Column number as stored in KOLUMNA; 0 for a name.
int columnNumber(const std::string& column) {
  if (column.empty() || column.size() > 6 || column.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::atoi(column.c_str());
}

sql::Result storedColumn(std::string_view window, std::string_view column) {
  sql::Result r;
  serviceExecute("SELECT FORMAT, ROZMIAR FROM KOLUMNA_BROWSERA WHERE ID_UZYTKOWNIKA = ? AND OKNO = ? AND KOLUMNA = ?",
                 {idParam(data::glo().ID_UZYTKOWNIKA), upperPolish(window), std::string(column)}, &r);
  return r;
}

}  // namespace

int POBIERZZAKRESKOLUMNBROWSERA(std::string_view window, int& first, int& last) {
  first = last = 0;
  sql::Result r;
  if (!serviceExecute("SELECT KOLUMNA FROM KOLUMNA_BROWSERA WHERE ID_UZYTKOWNIKA = ? AND OKNO = ?",
                      {idParam(data::glo().ID_UZYTKOWNIKA), upperPolish(window)}, &r))
    return 0;
  // Names and numbers share the column; the range covers the numbers only.
  int low = std::numeric_limits<int>::max();
  int high = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    int n = columnNumber(r.text(i, 0));
    if (n <= 0) continue;
    low = std::min(low, n);
    high = std::max(high, n);
  }
  if (high == 0) return 0;
  first = low;
  last = high;
  return 1;
}

std::string POBIERZKOLUMNEFORMAT(std::string_view window, std::string_view column) {
  return storedColumn(window, column).text(0, 0);
}

std::string POBIERZKOLUMNEFORMAT(std::string_view window, int column) {
  return POBIERZKOLUMNEFORMAT(window, std::to_string(column));
}

int POBIERZKOLUMNEROZMIAR(std::string_view window, std::string_view column) {
  return std::atoi(storedColumn(window, column).text(0, 1).c_str());
}

int POBIERZKOLUMNEROZMIAR(std::string_view window, int column) {
  return POBIERZKOLUMNEROZMIAR(window, std::to_string(column));
}

int USTAWKOLUMNE(std::string_view window, std::string_view column, std::string_view format, int width) {
  sql::Status s = serviceExecute(
      "INSERT INTO KOLUMNA_BROWSERA (ID_UZYTKOWNIKA, OKNO, KOLUMNA, FORMAT, ROZMIAR) VALUES (?, ?, ?, ?, ?) "
      "ON CONFLICT (ID_UZYTKOWNIKA, OKNO, KOLUMNA) DO UPDATE SET FORMAT = excluded.FORMAT, ROZMIAR = excluded.ROZMIAR",
      {idParam(data::glo().ID_UZYTKOWNIKA), upperPolish(window), std::string(column), std::string(format),
       static_cast<long long>(width)});
  return s.isOk() ? 0 : kSqlErrorCode;
}

int USTAWKOLUMNE(std::string_view window, int column, std::string_view format, int width) {
  return USTAWKOLUMNE(window, std::to_string(column), format, width);
}

}  // namespace slownik::svc
