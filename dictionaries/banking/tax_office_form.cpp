#include "dictionaries/banking/tax_office_form.h"

#include <cstdlib>

#include "dictionaries/banking/account_procedures.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kName = "?URZ:NAZWA";
constexpr const char* kMailButton = "?URZ:E_MAIL:BUTTON";
constexpr const char* kAccountsButton = "?RACHUNKI";
constexpr const char* kTitle = "TRAMEL: Ostrzeżenie";

}  // namespace

TaxOfficeForm::TaxOfficeForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor TaxOfficeForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 24;
  d.procedure = "Urzedy_Upd";
  d.table = "URZEDY";
  d.titles = {"Dodawanie urzędu", "Edycja urzędu", "Podgląd urzędu"};
  // Field numbers in URZEDY's order.
  d.history = {{kName, 2},
               {"?URZ:TYP_URZEDU", 3},
               {"?URZ:KOD_POCZTOWY", 4},
               {"?URZ:MIEJSCOWOSC", 5},
               {"?URZ:ULICA_LOKAL", 6},
               {"?URZ:TELEFON", 7},
               {"?URZ:E_MAIL", 8}};
  d.editRight = "EUrzedy";
  d.helpPage = "kar_urz.htm";
  d.firstField = kName;
  // The office's accounts may be added before the office is saved.
  d.childRowsBeforeSave = true;
  d.lockTable = "urzedy";
  return d;
}

void TaxOfficeForm::primeFields() {
  data::field("URZ:TYP_URZEDU").set("US");
  data::field("URZ:NAZWA").set("");
}

bool TaxOfficeForm::checkBeforeSave() {
  std::string name = text("URZ:NAZWA");
  // The name the form opened with is this office's own (on insert: the empty name), so
  // keeping it needs no question to the database.
  if (name == savedValue("URZ:NAZWA")) return true;
  // Other offices only: a change of letter case of the office's own name is no conflict.
  // Names compare without regard to letter case, as the name key orders them.
  std::string found =
      svc::FUNCSQL("select isnull(id_urzedu,0) from URZEDY where UPPER(NAZWA)=UPPER(" + sql::quote(name) +
                   ") and id_urzedu<>" + sql::sqlId(data::field("URZ:ID_URZEDU").number()));
  if (rt::errorCode() != 0) {
    rt::messageBox(kTitle, "Wystąpił problem podczas zatwierdzania danych urzędu! Powód: " + rt::errorText(),
                   rt::MessageIcon::Information);
    return false;
  }
  if (std::atof(found.c_str()) > 0) {
    rt::messageBox(kTitle, "Uwaga!|" + name + " już istnieje w kartotece! Proszę poprawić nazwę.",
                   rt::MessageIcon::Information);
    return false;
  }
  return true;
}


int TaxOfficeForm::afterAccepted(const rt::Event& e) {
  if (e.control == kMailButton) {
    update("?URZ:E_MAIL");
    engine::openMail(text("URZ:E_MAIL"));
    return fw::kLevelNotify;
  }
  if (e.control == kAccountsButton) {
    openAccounts();
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void TaxOfficeForm::openAccounts() {
  // The accounts list keeps the office's default account in this form's record, which
  // the form then saves; a read-only form opens it read-only.
  update();
  int mode = isReadOnly() ? data::kViewRecord : request();
  RACHUNKI_URZEDU_BRW(static_cast<std::uint8_t>(mode));
  display();
}

int TaxOfficeForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::banking

extern "C" void URZEDY_UPD() {
  slownik::banking::TaxOfficeForm form;
  form.run();
}
