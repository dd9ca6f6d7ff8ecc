#include "framework/services/window_parameters.h"

#include "framework/data/globals.h"
#include "framework/services/service_database.h"
#include "framework/services/text_services.h"

namespace slownik::svc {

std::string POBIERZPARAMETROKNA(std::string_view window, std::string_view name) {
  sql::Result r;
  serviceExecute("SELECT WARTOSC FROM PARAMETR_OKNA WHERE ID_UZYTKOWNIKA = ? AND OKNO = ? AND NAZWA = ?",
                 {idParam(data::glo().ID_UZYTKOWNIKA), upperPolish(window), std::string(name)}, &r);
  return r.scalar();
}

int ZAPISZPARAMETROKNA(std::string_view window, std::string_view name, std::string_view value) {
  sql::Status s = serviceExecute(
      "INSERT INTO PARAMETR_OKNA (ID_UZYTKOWNIKA, OKNO, NAZWA, WARTOSC) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (ID_UZYTKOWNIKA, OKNO, NAZWA) DO UPDATE SET WARTOSC = excluded.WARTOSC",
      {idParam(data::glo().ID_UZYTKOWNIKA), upperPolish(window), std::string(name), std::string(value)});
  return s.isOk() ? 0 : kSqlErrorCode;
}

}  // namespace slownik::svc
