#include "framework/services/program_parameters.h"

#include <optional>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/services/service_database.h"

namespace slownik::svc {
namespace {

struct Owner {
  std::string scope;  // as stored: "S" or "U"
  double id;
};

std::optional<Owner> ownerOf(std::string_view scope) {
  if (scope == "s" || scope == "S") return Owner{"S", data::glo().ID_FIRMY};
  if (scope == "u" || scope == "U") return Owner{"U", data::glo().ID_UZYTKOWNIKA};
  return std::nullopt;
}

}  // namespace

std::string POBIERZPARAMKONF(std::string_view scope, std::string_view name) {
  auto owner = ownerOf(scope);
  if (!owner) return {};
  sql::Result r;
  serviceExecute("SELECT WARTOSC FROM PARAMETR_KONF WHERE ZAKRES = ? AND ID_WLASCICIELA = ? AND NAZWA = ?",
                 {owner->scope, idParam(owner->id), std::string(name)}, &r);
  return r.scalar();
}

int USTAWPARAMKONF(std::string_view scope, std::string_view name, std::string_view value) {
  auto owner = ownerOf(scope);
  if (!owner) {
    rt::setError(kSqlErrorCode, "Nieznany zakres parametru: \"" + std::string(scope) + "\"");
    return kSqlErrorCode;
  }
  sql::Status s = serviceExecute(
      "INSERT INTO PARAMETR_KONF (ZAKRES, ID_WLASCICIELA, NAZWA, WARTOSC) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (ZAKRES, ID_WLASCICIELA, NAZWA) DO UPDATE SET WARTOSC = excluded.WARTOSC",
      {owner->scope, idParam(owner->id), std::string(name), std::string(value)});
  return s.isOk() ? 0 : kSqlErrorCode;
}

}  // namespace slownik::svc
