#include "dictionaries/banking/account_form.h"

#include <cstdlib>

#include "dictionaries/banking/account_number.h"
#include "dictionaries/banking/bank_list.h"
#include "dictionaries/tax_currency/country_list.h"
#include "dictionaries/tax_currency/currency_list.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/sql_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::banking {
namespace {

// Form-local controls: the number's parts are not columns of the account.
constexpr const char* kBankNumber = "?NUMER_BANKU";
constexpr const char* kAccountNumber = "?NUMER_KONTA";
constexpr const char* kIbanSwitch = "?IBAN";
constexpr const char* kPasteButton = "?WKLEJ";
constexpr const char* kBankButton = "?WYBIERZBANK";
constexpr const char* kCurrencyButton = "?WYBIERZWALUTE";
constexpr const char* kCountryButton = "?WYBIERZKRAJ";
constexpr const char* kIbanOn = "Tak";
constexpr const char* kIbanOff = "Nie";

constexpr int kBankPicker = 1;
constexpr int kCurrencyPicker = 2;
constexpr int kCountryPicker = 3;

using engine::trimmed;

//! The 1-based position of a column in its table, as the history key counts fields.
int fieldNumber(const std::string& table, const std::string& column) {
  const sql::TableDef* def = sql::Catalogue::instance().find(table);
  if (!def) return 0;
  for (std::size_t i = 0; i < def->columns.size(); ++i)
    if (sql::equalsIgnoreCase(def->columns[i].name, column)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

AccountForm::AccountForm(const AccountOwner& owner) : RecordForm(makeDescriptor(owner)), owner_(owner) {
  addPicker(kBankPicker, [] { BANKI_BRW(); });
  addPicker(kCurrencyPicker, [] { WALUTY_BRW(); });
  addPicker(kCountryPicker, [] { KRAJ_BRW(); });
}

engine::FormDescriptor AccountForm::makeDescriptor(const AccountOwner& owner) {
  engine::FormDescriptor d;
  d.module = owner.formModule;
  d.procedure = owner.formProcedure;
  d.table = owner.table;
  d.lookupTables = {"BANKI", "WALUTY"};
  d.titles = {"Dodawanie rachunku", "Edycja rachunku", "View Record"};
  // The account's own entry fields repeat from the last saved account; the bank and
  // account numbers are the form's own and do not.
  std::vector<std::string> history = {"LK", "SYM_WALUTY", "NAZWA", "AKTYWNY"};
  d.lockedControls = {kBankNumber, kAccountNumber, kIbanSwitch, kPasteButton, kBankButton, kCurrencyButton};
  switch (owner.kind) {
    case OwnerKind::Company:
      d.lookupTables.push_back("KRAJE");
      history.insert(history.end(), {"SYM_KRAJU", "DOMYSLNY_WAL", "RAP_WALUTOWE"});
      d.lockedControls.push_back(kCountryButton);
      break;
    case OwnerKind::Employee:
      history.push_back("WLASCICIEL_RACHUNKU");
      break;
    default:
      break;
  }
  for (const auto& column : history) d.history.push_back({"?" + owner.field(column), fieldNumber(owner.table, column)});
  d.helpPage = owner.helpPage;
  d.firstField = kBankNumber;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void AccountForm::primeFields() {
  data::field(owner_.field("SYM_WALUTY")).set("PLN");
  data::field(owner_.field("AKTYWNY")).set(1);
  if (owner_.isCompany()) data::field(owner_.field("SYM_KRAJU")).set("PL");
}

void AccountForm::prepare() {
  AccountNumberParts parts = splitAccountNumber(text(owner_.field("NUMER_RACHUNKU")));
  window()->setValue(kBankNumber, parts.bank);
  window()->setValue(kAccountNumber, parts.account);
  std::string iban = trimmed(svc::POBIERZPARAMKONF("s", "IBAN"));
  window()->setValue(kIbanSwitch, sql::equalsIgnoreCase(iban, kIbanOff) ? kIbanOff : kIbanOn);
  showBank();
  display();
  if (owner_.checksWhiteList() && window()->has(kWhiteListHistory)) {
    checks_ = std::make_unique<engine::ChildList>(whiteListHistory(owner_));
    // The answers are only looked at; the list scrolls even in a read-only form.
    checks_->start(*this, data::field(owner_.field("ID_RACHUNKU")).number(), true);
  }
}

void AccountForm::showBank() {
  double bank = data::field(owner_.field("ID_BANKU")).number();
  data::RecordBuffer* banks = data::buffer("BAN");
  if (!banks) return;
  banks->clear();
  if (bank <= 0) return;
  data::field("BAN:ID_BANKU").set(bank);
  if (data::fileManager(banks->table()).fetch("BAN:PK_BANKI") != 0) banks->clear();
}

std::string AccountForm::bankNumber() const { return trimmed(window()->value(kBankNumber)); }

std::string AccountForm::accountNumber() const { return trimmed(window()->value(kAccountNumber)); }

void AccountForm::setCheckDigits(const std::string& digits) {
  data::field(owner_.field("LK")).set(digits);
  display("?" + owner_.field("LK"));
}

void AccountForm::fail(const std::string& message, const std::string& control) {
  warn(message);
  focus(control);
}

// --- fields ----------------------------------------------------------------------------

int AccountForm::checkField(const rt::Event& e) {
  if (e.control == "?OK" && (request() == data::kInsertRecord || request() == data::kChangeRecord)) {
    update();
    if (!validate()) return fw::kLevelNotify;
    if (request() == data::kInsertRecord && !checkWhiteListBeforeSave()) return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

int AccountForm::afterAccepted(const rt::Event& e) {
  if (isReadOnly()) return fw::kLevelBenign;
  const std::string currency = "?" + owner_.field("SYM_WALUTY");
  const std::string country = "?" + owner_.field("SYM_KRAJU");
  if (e.control == kBankNumber) {
    leaveBankNumber();
  } else if (e.control == kBankButton) {
    update();
    pickBank();
  } else if (e.control == kAccountNumber) {
    leaveAccountNumber();
  } else if (e.control == kPasteButton) {
    paste();
  } else if (e.control == currency) {
    return lookUp(currency, "WALUTY", "WAL:SYM_WALUTY", "WAL:PK_WALUTY", kCurrencyPicker);
  } else if (e.control == kCurrencyButton) {
    update();
    pickInto(currency, "WAL:SYM_WALUTY", kCurrencyPicker);
    display();
  } else if (owner_.isCompany() && e.control == country) {
    return lookUp(country, "KRAJE", "KRA:SYM_KRAJU", "KRA:PK_KRAJE", kCountryPicker);
  } else if (owner_.isCompany() && e.control == kCountryButton) {
    update();
    pickInto(country, "KRA:SYM_KRAJU", kCountryPicker);
    display();
  }
  return fw::kLevelBenign;
}

void AccountForm::leaveBankNumber() {
  std::string number = bankNumber();
  auto control = window()->control(kBankNumber);
  if (number.empty() && !(control && control->required)) return;
  data::field("BAN:NUMER_BANKU").set(number);
  const sql::TableDef* banks = sql::Catalogue::instance().find("BANKI");
  if (banks && data::fileManager(*banks).fetch("BAN:AK_BANKI_NUMER_BANKI") == 0) {
    data::field(owner_.field("ID_BANKU")).set(data::field("BAN:ID_BANKU").number());
    display();
    return;
  }
  pickBank();
}

void AccountForm::pickBank() {
  data::field("BAN:NUMER_BANKU").set(bankNumber());
  if (pick(kBankPicker) == data::kRequestCompleted) {
    window()->setValue(kBankNumber, trimmed(text("BAN:NUMER_BANKU")));
    data::field(owner_.field("ID_BANKU")).set(data::field("BAN:ID_BANKU").number());
  } else {
    // A cancelled picker leaves no bank chosen, and no other bank's name on show.
    data::field(owner_.field("ID_BANKU")).set(0);
    if (data::RecordBuffer* banks = data::buffer("BAN")) banks->clear();
    focus(kBankNumber);
  }
  display();
}

int AccountForm::lookUp(const std::string& control, const std::string& table, const std::string& keyField,
                        const std::string& key, int picker) {
  std::string typed = trimmed(text(control.substr(1)));
  auto c = window()->control(control);
  if (typed.empty() && !(c && c->required)) return fw::kLevelBenign;
  data::field(keyField).set(typed);
  const sql::TableDef* def = sql::Catalogue::instance().find(table);
  bool known = def && data::fileManager(*def).fetch(key) == 0;
  if (!known && pickInto(control, keyField, picker) != data::kRequestCompleted) {
    focus(control);
    return fw::kLevelNotify;
  }
  display();
  return fw::kLevelBenign;
}

int AccountForm::pickInto(const std::string& control, const std::string& keyField, int picker) {
  const std::string field = control.substr(1);
  data::field(keyField).set(text(field));
  int answer = pick(picker);
  if (answer == data::kRequestCompleted) data::field(field).set(text(keyField));
  return answer;
}

void AccountForm::leaveAccountNumber() {
  if (request() != data::kInsertRecord) return;
  std::string account = accountNumber();
  if (account.empty() || !trimmed(text(owner_.field("NAZWA"))).empty()) return;
  data::field(owner_.field("NAZWA")).set(defaultDescription(window()->value(kBankNumber), account));
  display();
}

void AccountForm::paste() {
  std::string clipboard = rt::frontEnd().clipboardText();
  if (trimmed(clipboard).empty()) return;
  auto pasted = parsePastedNumber(clipboard);
  if (!pasted) {
    warn("W schowku nie ma prawidłowego numeru rachunku!");
    return;
  }
  setCheckDigits(pasted->checkDigits);
  window()->setValue(kBankNumber, pasted->bank);
  window()->setValue(kAccountNumber, pasted->account);
  display();
  leaveBankNumber();
}

// --- the checks of "Zapisz" ------------------------------------------------------------

bool AccountForm::validate() {
  if (!checkBank()) return false;
  if (window()->value(kIbanSwitch) == kIbanOn && !checkIbanRules()) return false;
  data::field(owner_.field("NUMER_RACHUNKU")).set(rebuildAccountNumber(window()->value(kBankNumber), accountNumber()));
  if (!checkDuplicate()) return false;
  return !owner_.isCompany() || checkCurrencyDefault();
}

bool AccountForm::checkBank() {
  // The company's account needs a bank that exists; the others a bank number at least.
  bool chosen = owner_.isCompany() ? !trimmed(text("BAN:NAZWA")).empty() : !bankNumber().empty();
  if (!chosen) fail("Musisz wybrać numer kierunkowy banku!", kBankNumber);
  return chosen;
}

bool AccountForm::checkIbanRules() {
  const std::string checkDigits = "?" + owner_.field("LK");
  IbanCheck check = checkIban(bankNumber(), accountNumber(), text(owner_.field("LK")));
  switch (check.verdict) {
    case IbanVerdict::Valid:
      return true;
    case IbanVerdict::BankNotEightDigits:
      fail("Zgodnie ze standardem IBAN numer banku musi mieć 8 znaków numerycznych!", kBankNumber);
      return false;
    case IbanVerdict::AccountNotSixteenDigits:
      fail("Zgodnie ze standardem IBAN numer wewnętrzny musi mieć 16 znaków numerycznych!", kAccountNumber);
      return false;
    case IbanVerdict::CheckDigitsMissing:
      warn("Zgodnie ze standardem IBAN należy wypełnić pole sumy kontrolnej!");
      setCheckDigits(check.computed);
      focus(checkDigits);
      return false;
    case IbanVerdict::CheckDigitsDiffer:
      if (rt::messageBox("TRAMEL: Pytanie", "Wyliczona suma kontrolna jest różna od wpisanej.|Czy zmodyfikować sumę?",
                         rt::MessageIcon::Warning, rt::button::Yes | rt::button::No,
                         rt::button::Yes) != rt::button::Yes)
        return true;  // the user keeps the digits typed
      setCheckDigits(check.computed);
      focus(checkDigits);
      return false;
  }
  return false;
}

bool AccountForm::checkDuplicate() {
  std::string number = trimmed(text(owner_.field("NUMER_RACHUNKU")));
  std::string found = svc::FUNCSQL(owner_.duplicateQuery(data::field(owner_.field("ID_RACHUNKU")).number(),
                                                         data::field(owner_.field(owner_.ownerColumn)).number(),
                                                         data::glo().ID_FIRMY.get(), number));
  // A check that could not run must not let a duplicate through.
  if (rt::errorCode() != 0) {
    fail(rt::errorText(), kAccountNumber);
    return false;
  }
  if (found == "1") {
    fail("Rachunek o numerze " + number + " już istnieje!", kAccountNumber);
    return false;
  }
  return true;
}

bool AccountForm::checkCurrencyDefault() {
  if (data::field(owner_.field("DOMYSLNY_WAL")).number() == 0) return true;
  std::string currency = trimmed(text(owner_.field("SYM_WALUTY")));
  std::string sql = "select 1 from rachunek_firmy where ID_FIRMY=" + sql::sqlId(data::glo().ID_FIRMY.get());
  if (request() == data::kChangeRecord)
    sql += " and ID_RACHUNKU<>" + sql::sqlId(data::field(owner_.field("ID_RACHUNKU")).number());
  sql += " and  SYM_WALUTY=" + sql::quote(currency) + " and DOMYSLNY_WAL=1";
  std::string found = svc::FUNCSQL(sql);
  const std::string box = "?" + owner_.field("DOMYSLNY_WAL");
  if (rt::errorCode() != 0) {
    fail(rt::errorText(), box);
    return false;
  }
  if (std::atof(found.c_str()) > 0) {
    fail("Domyślny rachunek w walucie " + currency + " został już zdefiniowany!|Proszę zmienić definicję.", box);
    return false;
  }
  return true;
}

// --- the white list ------------------------------------------------------------------

bool AccountForm::checkWhiteListBeforeSave() {
  pendingAnswer_.reset();
  // Only a contractor with a valid tax number and a Polish account can be on the list;
  // a private person's or a foreign account is saved without asking.
  if (owner_.kind != OwnerKind::Contractor) return true;
  const std::string nip = ownerNip(owner_);
  auto number = whiteListAccountNumber(text(owner_.field("LK")), text(owner_.field("NUMER_RACHUNKU")));
  if (nip.empty() || !number) return true;
  WhiteListRequest request{0, *number, nip, rt::today()};
  svc::WhiteListCheck check = askWhiteList(request);
  if (!check.answered()) {
    // The check is advice: without the register the account is saved unchecked, and the
    // person can check it from the list later.
    warn(svc::whiteListFailureText(check, svc::whiteListSettings().timeoutSeconds));
    return true;
  }
  if (check.outcome == svc::WhiteListOutcome::NotAssigned &&
      svc::MSG_PYTANIE(whiteListAnswerText(request, check) + "||Czy mimo to zapisać rachunek?") != svc::kYes) {
    focus(kAccountNumber);
    return false;
  }
  pendingAnswer_.emplace(std::move(request), std::move(check));
  return true;
}

void AccountForm::afterSave() {
  if (!pendingAnswer_ || request() != data::kInsertRecord) return;
  auto& [request, check] = *pendingAnswer_;
  request.account = data::field(owner_.field("ID_RACHUNKU")).number();
  if (std::string error = recordWhiteListAnswer(owner_, request, check); !error.empty())
    warn("Rachunek zapisano, ale odpowiedzi białej listy (" + check.result() + ", identyfikator zapytania " +
         check.requestId + ") nie udało się zapisać: " + error);
  pendingAnswer_.reset();
}

int AccountForm::kill() {
  if (RecordForm::kill()) return 1;
  svc::CLOSESQL();
  return 0;
}

void runAccountForm(const AccountOwner& owner) {
  AccountForm form(owner);
  form.run();
}

}  // namespace slownik::banking
