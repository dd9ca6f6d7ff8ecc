#include "dictionaries/tax_currency/currency_list.h"

#include "dictionaries/tax_currency/currency_checks.h"
#include "dictionaries/tax_currency/currency_rate_columns.h"
#include "dictionaries/tax_currency/currency_form.h"
#include "dictionaries/tax_currency/ladujwaluty.h"
#include "dictionaries/tax_currency/rate_period_window.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/list_format.h"
#include "framework/services/messages.h"
#include "framework/services/rates/rate_services.h"
#include "framework/services/rights.h"
#include "framework/services/window_services.h"

namespace slownik::tax_currency {
namespace {
constexpr const char* kDate = "?DATA_KURSU";
constexpr const char* kBaseItem = "Bazowa";
constexpr const char* kPeriodItem = "KursyZaOkres";
constexpr const char* kBaseMessage = "Nie można modyfikować ani usuwać waluty bazowej!";

bool selectedIsBase() { return data::field("WAL:NUMER").integer() == 1; }
}  // namespace

CurrencyList::CurrencyList() : ListWindow(descriptor()) {}

engine::ListDescriptor CurrencyList::descriptor() {
  engine::ListDescriptor d;
  d.module = 5;
  d.procedure = "Waluty_Brw";
  d.table = "WALUTY";
  d.windowKey = "Waluty";
  d.helpPage = "kar_fin_walut.htm";
  d.right = "Waluty";
  d.rightMessage = "Brak uprawnień na dostęp do walut!";
  d.viewRight = "OWaluty";
  d.viewRightMessage = "Brak uprawnień na oglądanie walut!";
  d.deleteRight = "UWaluty";
  d.deleteRightMessage = "Brak uprawnień na usuwanie walut!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 400;
  d.minHeight = 130;
  d.sortOrders = {{"WAL:PK_WALUTY", engine::LocatorKind::Step, "WAL:SYM_WALUTY", ""}};
  d.columns = {"WAL:NUMER", "WAL:SYM_WALUTY", "WAL:NAZWA", "WAL:MNOZNIK_WALUTY", "WAL:SYM_KRAJU",
               "nbp_data", "nbp_kurs", "ecb_data", "ecb_kurs"};
  d.headerSorter = true;
  // The base currency is refused before its form opens; the rights were checked already.
  d.form = [] {
    int request = data::GLOBALREQUEST();
    if ((request == data::kChangeRecord || request == data::kDeleteRecord) && selectedIsBase()) {
      svc::MSG_OSTRZEZENIE(kBaseMessage);
      data::GLOBALREQUEST() = data::kNoRequest;
      data::GLOBALRESPONSE() = data::kRequestCancelled;
      return;
    }
    WalutyUpd();
  };
  return d;
}

int CurrencyList::opened() {
  rt::Window* w = window();
  // The rate columns are the 6th to 9th columns of the list; their list-buffer fields
  // are where the format puts them (the icon of the first column takes a field of its own).
  if (auto list = w->control("?LIST")) {
    if (auto format = rt::ListFormat::parse(list->format)) {
      for (int k = 0; k < 4 && 5 + k < static_cast<int>(format->columns.size()); ++k)
        rateFields_[k] = format->columns[static_cast<std::size_t>(5 + k)].field;
    }
  }
  setRateDay(rt::today());
  bool picking = request() == data::kSelectRecord;
  w->enable("?WYBIERZNBP", picking);
  w->enable("?WYBIERZECB", picking);
  return 0;
}

std::int32_t CurrencyList::rateDay() const {
  if (!window()) return 0;
  auto day = rt::parseDate(window()->value(kDate), rt::TwoDigitYears::NearFuture, rt::today());
  return day ? *day : 0;
}

void CurrencyList::setRateDay(std::int32_t day) {
  if (window()) window()->setValue(kDate, day > 0 ? rt::formatShortDate(day) : std::string());
}

void CurrencyList::setRanges(data::ViewManager& view) { bindRates(view, rt::today()); }

// The rates in force on the day come with the page's own rows, one statement for the
// page instead of one per currency: each is the latest quotation of its source on or
// before the day, found as the rate lookup finds it (newest table first, by the index).
void CurrencyList::bindRates(data::ViewManager& view, std::int32_t day) {
  ratesDay_ = day;
  for (const RateColumn& c : rateColumnsOfView()) view.bindExpression(c.name, rateColumnSql(c, day), c.type);
}

void CurrencyList::reloadRates() {
  if (rateDay() != ratesDay_) bindRates(view(), rateDay());
  reload();
}

void CurrencyList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  ListWindow::setQueueRecord(row, source);
  // Icon 1 ("~32redchk.ico") marks the base currency.
  setIcon(row, 1, data::field("WAL:NUMER").integer() == 1 ? 1 : 0);
  RateColumns rates = ratesDay_ == 0 ? RateColumns{} : rateColumnsOfRow(view(), source);
  const std::string* values[4] = {&rates.nbpDate, &rates.nbpRate, &rates.ecbDate, &rates.ecbRate};
  for (int k = 0; k < 4; ++k) {
    if (rateFields_[k] > 0) row.field(rateFields_[k]) = *values[k];
  }
}

int CurrencyList::run(int number, int request) {
  if (request == data::kInsertRecord && svc::POBIERZUPRAWNIENIE("DWaluty") != 1) {
    warn("Brak uprawnień na dodawanie walut!");
    return data::kRequestCancelled;
  }
  return ListWindow::run(number, request);
}

void CurrencyList::baseRates() {
  if (svc::POBIERZUPRAWNIENIE("BankiKursWal") != 1) {
    svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do kursów bazowych!");
    return;
  }
  LADUJWALUTY("1", "0", rateDay());
  reloadRates();
}

void CurrencyList::download(bool nbp) {
  std::int32_t day = rateDay();
  std::int32_t flag = 0;
  int rc = nbp ? svc::POBIERZKURSYNBP(day, flag) : svc::POBIERZKURSYECB(day, flag);
  if (rc != 1) return;
  reloadRates();
  std::string question = std::string("Pobrano kursy walut z banku ") + (nbp ? "NBP" : "ECB") + ".|Chcesz je zobaczyć?";
  if (svc::MSG_PYTANIE(question) == svc::kYes) {
    setRateDay(day);
    baseRates();
  }
}

void CurrencyList::makeSelectedBase() {
  const fw::ListRow* row = browse().selectedRow();
  if (!row) return;
  view().fetch(row->position());
  if (selectedIsBase()) return;
  setBaseCurrency(data::field("WAL:SYM_WALUTY").text());
  reload();
}

int CurrencyList::takeAccepted(const rt::Event& e) {
  if (e.control == kDate) {
    reloadRates();
    return fw::kLevelNotify;
  }
  if (e.control == "?KALENDARZB1") {
    // The calendar opens 15 units below the button.
    std::int32_t chosen = static_cast<std::int32_t>(svc::KALENDARZ(0, 15, rateDay()));
    if (chosen != rateDay()) {
      setRateDay(chosen);
      reloadRates();
    }
    return fw::kLevelNotify;
  }
  if (e.control == "?KURSYBAZOWE") {
    baseRates();
    return fw::kLevelNotify;
  }
  if (e.control == "?BUTTONNBP" || e.control == "?BUTTONECB") {
    download(e.control == "?BUTTONNBP");
    return fw::kLevelNotify;
  }
  if (e.control == "?WYBIERZNBP" || e.control == "?WYBIERZECB") {
    if (request() != data::kSelectRecord) return fw::kLevelNotify;
    returnValue_ = e.control == "?WYBIERZNBP" ? kChosenWithNbp : kChosenWithEcb;
    window()->post(rt::Event{rt::event::Accepted, "?SELECT"});
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

void CurrencyList::addPopupItems(fw::PopupClass& popup) {
  popup.addItem("-");
  popup.addItem("Ustaw walutę bazową", kBaseItem);
  popup.setIcon(kBaseItem, "~32redchk.ico");
  popup.addItemMimic("KursyBazowe", "?KURSYBAZOWE", "Kursy bazowe");
  popup.addItem("-");
  popup.addItemMimic("PobierzNBP", "?BUTTONNBP", "Pobierz z NBP");
  popup.addItemMimic("PobierzECB", "?BUTTONECB", "Pobierz z ECB");
  popup.addItem("Pobierz kursy za okres…", kPeriodItem);
}

void CurrencyList::takePopupChoice(const std::string& item) {
  if (item == kBaseItem) makeSelectedBase();
  if (item == kPeriodItem && downloadRatePeriodWindow(rateDay()) > 0) reloadRates();
}

}  // namespace slownik::tax_currency

extern "C" std::int32_t WALUTY_BRW() {
  slownik::tax_currency::CurrencyList list;
  list.run();
  return list.returnValue();
}
