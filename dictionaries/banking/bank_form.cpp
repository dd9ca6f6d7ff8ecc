#include "dictionaries/banking/bank_form.h"

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

constexpr const char* kNumber = "?BAN:NUMER_BANKU";
constexpr const char* kMailButton = "?BAN:E_MAIL:BUTTON";
constexpr const char* kWebButton = "?BAN:ADRES_WWW:BUTTON";
constexpr int kPaste = rt::key::withCtrl(rt::key::letter('V'));
constexpr std::size_t kNumberLength = 8;

}  // namespace

BankForm::BankForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor BankForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 16;
  d.procedure = "Banki_Upd";
  d.table = "BANKI";
  d.titles = {"Dodawanie banku", "Edycja banku", "View Record"};
  // Every field repeats from the last saved bank (field numbers in BANKI's order).
  d.history = {{"?BAN:NAZWA", 2},       {kNumber, 3},           {"?BAN:MIEJSCOWOSC", 4},
               {"?BAN:ULICA_LOKAL", 5}, {"?BAN:KOD_POCZTOWY", 6}, {"?BAN:TEL", 7},
               {"?BAN:E_MAIL", 8},      {"?BAN:ADRES_WWW", 9},   {"?BAN:SWIFT", 12}};
  d.editRight = "EBanki";
  d.helpPage = "kar_fin_bank.htm";
  d.firstField = "?BAN:NAZWA";
  d.warning = engine::WarningStyle::Message;
  d.lockTable = "banki";
  return d;
}

void BankForm::prepare() {
  if (request() == data::kInsertRecord) {
    data::field("BAN:NAZWA").set("");
    data::field("BAN:NUMER_BANKU").set("");
    display();
  }
}

void BankForm::setAlerts() {
  RecordForm::setAlerts();
  // Only the number takes the paste itself; elsewhere Ctrl+V pastes as usual.
  if (window()) window()->alertOn(kNumber, kPaste);
}

int BankForm::takeEvent(const rt::Event& e) {
  if (e.code == rt::event::AlertKey && e.keyCode == kPaste && e.control == kNumber) {
    pasteNumber();
    return fw::kLevelNotify;
  }
  return RecordForm::takeEvent(e);
}

void BankForm::pasteNumber() {
  if (isReadOnly()) return;
  window()->setValue(kNumber, sql::truncateUtf8(rt::frontEnd().clipboardText(), kNumberLength));
  update(kNumber);
}

bool BankForm::checkBeforeSave() {
  std::string number = text("BAN:NUMER_BANKU");
  // A number kept as it was read cannot meet another bank's: the database keeps the
  // numbers unique, so only a new or changed number is asked about.
  const bool numberKept = request() == data::kChangeRecord && number == savedValue("BAN:NUMER_BANKU");
  std::string found = numberKept ? std::string() : svc::FUNCSQL("select 1 from banki where numer_banku=" + sql::quote(number) +
                                   " and id_banku<>" + sql::sqlId(data::field("BAN:ID_BANKU").number()));
  // A check that could not run must not let a duplicate through.
  if (!numberKept && rt::errorCode() != 0) {
    warn(rt::errorText());
    return false;
  }
  if (found == "1") {
    warn("Bank o takim numerze już istnieje!");
    return false;
  }
  if (engine::trimmed(text("BAN:NAZWA")).empty() &&
      svc::MSG_PYTANIE("Nie wprowadzono nazwy banku!|Czy kontynuować?") != svc::kYes)
    return false;
  return true;
}

int BankForm::afterAccepted(const rt::Event& e) {
  if (e.control == kMailButton) {
    update("?BAN:E_MAIL");
    engine::openMail(text("BAN:E_MAIL"));
    return fw::kLevelNotify;
  }
  if (e.control == kWebButton) {
    openWebsite();
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void BankForm::openWebsite() {
  update("?BAN:ADRES_WWW");
  std::string address = engine::trimmed(text("BAN:ADRES_WWW"));
  if (address.empty()) {
    rt::messageBox("TRAMEL: Ostrzeżenie", "Proszę wprowadzić adres strony WWW!", rt::MessageIcon::Information);
    return;
  }
  // An address that names its own scheme ("https://…") is opened as it is.
  if (address.find("://") == std::string::npos) address = "http://" + address;
  rt::frontEnd().openLink(address);
}

int BankForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

}  // namespace slownik::banking

extern "C" void BANKI_UPD() {
  slownik::banking::BankForm form;
  form.run();
}
