#include "dictionaries/banking/interest_table_form.h"

#include <cstdint>

#include "dictionaries/banking/interest_chain.h"
#include "dictionaries/banking/interest_period_form.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kName = "?TABODS:NAZWA";
constexpr int kPeriodForm = 2;

std::int32_t dayOf(data::RecordBuffer& record, const char* column) {
  return static_cast<std::int32_t>(record.field(column).integer());
}

}  // namespace

InterestTableForm::InterestTableForm() : RecordForm(makeDescriptor()) {}

InterestTableForm::~InterestTableForm() = default;

engine::FormDescriptor InterestTableForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 11;
  d.procedure = "Tabela_Odsetek_Upd";
  d.table = "TABELA_ODSETEK";
  d.lookupTables = {"ODSETKI"};
  d.titles = {"Dodawanie tabeli odsetek", "Edycja tabeli odsetek", "View Record"};
  // Field numbers in TABELA_ODSETEK's order: id, company, name, statutory, description.
  d.history = {{kName, 3}, {"?TABODS:CZY_USTAWOWE", 4}, {"?TABODS:OPIS", 5}};
  d.editRight = "ETabOds";
  d.lockedControls = {"?LIST", "?INSERT", "?CHANGE", "?DELETE"};
  d.helpPage = "kar_fin_odset.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  d.childRowsBeforeSave = true;
  d.lockTable = "tabela_odsetek";
  return d;
}

double InterestTableForm::tableId() const { return data::field("TABODS:ID_TABELI_ODSETEK").number(); }

void InterestTableForm::primeFields() {
  data::field("TABODS:NAZWA").set("");
  data::field("TABODS:ID_FIRMY").set(data::glo().ID_FIRMY.get());
}

void InterestTableForm::prepare() {
  engine::ChildListDescriptor d;
  d.list = "?LIST";
  d.table = "ODSETKI";
  d.ownerField = "ODS:ID_TABELI_ODSETEK";
  d.sortOrder = {"ODS:PK_ODSETKI", engine::LocatorKind::Step, "ODS:OD_DNIA", ""};
  d.columns = {"ODS:OD_DNIA", "ODS:DO_DNIA", "ODS:STOPA", "ODS:ZA_OKRES"};
  d.insertControl = "?INSERT";
  d.changeControl = "?CHANGE";
  d.deleteControl = "?DELETE";
  d.formNumber = kPeriodForm;
  d.form = OdsetkiUpd;
  d.beforeForm = [this](int request) { return periodsMayChange(request); };
  d.afterForm = [this](int request, int response, const data::RecordBuffer& before) {
    periodsChanged(request, response, before);
  };
  periods_ = std::make_unique<engine::ChildList>(std::move(d));
  periods_->start(*this, tableId(), !isReadOnly());
}

int InterestTableForm::run(int number, int request) {
  if (periods_ && periods_->handles(number)) return periods_->callForm(request);
  return RecordForm::run(number, request);
}

bool InterestTableForm::periodsMayChange(int request) {
  if (svc::POBIERZUPRAWNIENIE("ETabOds") != 1) {
    warn("Brak uprawnień na modyfikacje tabeli odsetek!");
    return false;
  }
  if (request == data::kInsertRecord) data::field("ODS:ID_TABELI_ODSETEK").set(tableId());
  return true;
}

void InterestTableForm::periodsChanged(int request, int response, const data::RecordBuffer& before) {
  if (response != data::kRequestCompleted) return;
  const double id = periods_->ownerId();
  data::RecordBuffer was = before;
  const std::int32_t start = static_cast<std::int32_t>(data::field("ODS:OD_DNIA").integer());
  switch (request) {
    case data::kInsertRecord:
      chainAfterInsert(id, start);
      break;
    case data::kDeleteRecord:
      chainAfterDelete(id, dayOf(was, "OD_DNIA"), dayOf(was, "DO_DNIA"));
      break;
    case data::kChangeRecord:
      chainAfterMove(id, dayOf(was, "OD_DNIA"), dayOf(was, "DO_DNIA"), start);
      break;
    default:
      break;
  }
}

bool InterestTableForm::checkBeforeSave() {
  const std::string name = text("TABODS:NAZWA");
  if (engine::trimmed(name).empty()) {
    warn("Proszę wprowadzić nazwę tabeli odsetek!");
    return false;
  }
  svc::EXECSQL("call TK_CzyNazwaJestUnikalna(" + sql::sqlId(data::glo().ID_FIRMY.get()) + "," + sql::quote(name) + "," +
               sql::sqlId(tableId()) + ",'tabela_odsetek')");
  const bool unique = rt::errorCode() == 0;
  const std::string error = rt::errorText();
  svc::CLOSESQL();
  if (!unique) {
    warn(error);
    return false;
  }
  PeriodCheck inverted = hasInvertedPeriod(tableId());
  if (inverted.failed()) {
    warn(inverted.error);
    return false;
  }
  if (inverted.found) {
    warn("Nieprawidłowy zakres dat!|Data początku okresu nie może być większa niż końca!");
    return false;
  }
  return true;
}

int InterestTableForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::banking

extern "C" void TABELA_ODSETEK_UPD() {
  slownik::banking::InterestTableForm form;
  form.run();
}
