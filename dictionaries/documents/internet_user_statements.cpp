#include "dictionaries/documents/internet_user_statements.h"

#include <cstddef>

#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

// Widths of the INT_UZYTKOWNIK columns: a longer text would make the whole save fail.
constexpr std::size_t kPasswordWidth = 30;
constexpr std::size_t kNameWidth = 50;

std::string quoted(const std::string& text, std::size_t width) { return sql::quote(sql::truncateUtf8(text, width)); }

}  // namespace

std::string contractorNameSql(double contractorId) {
  return "select nazwa from kontrahent where id_kontrahenta=" + sql::sqlId(contractorId);
}

std::string internetUsersSql(double contractorId) {
  // In the order of the table's key, so that the list reads the same every time.
  return "select nazwisko, imie, id_int_uzytkownik,aktywny from int_uzytkownik where id_kontrahenta=" +
         sql::sqlId(contractorId) + " order by nazwisko, imie, id_int_uzytkownik";
}

std::string deleteInternetUserSql(double userId) {
  return "delete from int_uzytkownik where id_int_uzytkownik=" + sql::sqlId(userId);
}

std::string addInternetUserSql(double contractorId) {
  return "call TK_DodajHaslo_0001_002_HASLO_INTER(" + sql::sqlId(contractorId) + ")";
}

std::string readInternetUserSql(double userId) {
  return "select id_int_uzytkownik,haslo,aktywny,nazwisko,imie from int_uzytkownik where id_int_uzytkownik=" +
         sql::sqlId(userId);
}

std::string saveInternetUserSql(double userId, const InternetUserValues& values) {
  return "update int_uzytkownik set haslo=" + quoted(values.password, kPasswordWidth) +
         ",aktywny=" + (values.active ? "1" : "0") + ",nazwisko=" + quoted(values.surname, kNameWidth) +
         ",imie=" + quoted(values.firstName, kNameWidth) + " where id_int_uzytkownik=" + sql::sqlId(userId);
}

std::string dropUnsavedInternetUserSql(double userId) {
  return "delete int_uzytkownik  where id_int_uzytkownik=" + sql::sqlId(userId);
}

}  // namespace slownik::documents
