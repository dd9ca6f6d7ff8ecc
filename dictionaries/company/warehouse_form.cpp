#include "dictionaries/company/warehouse_form.h"

#include <cmath>
#include <cstdlib>

#include "dictionaries/banking/account_procedures.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/classifiers.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kName = "?MAG:NAZWA";
constexpr const char* kSymbol = "?MAG:SYMBOL";
constexpr const char* kAccountText = "?RACHUNEK";
constexpr const char* kPickAccount = "?WYBIERZRACHUNEK";
constexpr const char* kClearAccount = "?USUNRACHUNEK";
constexpr const char* kCatalogueNumber = "?NUMER_KATALOGOWY";
constexpr const char* kTradeNumber = "?NUMER_HANDLOWY";
constexpr const char* kAdditionalFields = "?POLA_DODATKOWE";
// Warehouses carry the classifiers of this kind ("Pola dodatkowe").
constexpr const char* kClassifierKind = "Magazyn";
constexpr int kAccountPicker = 1;
// NUMERACJA.DOKUMENT of the two index numberings.
constexpr int kCatalogueIndex = 15;
constexpr int kTradeIndex = 16;
constexpr std::size_t kNumberDigits = 14;

std::string id(double value) { return sql::sqlId(value); }
std::string field(std::string_view name) { return data::field(name).text(); }
bool isSynchronisationOff() { return svc::POBIERZPARAMKONF("s", "SynchroArt") == "Rozłączne"; }

// The last number as typed: digits only, up to the numbering's width; "" counts as 0.
bool isLastNumber(const std::string& text) {
  std::string t = engine::trimmed(text);
  if (t.size() > kNumberDigits) return false;
  for (char c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

// The last index numbers belong to the warehouse whose masks the form shows, not to the
// one the user happens to work in: another warehouse's numbering would be overwritten.
std::string numberingKey(int kind) {
  return " where id_firmy=" + id(data::field("MAG:ID_FIRMY").number()) + " and id_magazynu=" +
         id(data::field("MAG:ID_MAGAZYNU").number()) + " and dokument=" + std::to_string(kind) +
         " and typ_dokumentu=0 and rok=0";
}

}  // namespace

std::string synchronisationEstimate(long long articles) {
  const double minutes = static_cast<double>(articles) / 60.0;
  if (minutes <= 2) return {};
  return "Może to zająć ok. " + std::to_string(std::lround(minutes)) +
         " minut i spowolnić pracę innym użytkownikom.";
}

WarehouseForm::WarehouseForm() : RecordForm(makeDescriptor()) {
  addPicker(kAccountPicker, [] {
    // The company account list takes its owner from the company record: it is the
    // warehouse's company here, and the caller's company record comes back afterwards.
    const data::RecordBuffer held = data::buffer(*data::findTable("FIRMA"));
    data::field("FIR:ID_FIRMY").set(data::field("MAG:ID_FIRMY").number());
    RACHUNKI_FIRMY_BRW(1);
    data::buffer(*data::findTable("FIRMA")) = held;
  });
}

engine::FormDescriptor WarehouseForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 29;
  d.procedure = "Magazyn_Upd";
  d.table = "MAGAZYN";
  d.lookupTables = {"RACHUNEK_FIRMY", "FIRMA"};
  d.titles = {"Dodawanie magazynu", "Edycja magazynu", "View Record"};
  d.editRight = "EMag";
  d.lockedControls = {kPickAccount, kClearAccount, kCatalogueNumber, kTradeNumber};
  d.helpPage = "vex_mag.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void WarehouseForm::primeFields() {
  data::field("MAG:STAN_MAGAZYNU").set("Praca");
  if (data::field("MAG:ID_FIRMY").number() <= 0) data::field("MAG:ID_FIRMY").set(data::glo().ID_FIRMY.get());
  data::field("MAG:NAGLOWEK").set(svc::FUNCSQL("select naglowek from firma with (nolock) where id_firmy=" +
                                               id(data::glo().ID_FIRMY.get())));
  data::field("MAG:MIEJSCE_WYSTAWIENIA").set(svc::POBIERZPARAMKONF("s", "MiejWystFak/Rach"));
}

void WarehouseForm::prepare() {
  markAtOpen_ = engine::trimmed(field("MAG:WYROZNIK_SYNCHRONIZACJI"));
  svc::KLASYFIKATORY_INITUSE(kClassifierKind, data::field("MAG:ID_MAGAZYNU").number());
  if (request() == data::kInsertRecord) window()->disable(kAdditionalFields);
  showAccount();
  readLastNumbers();
}

void WarehouseForm::showAccount() {
  const double account = data::field("MAG:ID_RACHUNKU").number();
  window()->setValue(kAccountText,
                     account > 0 ? svc::FUNCSQL("select LK+' '+NUMER_RACHUNKU from rachunek_firmy  with (nolock) "
                                                "where id_rachunku=" + id(account))
                                 : std::string());
}

void WarehouseForm::pickAccount() {
  if (pick(kAccountPicker) != data::kRequestCompleted) return;
  data::field("MAG:ID_RACHUNKU").set(data::field("RACHFIR:ID_RACHUNKU").number());
  window()->setValue(kAccountText, engine::trimmed(field("RACHFIR:LK")) + " " + field("RACHFIR:NUMER_RACHUNKU"));
}

int WarehouseForm::afterAccepted(const rt::Event& e) {
  if (e.control == kAdditionalFields) {
    svc::KLASYFIKATORY_OKNO(kClassifierKind, isReadOnly() ? data::kViewRecord : request(),
                            data::field("MAG:ID_MAGAZYNU").number());
    return fw::kLevelNotify;
  }
  if (e.control == kPickAccount) {
    pickAccount();
    return fw::kLevelNotify;
  }
  if (e.control == kClearAccount) {
    data::field("MAG:ID_RACHUNKU").set(0);
    window()->setValue(kAccountText, "");
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void WarehouseForm::readLastNumbers() {
  // A new warehouse has no numbering yet.
  if (request() == data::kInsertRecord) {
    window()->setValue(kCatalogueNumber, "0");
    window()->setValue(kTradeNumber, "0");
    return;
  }
  for (auto [kind, control] : {std::pair{kCatalogueIndex, kCatalogueNumber}, std::pair{kTradeIndex, kTradeNumber}}) {
    std::string number = svc::FUNCSQL("select numer from numeracja" + numberingKey(kind));
    window()->setValue(control, number.empty() ? "0" : number);
  }
}

bool WarehouseForm::checkLastNumbers() {
  for (const char* control : {kCatalogueNumber, kTradeNumber}) {
    if (isLastNumber(window()->value(control))) continue;
    warn("Ostatni numer musi być liczbą całkowitą nieujemną.");
    focus(control);
    return false;
  }
  return true;
}

bool WarehouseForm::isDuplicate(const char* column, const std::string& value, const char* message,
                                const char* control) {
  if (value.empty()) return false;
  std::string found = svc::FUNCSQL("select id_magazynu from magazyn where id_firmy=" + id(data::field("MAG:ID_FIRMY").number()) +
                                   " and " + column + "=" + sql::quote(value) + " and ID_MAGAZYNU<>" +
                                   id(data::field("MAG:ID_MAGAZYNU").number()));
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    focus(control);
    return true;
  }
  if (std::atof(found.c_str()) > 0) {
    warn(message);
    focus(control);
    return true;
  }
  return false;
}

long long WarehouseForm::articlesToShare(const std::string& mark) {
  const std::string company = id(data::field("MAG:ID_FIRMY").number());
  std::string others = svc::FUNCSQL("select count(*) from magazyn where id_firmy=" + company +
                                    " and Wyroznik_synchronizacji=" + sql::quote(mark) + " and ID_MAGAZYNU<>" +
                                    id(data::field("MAG:ID_MAGAZYNU").number()));
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return -1;
  }
  if (std::atoll(others.c_str()) <= 0) return 0;
  std::string articles = svc::FUNCSQL(
      "select count(*) from (select a.indeks_katalogowy from artykul a,magazyn m where a.id_magazynu=m.id_magazynu "
      "and m.id_firmy=" + company + " and  Wyroznik_synchronizacji=" + sql::quote(mark) +
      " group by a.indeks_katalogowy) x");
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return -1;
  }
  return std::atoll(articles.c_str());
}

bool WarehouseForm::confirmSynchronisation() {
  if (isSynchronisationOff()) return true;
  const std::string mark = engine::trimmed(field("MAG:WYROZNIK_SYNCHRONIZACJI"));
  if (request() == data::kInsertRecord) {
    if (mark.empty()) return true;
    long long n = articlesToShare(mark);
    if (n < 0) return false;
    if (n == 0) return true;
    return svc::MSG_PYTANIE("Dodanie nowego magazynu spowoduje utworzenie w nim wszystkich (" + std::to_string(n) +
                           ") pozycji asortymentowych. " + synchronisationEstimate(n) + "|Czy kontynować?") ==
           svc::kYes;
  }
  if (request() != data::kChangeRecord || mark == markAtOpen_) return true;
  if (mark.empty())
    return svc::MSG_PYTANIE("Usunięcie wyróżnika synchronizacji powoduje wyłączenie tego magazynu z mechanizmu "
                            "synchronizacji.|Czy kontynować?") == svc::kYes;
  long long n = articlesToShare(mark);
  if (n < 0) return false;
  if (n == 0) return true;
  return svc::MSG_PYTANIE("Zmiana wyróżnika synchronizacji powoduje konieczność uwspólnienia z pozostałymi "
                          "magazynami wszystkich (" + std::to_string(n) + ") pozycji asortymentowych. " +
                          synchronisationEstimate(n) + "|Czy kontynować?") == svc::kYes;
}

bool WarehouseForm::isNameOrSymbolTaken() {
  return isDuplicate("SYMBOL", engine::trimmed(field("MAG:SYMBOL")),
                     "Istnieje już magazyn o podanym symbolu!|Proszę zmienić symbol.", kSymbol) ||
         isDuplicate("NAZWA", engine::trimmed(field("MAG:NAZWA")),
                     "Istnieje już magazyn o podanej nazwie!|Proszę zmienić nazwę.", kName);
}

// The checks run here rather than in checkBeforeSave, which would put the focus on the
// first field afterwards: a refused symbol leaves the user in the symbol.
int WarehouseForm::checkField(const rt::Event& e) {
  if (e.control != "?OK" || (request() != data::kInsertRecord && request() != data::kChangeRecord)) return 0;
  update();
  if (svc::KLASYFIKATORY_WALIDUJ(kClassifierKind) == 1) {
    svc::KLASYFIKATORY_OKNO(kClassifierKind, request(), data::field("MAG:ID_MAGAZYNU").number());
    return fw::kLevelNotify;
  }
  if (isNameOrSymbolTaken() || !checkLastNumbers() || !confirmSynchronisation()) return fw::kLevelNotify;
  checked_ = true;
  return 0;
}

bool WarehouseForm::checkBeforeSave() {
  if (checked_) {
    checked_ = false;
    return true;
  }
  // Called again when the database refused a duplicate another user saved meanwhile.
  return !isNameOrSymbolTaken();
}

void WarehouseForm::writeLastNumber(int kind, const std::string& value) {
  // checkLastNumbers let only up to 14 digits through: the number is a plain integer.
  const std::string typed = engine::trimmed(value);
  const std::string number = std::to_string(typed.empty() ? 0LL : std::stoll(typed));
  std::string found = svc::FUNCSQL("select count(*) from numeracja" + numberingKey(kind));
  if (std::atoll(found.c_str()) > 0)
    svc::EXECSQL("update numeracja set numer=" + number + numberingKey(kind));
  else
    svc::EXECSQL("insert into numeracja (id_firmy,id_magazynu,dokument,typ_dokumentu,rok,numer) values (" +
                 id(data::field("MAG:ID_FIRMY").number()) + "," + id(data::field("MAG:ID_MAGAZYNU").number()) + "," +
                 std::to_string(kind) + ",0,0," + number + ")");
  if (rt::errorCode() != 0) warn(rt::errorText());
}

void WarehouseForm::afterSave() {
  if (request() != data::kInsertRecord && request() != data::kChangeRecord) return;
  writeLastNumber(kCatalogueIndex, window()->value(kCatalogueNumber));
  writeLastNumber(kTradeIndex, window()->value(kTradeNumber));
  svc::KLASYFIKATORY_ZAPISZ(kClassifierKind, data::field("MAG:ID_MAGAZYNU").number());
}

}  // namespace slownik::company

void MAGAZYN_UPD() {
  slownik::company::WarehouseForm form;
  form.run();
}
