#include "dictionaries/documents/doc_type_form.h"

#include <cstdlib>

#include "engine/record_form.h"
#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

bool recordChangedSinceOpening(const engine::RecordForm& form) {
  const data::RecordBuffer* saved = form.savedRecord();
  if (!saved) return true;
  data::RecordBuffer& now = data::buffer(form.table());
  data::RecordBuffer before = *saved;
  for (std::size_t i = 0; i < now.size(); ++i)
    if (clipRight(now.field(i).text()) != clipRight(before.field(i).text())) return true;
  return false;
}

std::optional<std::string> warehouseTableSignatureProblem(double type, std::string_view signature) {
  std::string clipped = clipRight(std::string(signature));
  if (engine::trimmed(clipped).empty()) return "Sygnatura nie może być pusta. Proszę wprowadzić sygnaturę!";
  // Signatures are kept blank-padded to three characters by some writers and without the
  // blanks by others; trailing blanks must not make two signatures different.
  std::string count = svc::FUNCSQL("select count(*) from typ_dokumentu_magazynowego where id_typu<>" +
                                   sql::sqlId(type) + " and rtrim(sygnatura)=" + sql::quote(clipped) +
                                   " and id_firmy=" + sql::sqlId(data::glo().ID_FIRMY.get()));
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) return "Nie udało się sprawdzić sygnatury! Powód: " + rt::errorText();
  if (std::atoi(count.c_str()) > 0) return "Sygnatura musi być unikalna!";
  return std::nullopt;
}

void deleteTypeNumbering(int family, double company, double type) {
  svc::EXECSQL("delete from numeracja where id_firmy=" + sql::sqlId(company) + " and dokument=" +
               std::to_string(family) + " and typ_dokumentu=" + sql::sqlId(type));
  if (rt::errorCode() != 0)
    svc::MSG_OSTRZEZENIE("Nie udało się usunąć numeracji typu dokumentu! Powód: " + rt::errorText());
  svc::CLOSESQL();
}

void renameTypeNumbering(int family, double company, double type, std::string_view signature) {
  svc::EXECSQL("update numeracja set sygnatura=" + sql::quote(clipRight(std::string(signature))) +
               " where id_firmy=" + sql::sqlId(company) + " and dokument=" + std::to_string(family) +
               " and typ_dokumentu=" + sql::sqlId(type));
  if (rt::errorCode() != 0)
    svc::MSG_OSTRZEZENIE("Nie udało się zmienić sygnatury w numeracji typu dokumentu! Powód: " + rt::errorText());
  svc::CLOSESQL();
}

}  // namespace slownik::documents
