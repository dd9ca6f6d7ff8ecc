#include "dictionaries/staff/employee_form.h"

#include <cstdlib>
#include <mutex>

#include "dictionaries/banking/account_procedures.h"
#include "dictionaries/company/place_pickers.h"
#include "dictionaries/staff/employee_address_form.h"
#include "dictionaries/staff/user_picker.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/relations.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/classifiers.h"
#include "framework/services/messages.h"
#include "framework/services/nip.h"
#include "framework/services/pesel.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::staff {
namespace {

constexpr const char* kNumber = "?PRA:NR_EWIDENCYJNY";
constexpr const char* kSurname = "?PRA:NAZWISKO";
constexpr const char* kPesel = "?PRA:PESEL";
constexpr const char* kNip = "?PRA:NIP";
constexpr const char* kUserCheck = "?UZYTKOWNIK";
constexpr const char* kUserGroup = "?UZYTKOWNIK:GRUPA";
constexpr const char* kUserName = "?UZY:NAZWA";
constexpr const char* kUserButton = "?UZYTKOWNIK:WYBIERZ";
constexpr const char* kCalendar = "?KALENDARZ";
constexpr const char* kAccounts = "?RACHUNKI";
constexpr const char* kAddressList = "?LIST:ADRESY";
constexpr const char* kAdditionalFields = "?POLA_DODATKOWE";
// Employees carry the classifiers of this kind ("Pola dodatkowe").
constexpr const char* kClassifierKind = "Pracownik";
constexpr int kUserPicker = 1;
constexpr int kAddressForm = 3;

std::string problem(const std::string& why) {
  return "Wystąpił problem podczas zatwierdzania danych pracownika! Powód: " + why;
}

}  // namespace

void registerEmployeeRelations() {
  static std::once_flag once;
  std::call_once(once, [] {
    data::addRelation({"PRACOWNIK", {"ID_PRACOWNIKA"}, "ADRESY_PRACOWNIKA", {"ID_PRACOWNIKA"}, data::DeleteRule::Cascade});
  });
}

EmployeeForm::EmployeeForm(bool duplicate) : CheckedForm(makeDescriptor(duplicate)), duplicate_(duplicate) {
  registerEmployeeRelations();
  addPicker(kUserPicker, [] { UZYTKOWNIK1_BRW(); });
}

EmployeeForm::~EmployeeForm() = default;

engine::FormDescriptor EmployeeForm::makeDescriptor(bool duplicate) {
  engine::FormDescriptor d;
  d.module = 101;
  d.procedure = "Pracownik_Upd";
  d.table = "PRACOWNIK";
  d.lookupTables = {"UZYTKOWNIK"};
  d.titles = {"Dodawanie pracownika", duplicate ? "Dodawanie pracownika" : "Edycja pracownika",
              "Podgląd pracownika"};
  // Field numbers in PRACOWNIK's order: id, company, then the employee's own.
  d.history = {{kNumber, 3},           {kSurname, 4},           {"?PRA:IMIE_1", 6},
               {"?PRA:IMIE_2", 7},     {"?PRA:IMIE_OJCA", 8},   {"?PRA:IMIE_MATKI", 9},
               {"?PRA:MIEJSCE_URODZ", 11}, {"?PRA:DATA_URODZENIA", 12}, {kPesel, 14},
               {kNip, 15},             {"?PRA:TELEFON", 19}};
  d.editRight = "EPrac";
  d.lockedControls = {kUserCheck, kUserButton, kCalendar, kAddressList, "?INSERT:ADRES", "?CHANGE:ADRES",
                      "?DELETE:ADRES"};
  d.helpPage = "kar_prac.htm";
  d.firstField = kNumber;
  d.warning = engine::WarningStyle::Message;
  d.childRowsBeforeSave = true;
  // The list took the employee's lock before the form opened; an administrator may have
  // cleared it since, and another program may hold it now: the write then changes nothing.
  d.lockTable = "pracownik";
  return d;
}

double EmployeeForm::employeeId() const { return data::field("PRA:ID_PRACOWNIKA").number(); }

void EmployeeForm::primeFields() {
  data::field("PRA:ID_FIRMY").set(data::glo().ID_FIRMY.get());
  data::field("PRA:NAZWISKO").set("");
  data::field("PRA:NR_EWIDENCYJNY").set("");
  data::field("PRA:DATA_URODZENIA").set(static_cast<long long>(rt::today()));
  data::field("PRA:PLEC").set("Mężczyzna");
  data::field("PRA:ID_UZYTKOWNIKA").set(0);
  data::field("PRA:SEMAFOR").set(0);
  data::field("PRA:PLEW").set(0);
  data::field("PRA:ARCHIWUM").set(1);
}

void EmployeeForm::prepare() {
  // A copy keeps everything of its original but the number, which is the original's.
  if (duplicate_ && !isReadOnly()) data::field("PRA:NR_EWIDENCYJNY").set("");
  svc::KLASYFIKATORY_INITUSE(kClassifierKind, employeeId());
  showUser();
  display();
  if (isReadOnly()) {
    window()->setText("?CANCEL", "Zamknij");
    window()->enable(kAccounts);
  }
  startAddresses();
}

void EmployeeForm::showUser() {
  const double user = data::field("PRA:ID_UZYTKOWNIKA").number();
  bool linked = false;
  if (user > 0) {
    data::field("UZY:ID_UZYTKOWNIKA").set(user);
    data::FileManager* users = data::fileManager("UZYTKOWNIK");
    linked = users && users->fetch("UZY:PK_UZYTKOWNIK") == 0;
  }
  if (!linked) data::field("UZY:NAZWA").set("");
  window()->setValue(kUserCheck, user > 0 ? "1" : "0");
  enableUserGroup(user > 0 && !isReadOnly());
}

void EmployeeForm::enableUserGroup(bool on) {
  for (const char* c : {kUserGroup, kUserName, kUserButton}) window()->enable(c, on);
}

void EmployeeForm::userTicked(bool ticked) {
  enableUserGroup(ticked);
  if (!ticked) {
    data::field("PRA:ID_UZYTKOWNIKA").set(0);
    data::field("UZY:NAZWA").set("");
    display(kUserName);
  }
}

void EmployeeForm::pickUser() {
  update();
  data::field("UZY:ID_UZYTKOWNIKA").set(data::field("PRA:ID_UZYTKOWNIKA").number());
  if (pick(kUserPicker) == data::kRequestCompleted)
    data::field("PRA:ID_UZYTKOWNIKA").set(data::field("UZY:ID_UZYTKOWNIKA").number());
  showUser();
  display();
}

void EmployeeForm::startAddresses() {
  engine::ChildListDescriptor d;
  d.list = kAddressList;
  d.table = "ADRESY_PRACOWNIKA";
  d.ownerField = "ADRPRA:ID_PRACOWNIKA";
  d.sortOrder = {"ADRPRA:AK_ADRESY_PRAC_IDPRAC_ADRESY_P", engine::LocatorKind::None, "", ""};
  d.columns = {"ADRPRA:DATA_OD", "ADRPRA:MIEJSCOWOSC", "ADRPRA:KOD_POCZTOWY", "ADRPRA:ULICA", "ADRPRA:NR_DOMU",
               "ADRPRA:NR_LOKALU", "ADRPRA:TELEFON", "ADRPRA:E_MAIL", "ADRPRA:ID_ADRESY_PRAC"};
  d.insertControl = "?INSERT:ADRES";
  d.changeControl = "?CHANGE:ADRES";
  d.deleteControl = "?DELETE:ADRES";
  d.formNumber = kAddressForm;
  d.form = [] { ADRES_PRACOWNIKA_UPD(); };
  d.beforeForm = [this](int request) {
    if (request == data::kViewRecord || svc::POBIERZUPRAWNIENIE("EPrac") == 1) {
      if (request == data::kInsertRecord) data::field("ADRPRA:TYP_ADRESU").set(kResidenceAddress);
      return true;
    }
    warn("Brak uprawnień na modyfikację danych pracownika!");
    return false;
  };
  addresses_ = std::make_unique<engine::ChildList>(std::move(d));
  addresses_->start(*this, employeeId(), !isReadOnly());
  // Only the residence addresses are the employee form's.
  if (addresses_->view()) {
    addresses_->view()->setSqlFilter("(ADRPRA:TYP_ADRESU='M')");
    addresses_->fetch(fw::FetchDirection::First);
  }
}

int EmployeeForm::run(int number, int request) {
  if (addresses_ && addresses_->handles(number)) return addresses_->callForm(request);
  return RecordForm::run(number, request);
}

bool EmployeeForm::confirmed(int answer, const char* control) {
  if (answer == rt::button::Yes) return true;
  focusAfterCheck(control);
  return false;
}

bool EmployeeForm::checkBeforeSave() {
  if (svc::KLASYFIKATORY_WALIDUJ(kClassifierKind) == 1) {
    svc::KLASYFIKATORY_OKNO(kClassifierKind, request(), employeeId());
    return false;
  }
  const std::string id = sql::sqlId(employeeId());
  const std::string company = sql::sqlId(data::field("PRA:ID_FIRMY").number());

  const std::string number = engine::trimmed(text("PRA:NR_EWIDENCYJNY"));
  if (number.empty()) return failAt(kNumber, "Proszę wprowadzić numer ewidencyjny.");
  std::string same = svc::FUNCSQL("select count(*) from pracownik where id_pracownika<>" + id + " and id_firmy=" +
                                  company + " and nr_ewidencyjny=" + sql::quote(number));
  if (rt::errorCode() != 0) return failAt(kNumber, problem(rt::errorText()));
  if (std::atof(same.c_str()) > 0)
    return failAt(kNumber, "Pracownik o wprowadzonym numerze ewidencyjnym już istnieje!|Proszę zmienić numer.");

  if (engine::trimmed(text("PRA:NAZWISKO")).empty()) return failAt(kSurname, "Proszę wprowadzić nazwisko.");

  const std::string pesel = engine::trimmed(text("PRA:PESEL"));
  if (!pesel.empty() && !svc::PESELOK(pesel) &&
      !confirmed(svc::MSG_PYTANIE("Numer PESEL jest niepoprawny!|Czy zapisać dane pracownika?"), kPesel))
    return false;

  const std::string nip = engine::trimmed(text("PRA:NIP"));
  if (!nip.empty()) {
    if (!svc::NIPOK(nip)) {
      if (!confirmed(svc::MSG_PYTANIE("Numer NIP jest niepoprawny.|Czy zapisać dane pracownika?"), kNip)) return false;
    } else {
      svc::EXECSQL("call TK_CzyNipJestUnikalny(" + company + "," + sql::quote(nip) + "," + id + ",'pracownik')");
      const bool used = rt::errorCode() != 0;
      const std::string why = rt::errorText();
      svc::CLOSESQL();
      if (used && !confirmed(svc::questionBox(why + "|Czy zapisać dane pracownika?", rt::button::No), kNip))
        return false;
    }
  }

  const double user = data::field("PRA:ID_UZYTKOWNIKA").number();
  if (user > 0) {
    std::string linked = svc::FUNCSQL("select count(*) from pracownik where id_uzytkownika=" + sql::sqlId(user) +
                                      " and id_pracownika<>" + id + " and id_firmy=" + company);
    if (rt::errorCode() != 0) return failAt(kUserName, problem(rt::errorText()));
    if (std::atof(linked.c_str()) > 0)
      return failAt(kUserButton, "Użytkownik " + engine::trimmed(data::field("UZY:NAZWA").text()) +
                                     " jest już skojarzony z innym pracownikiem!");
  }
  return true;
}

int EmployeeForm::afterAccepted(const rt::Event& e) {
  const std::string& c = e.control;
  if (c == kUserCheck) {
    userTicked(window()->value(kUserCheck) == "1");
  } else if (c == kUserButton) {
    pickUser();
  } else if (c == kCalendar) {
    update();
    company::pickDate(*this, "PRA:DATA_URODZENIA");
  } else if (c == kAccounts) {
    openAccounts();
  } else if (c == kAdditionalFields) {
    svc::KLASYFIKATORY_OKNO(kClassifierKind, isReadOnly() ? data::kViewRecord : request(), employeeId());
  } else {
    return fw::kLevelBenign;
  }
  return fw::kLevelNotify;
}

void EmployeeForm::afterSave() {
  if (request() != data::kInsertRecord && request() != data::kChangeRecord) return;
  svc::KLASYFIKATORY_ZAPISZ(kClassifierKind, employeeId());
}

void EmployeeForm::openAccounts() {
  update();
  // The account list reads and writes the shared PRACOWNIK buffer: what this form holds
  // is put back afterwards, with the default account the list chose.
  const data::RecordBuffer held = data::buffer(table());
  RACHUNEK_PRACOWNIKA(static_cast<std::uint8_t>(isReadOnly() ? data::kViewRecord : request()));
  const double account = data::field("PRA:ID_RACHUNKU").number();
  data::buffer(table()) = held;
  if (!isReadOnly()) data::field("PRA:ID_RACHUNKU").set(account);
  display();
}

int EmployeeForm::kill() {
  if (addresses_) addresses_->kill();
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::staff

extern "C" void PRACOWNIK_UPD() {
  using namespace slownik;
  const bool duplicate = data::GLOBALREQUEST() == staff::kChangeOfDuplicateRequest;
  if (duplicate) data::GLOBALREQUEST() = data::kChangeRecord;
  staff::EmployeeForm form(duplicate);
  form.run();
}
