#include "dictionaries/company/company_form.h"

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "dictionaries/banking/account_procedures.h"
#include "dictionaries/company/company_address_form.h"
#include "dictionaries/company/excise_person_form.h"
#include "dictionaries/company/company_registry_fill.h"
#include "dictionaries/company/place_pickers.h"
#include "framework/classes/select_file_class.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/gus_registry.h"
#include "framework/services/messages.h"
#include "framework/services/nip.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kName = "?FIR:NAZWA";
constexpr const char* kFullName = "?FIR:NAZWA_PELNA";
constexpr const char* kNip = "?FIR:NIP";
constexpr const char* kSmallTaxpayer = "?FIR:MP";
constexpr const char* kQuarterly = "?FIR:KWARTALNY_VAT";
constexpr const char* kCashMethod = "?FIR:METODA_KASOWA";
constexpr const char* kAddressList = "?LIST:ADRESY";
constexpr const char* kAddAddress = "?INSERT:ADRES";
constexpr const char* kDefaultButton = "?DOMYSLNY";
constexpr const char* kPersonList = "?LIST:AKCYZA";
constexpr const char* kLogoStatus = "?LOGO:STATUS";
constexpr const char* kLogoPreview = "?LOGO:PODGLAD";
constexpr const char* kLogoPath = "?FIR:LOGO_FIRMY";
constexpr const char* kRegistry = "?GUS";
constexpr const char* kDefaultAddress = "FIR:ID_ADRESU_DOMYSLNEGO";
constexpr int kAddressesTab = 2;
constexpr int kPoolTab = 4;
constexpr int kAddressForm = 3;
constexpr int kPersonForm = 4;
constexpr int kDefaultIcon = 1;

bool isSet(const char* field) { return data::field(field).integer() == 1; }

// Why a header image can't be taken into the database; nullopt with its bytes when it can.
// A file too large is refused before it is read.
std::optional<std::string> logoProblem(const std::string& path, std::string* bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return "Nie znaleziono pliku " + path + "!";
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return "Nie udało się odczytać pliku graficznego " + path + "!";
  if (size > kLargestLogoBytes)
    return "Plik " + path + " jest za duży.|Plik graficzny nagłówka może mieć najwyżej 5 MB.";
  std::ifstream in(path, std::ios::binary);
  std::string content(static_cast<std::size_t>(size), '\0');
  if (!in || !in.read(content.data(), static_cast<std::streamsize>(size)))
    return "Nie udało się odczytać pliku graficznego " + path + "!";
  if (!isPicture(content))
    return "Plik " + path + " nie jest plikiem graficznym.|Proszę wskazać plik JPG, PNG, GIF albo BMP.";
  *bytes = std::move(content);
  return std::nullopt;
}

}  // namespace

// The seat addresses of the company with the default one marked.
class CompanyForm::AddressList : public engine::ChildList {
 public:
  using engine::ChildList::ChildList;

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ChildList::setQueueRecord(row, source);
    double id = data::field("ADRFIR:ID_ADRESY_FIRMY").number();
    setIcon(row, 1, id > 0 && id == data::field(kDefaultAddress).number() ? kDefaultIcon : 0);
  }

  //! After a form call the list reloads; whoever shows what depends on its rows hears of it.
  void resetFromAsk(int request, int response) override {
    ChildList::resetFromAsk(request, response);
    if (reloaded) reloaded();
  }

  std::function<void()> reloaded;

  //! The id of the selected address; 0 when none.
  double selectedId() {
    const fw::ListRow* row = selectedRow();
    if (!row || !view() || view()->fetch(row->position()) != 0) return 0;
    return data::field("ADRFIR:ID_ADRESY_FIRMY").number();
  }
};

CompanyForm::CompanyForm() : CheckedForm(makeDescriptor()) {}

CompanyForm::~CompanyForm() = default;

engine::FormDescriptor CompanyForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 33;
  d.procedure = "Firma_Upd";
  d.table = "FIRMA";
  d.titles = {"Dodawanie firmy", "Edycja firmy", "Podgląd firmy"};
  // Field numbers in FIRMA's order; the fields of the identification, printout and
  // pool tabs.
  d.history = {{kName, 2},
               {kFullName, 3},
               {kNip, 4},
               {"?FIR:REGON", 5},
               {"?FIR:PLATNIK_VAT", 6},
               {kSmallTaxpayer, 7},
               {kQuarterly, 8},
               {kCashMethod, 9},
               {"?FIR:ORGAN_ZAL", 10},
               {"?FIR:NAZWA_REJ", 11},
               {"?FIR:DATA_REJ", 12},
               {"?FIR:NR_W_REJ", 13},
               {"?FIR:DATA_ROZP_DZIAL", 14},
               {"?FIR:UWAGI", 15},
               {"?FIR:NAGLOWEK", 16},
               {"?FIR:NAGLOWEK2", 17},
               {"?FIR:LOGO_FIRMY", 18},
               {"?FIR:NR_FK_PULA_OD", 20},
               {"?FIR:NR_FK_PULA_DO", 21},
               {"?FIR:NR_FK_PULA_AKTUALNY", 22}};
  d.editRight = "EDanePodm";
  d.lockedControls = {"?KALENDARZ:DATA_REJ", "?KALENDARZ:DATA_ROZP_DZIAL", "?LOGO:PLIK", "?LOGO:ZAPISZ",
                      "?LOGO:USUN", kDefaultButton, kRegistry};
  d.helpPage = "vex_fir.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  d.childRowsBeforeSave = true;
  return d;
}

double CompanyForm::companyId() const { return data::field("FIR:ID_FIRMY").number(); }

int CompanyForm::childRequest() const { return isReadOnly() ? data::kViewRecord : request(); }

void CompanyForm::primeFields() {
  data::field("FIR:NAZWA").set("");
  data::field("FIR:NR_FK_PULA_OD").set(0);
  data::field("FIR:NR_FK_PULA_DO").set(99999999);
  data::field("FIR:NR_FK_PULA_AKTUALNY").set(0);
}

void CompanyForm::prepare() {
  // The child windows and the program parameters they touch belong to the company shown.
  callersCompany_ = data::glo().ID_FIRMY.get();
  data::glo().ID_FIRMY = companyId();
  companySwitched_ = true;

  if (!isReadOnly()) {
    for (const char* date : {"FIR:DATA_REJ", "FIR:DATA_ROZP_DZIAL"})
      if (data::field(date).integer() == 0) data::field(date).set(static_cast<long long>(rt::today()));
  }
  if (isSet("FIR:MP")) data::field("FIR:KWARTALNY_VAT").set(1);
  display();
  if (isSet("FIR:MP")) window()->disable(kQuarterly);
  showLogoStatus();
  if (isReadOnly()) {
    window()->setText("?CANCEL", "Zamknij");
    window()->enable("?RACHUNKI");
  }
  startAddresses();
  startPersons();
  updateDefaultButton();
}

void CompanyForm::startAddresses() {
  engine::ChildListDescriptor d;
  d.list = kAddressList;
  d.table = "ADRESY_FIRMY";
  d.ownerField = "ADRFIR:ID_FIRMY";
  d.sortOrder = {"ADRFIR:ADRSYFIR_IDFIR_DATA", engine::LocatorKind::None, "", ""};
  d.columns = {"ADRFIR:DATA_OD", "ADRFIR:MIEJSCOWOSC", "ADRFIR:ULICA",           "ADRFIR:NR_DOMU",
               "ADRFIR:NR_LOKALU", "ADRFIR:TELEFON",  "ADRFIR:ID_ADRESY_FIRMY"};
  d.insertControl = kAddAddress;
  d.changeControl = "?CHANGE:ADRES";
  d.deleteControl = "?DELETE:ADRES";
  d.formNumber = kAddressForm;
  d.form = [this] { ADRES_FIRMY_UPD(companyId(), static_cast<std::uint8_t>(childRequest())); };
  d.afterForm = [this](int request, int response, const data::RecordBuffer& before) {
    addressesChanged(request, response, before);
  };
  addresses_ = std::make_unique<AddressList>(std::move(d));
  addresses_->reloaded = [this] { updateDefaultButton(); };
  window()->setIconList(kAddressList, {"~32redchk.ico"});
  addresses_->start(*this, companyId(), !isReadOnly());
  // Only the seat addresses are the company form's; other kinds belong to other windows.
  if (addresses_->view()) {
    addresses_->view()->setSqlFilter("(ADRFIR:TYP_ADRESU='S')");
    addresses_->fetch(fw::FetchDirection::First);
  }
}

void CompanyForm::startPersons() {
  engine::ChildListDescriptor d;
  d.list = kPersonList;
  d.table = "AKCYZA_FIRMA_PODATNIK";
  d.ownerField = "AKCFP:ID_FIRMY";
  d.sortOrder = {"AKCFP:FK_FIRMA_ID", engine::LocatorKind::None, "", ""};
  d.columns = {"AKCFP:IMIE",  "AKCFP:NAZWISKO", "AKCFP:SYM_KRAJU", "AKCFP:WOJEWODZTWO",
               "AKCFP:POWIAT", "AKCFP:GMINA",   "AKCFP:ULICA",     "AKCFP:NR_DOMU",
               "AKCFP:NR_LOKALU", "AKCFP:MIEJSCOWOSC", "AKCFP:KOD_POCZTOWY", "AKCFP:POCZTA"};
  d.insertControl = "?INSERT:AKCYZA";
  d.changeControl = "?CHANGE:AKCYZA";
  d.deleteControl = "?DELETE:AKCYZA";
  d.formNumber = kPersonForm;
  d.form = AkcyzaPodatnikUpd;
  d.beforeForm = [this](int request) {
    if (request == data::kInsertRecord && persons_->records() > 0) {
      warn("Można dodać tylko jedną osobę fizyczną!");
      return false;
    }
    return true;
  };
  persons_ = std::make_unique<engine::ChildList>(std::move(d));
  persons_->start(*this, companyId(), !isReadOnly());
}

int CompanyForm::run(int number, int request) {
  if (addresses_ && addresses_->handles(number)) return addresses_->callForm(request);
  if (persons_ && persons_->handles(number)) return persons_->callForm(request);
  return RecordForm::run(number, request);
}

void CompanyForm::addressesChanged(int request, int response, const data::RecordBuffer& before) {
  if (response != data::kRequestCompleted) return;
  data::Field reference = data::field(kDefaultAddress);
  if (request == data::kInsertRecord) {
    // The company's first address is its default one.
    std::string count = svc::FUNCSQL("select count(*) from ADRESY_FIRMY where id_firmy=" + sql::sqlId(companyId()) +
                                     " and TYP_ADRESU='S'");
    if (rt::errorCode() == 0 && std::atof(count.c_str()) == 1)
      reference.set(data::field("ADRFIR:ID_ADRESY_FIRMY").number());
  } else if (request == data::kDeleteRecord) {
    // A default address that is gone leaves the company without one, not with a
    // reference to nothing.
    data::RecordBuffer gone = before;
    if (gone.field("ID_ADRESY_FIRMY").number() == reference.number()) reference.set(0);
  }
}

void CompanyForm::toggleDefaultAddress() {
  if (!addresses_ || isReadOnly()) return;
  double id = addresses_->selectedId();
  if (id <= 0) return;
  data::Field reference = data::field(kDefaultAddress);
  reference.set(reference.number() == id ? 0.0 : id);
  addresses_->resetQueue();
  focus(kAddressList);
}

void CompanyForm::updateDefaultButton() {
  if (!window() || !addresses_) return;
  window()->enable(kDefaultButton, !isReadOnly() && addresses_->records() > 0);
}

bool CompanyForm::checkBeforeSave() {
  const std::string name = text("FIR:NAZWA");
  if (engine::trimmed(name).empty()) return failAt(kName, "Musisz wpisać nazwę firmy!");
  if (engine::trimmed(text("FIR:NAZWA_PELNA")).empty()) return failAt(kFullName, "Musisz wpisać pełną nazwę firmy!");

  const std::string id = sql::sqlId(companyId());
  std::string same = svc::FUNCSQL("select count(*) from FIRMA where id_firmy<>" + id + " and nazwa=" + sql::quote(name));
  if (rt::errorCode() != 0)
    return failAt(kName, "Wystąpił problem podczas zatwierdzania danych firmy! Powód: " + rt::errorText());
  if (std::atof(same.c_str()) > 0)
    return failAt(kName, "Firma o podanej nazwie już istnieje!|Proszę wprowadzić inną nazwę firmy.");

  const std::string nip = engine::trimmed(text("FIR:NIP"));
  if (isSet("FIR:PLATNIK_VAT") && nip.empty()) return failAt(kNip, "Musisz wpisać NIP płatnika!");
  if (!nip.empty() && !svc::NIPOK(nip) &&
      svc::questionBox("Numer NIP jest niepoprawny.|Czy zapisać dane firmy?", rt::button::No) != rt::button::Yes) {
    focusAfterCheck(kNip);
    return false;
  }

  // A statistical number is checked like the tax number: a wrong one is kept only on request.
  const std::string regon = engine::trimmed(text("FIR:REGON"));
  if (!regon.empty() && !isValidRegon(regon) &&
      svc::questionBox("Numer REGON jest niepoprawny.|Czy zapisać dane firmy?", rt::button::No) != rt::button::Yes) {
    focusAfterCheck("?FIR:REGON");
    return false;
  }

  std::string addresses = svc::FUNCSQL("select count(*) from ADRESY_FIRMY with (nolock) where id_firmy=" + id +
                                       " and TYP_ADRESU='S'");
  if (rt::errorCode() != 0)
    return failAt(kName, "Wystąpił problem podczas zatwierdzania danych firmy! Powód: " + rt::errorText());
  if (std::atof(addresses.c_str()) == 0) {
    showTab(kAddressesTab);
    return failAt(isReadOnly() ? kAddressList : kAddAddress, "Musisz dodać adres firmy!");
  }
  if (data::field(kDefaultAddress).number() <= 0) {
    showTab(kAddressesTab);
    return failAt(kDefaultButton, "Proszę wprowadzić adres domyślny firmy!");
  }

  auto pool = poolProblem(data::field("FIR:NR_FK_PULA_OD").integer(), data::field("FIR:NR_FK_PULA_DO").integer(),
                          data::field("FIR:NR_FK_PULA_AKTUALNY").integer());
  if (pool) {
    showTab(kPoolTab);
    return failAt(pool->field == PoolField::Start ? "?FIR:NR_FK_PULA_OD" : "?FIR:NR_FK_PULA_AKTUALNY", pool->message);
  }
  return true;
}

void CompanyForm::afterSave() {
  // The tax flags of the company the user works in are kept by the host as well; a new
  // company becomes that company.
  if (request() == data::kInsertRecord || companyId() == callersCompany_) {
    data::glo().MP = static_cast<double>(data::field("FIR:MP").integer());
    data::glo().METODA_KASOWA = static_cast<double>(data::field("FIR:METODA_KASOWA").integer());
  }
}

void CompanyForm::showTab(int tab) {
  if (window()) window()->setValue("?SHEET", std::to_string(tab));
}

int CompanyForm::afterAccepted(const rt::Event& e) {
  const std::string& c = e.control;
  if (c == kName) {
    if (request() == data::kInsertRecord && engine::trimmed(text("FIR:NAZWA_PELNA")).empty()) {
      data::field("FIR:NAZWA_PELNA").set(text("FIR:NAZWA"));
      display(kFullName);
    }
  } else if (c == kSmallTaxpayer) {
    applyTaxRule(TaxFlag::SmallTaxpayer);
  } else if (c == kQuarterly) {
    applyTaxRule(TaxFlag::Quarterly);
  } else if (c == kCashMethod) {
    applyTaxRule(TaxFlag::CashMethod);
  } else if (c == "?KALENDARZ:DATA_REJ") {
    update();
    pickDate(*this, "FIR:DATA_REJ");
  } else if (c == "?KALENDARZ:DATA_ROZP_DZIAL") {
    update();
    pickDate(*this, "FIR:DATA_ROZP_DZIAL");
  } else if (c == kDefaultButton) {
    toggleDefaultAddress();
  } else if (c == kLogoPath) {
    update();
    showLogoStatus();
  } else if (c == "?LOGO:PLIK") {
    chooseLogoFile();
  } else if (c == "?LOGO:ZAPISZ") {
    loadLogo();
  } else if (c == "?LOGO:USUN") {
    dropLogo();
  } else if (c == kRegistry) {
    fetchFromRegistry();
  } else if (c == "?RACHUNKI") {
    openAccounts();
  } else {
    return fw::kLevelBenign;
  }
  return fw::kLevelNotify;
}

void CompanyForm::applyTaxRule(TaxFlag changed) {
  update();
  TaxFlags flags{isSet("FIR:MP"), isSet("FIR:KWARTALNY_VAT"), isSet("FIR:METODA_KASOWA")};
  flags = afterChange(flags, changed);
  data::field("FIR:MP").set(flags.smallTaxpayer ? 1 : 0);
  data::field("FIR:KWARTALNY_VAT").set(flags.quarterly ? 1 : 0);
  data::field("FIR:METODA_KASOWA").set(flags.cashMethod ? 1 : 0);
  display();
  window()->enable(kQuarterly, flags.quarterlyEditable());
}

void CompanyForm::fetchFromRegistry() {
  update();
  svc::GusReplyRecord reply;
  reply.set(svc::GusField::Nip, text("FIR:NIP"));
  const int rc = svc::PODAJDANEGUS(reply);
  const std::string status = reply.text(svc::GusField::Status);
  if (rc != 1 || status != "OK") {
    if (status != "EXIT") warn(status);
    return;
  }
  takeRegistryCompany(reply);
  display();
  if (!addresses_ || !addresses_->view() || addresses_->view()->primeRecord() != 0) return;
  takeRegistryAddress(reply);
  showTab(kAddressesTab);
  fw::markPrimed(addresses_->table());
  const int response = addresses_->callForm(data::kInsertRecord);
  fw::takePrimed(addresses_->table());
  // The new address becomes the default outright: toggling it, when it is the company's
  // first address and so already its default, would take the default away again.
  if (response == data::kRequestCompleted)
    data::field(kDefaultAddress).set(data::field("ADRFIR:ID_ADRESY_FIRMY").number());
  addresses_->resetFromAsk(data::kInsertRecord, response);
  focus(kAddressList);
}

void CompanyForm::showLogoStatus() {
  std::string status;
  if (!data::field("FIR:LOGO_BLOB").text().empty()) {
    status = "Plik graficzny zapisany w bazie danych.";
  } else if (!engine::trimmed(text("FIR:LOGO_FIRMY")).empty()) {
    status = "Plik graficzny udostępniony w folderze.";
  }
  window()->setText(kLogoStatus, status);
  logo_.show(*window(), kLogoPreview, data::field("FIR:LOGO_BLOB").text(), engine::trimmed(text("FIR:LOGO_FIRMY")));
}

void CompanyForm::chooseLogoFile() {
  update();
  fw::SelectFileClass chooser;
  chooser.init("Wybierz plik graficzny", "Wszystkie pliki|*.*|jpg|*.jpg|bmp|*.bmp");
  if (auto path = chooser.ask()) {
    data::field("FIR:LOGO_FIRMY").set(*path);
    display("?FIR:LOGO_FIRMY");
    showLogoStatus();
  }
}

void CompanyForm::loadLogo() {
  update();
  const std::string path = engine::trimmed(text("FIR:LOGO_FIRMY"));
  if (path.empty()) {
    warn("Proszę wskazać plik graficzny!");
    focus("?FIR:LOGO_FIRMY");
    return;
  }
  std::string bytes;
  if (auto problem = logoProblem(path, &bytes)) {
    warn(*problem);
    return;
  }
  data::field("FIR:LOGO_BLOB").set(bytes);
  showLogoStatus();
  svc::MSG_INFORMACJA("Pobrano plik graficzny " + path +
                      "|Zapisanie całego formularza (klawiszem F10)|spowoduje zapisanie pliku do bazy danych.");
}

void CompanyForm::dropLogo() {
  update();
  data::field("FIR:LOGO_BLOB").set("");
  showLogoStatus();
  svc::MSG_INFORMACJA("Zapisanie całego formularza (klawiszem F10)|spowoduje usunięcie pliku z bazy danych.");
}

void CompanyForm::openAccounts() {
  update();
  // The account list reads and writes the shared FIRMA buffer: what this form holds is
  // put back afterwards, with the default account the list chose.
  const data::RecordBuffer held = data::buffer(table());
  RACHUNKI_FIRMY_BRW(static_cast<std::uint8_t>(childRequest()));
  const double account = data::field("FIR:ID_RACHUNKU").number();
  data::buffer(table()) = held;
  if (!isReadOnly()) data::field("FIR:ID_RACHUNKU").set(account);
  display();
}

int CompanyForm::kill() {
  const bool saved = response() == data::kRequestCompleted && request() == data::kInsertRecord;
  const double company = companyId();
  if (addresses_) addresses_->kill();
  if (persons_) persons_->kill();
  int rc = RecordForm::kill();
  if (companySwitched_) {
    // A new company that was saved is the one the user works in now; one given up never
    // existed, so the caller's company comes back.
    data::glo().ID_FIRMY = saved ? company : callersCompany_;
    companySwitched_ = false;
  }
  if (rc) return rc;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::company

extern "C" void FIRMA_UPD() {
  slownik::company::CompanyForm form;
  form.run();
}
