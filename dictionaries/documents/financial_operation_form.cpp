#include "dictionaries/documents/financial_operation_form.h"

#include <cstdlib>

#include "framework/data/requests.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {

FinancialOperationForm::FinancialOperationForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor FinancialOperationForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 59;
  d.procedure = "Rodzaj_Operacji_Fin_Upd";
  d.table = "RODZAJ_OPERACJI_FIN";
  d.titles = {"Zapis zostanie dodany", "Zapis zostanie zmieniony", "Podgląd rodzaju operacji"};
  d.history = {{"?ROF:KOD_OPERACJI", 1}, {"?ROF:NAZWA", 2}};
  d.helpPage = kFinancialOperationHelp;
  d.firstField = "?ROF:KOD_OPERACJI";
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool FinancialOperationForm::checkBeforeSave() {
  std::string code = text("ROF:KOD_OPERACJI");
  // A change that keeps the code (in any letters) needs no query: the code is the row's own.
  if (request() == data::kChangeRecord && engine::equalsIgnoringCase(code, savedValue("ROF:KOD_OPERACJI"))) return true;
  std::string count = svc::FUNCSQL("select count(*) from rodzaj_operacji_fin where upper(kod_operacji)=upper(" +
                                   sql::quote(code) + ")");
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return false;
  }
  if (std::atoi(count.c_str()) > 0) {
    warn("Operacja o wprowadzonym kodzie już istnieje!|Proszę zmienić kod.");
    return false;
  }
  return true;
}

void runFinancialOperationForm() {
  FinancialOperationForm form;
  form.run();
}

}  // namespace slownik::documents
