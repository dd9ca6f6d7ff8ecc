#include "dictionaries/tax_currency/rates_window.h"

#include <cstdlib>

#include "dictionaries/tax_currency/ladujwaluty.h"
#include "dictionaries/tax_currency/rates_forms.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/rates/rate_services.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_parameters.h"
#include "framework/services/window_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::tax_currency {
namespace {
constexpr const char* kDates = "?LIST";
constexpr const char* kRates = "?LIST1";
constexpr const char* kFilter = "?DATA_FILTR";
constexpr const char* kSource = "?F_NBP_ECB";
constexpr const char* kRecalculate = "?CZY_PRZELICZAC";
constexpr const char* kParameterWindow = "Kursy_walut";
constexpr const char* kParameter = "przeliczaj";
constexpr int kRateForm = 2;
// The grey of the selection bar of the list without the focus.
constexpr long kInactiveSelection = 12632256;

const sql::TableDef& rateTable() { return *sql::Catalogue::instance().find("KURSY_WALUT"); }
}  // namespace

RatesWindow::RatesWindow(std::int32_t day, std::string mode)
    : ListWindow(descriptor()), day_(day >= 1 ? day : rt::today()), mode_(std::move(mode)), rateView_(rateTable()) {
  if (mode_ == "Pobierz z ECB") source_ = -1;
}

engine::ListDescriptor RatesWindow::descriptor() {
  engine::ListDescriptor d;
  d.module = 13;
  d.procedure = "Kursy_Walut_Brw";
  d.table = "DATY_KURSOW";
  d.helpPage = "kar_fin_bank.htm";
  d.right = "Waluty";
  d.rightMessage = "Brak uprawnień na dostęp do kursów walut!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"DATKUR:AK_DATYKURSOW_IDBANK__DATY_KUR", engine::LocatorKind::Step, "DATKUR:DATA_NOT", ""}};
  d.columns = {"DATKUR:ID_DATY", "DATKUR:ID_BANKU", "DATKUR:DATA_NOT", "DATKUR:GODZ_NOT"};
  d.selectButton = false;
  d.form = DatyKursowUpd;
  return d;
}

void RatesWindow::setRanges(data::ViewManager& view) {
  view.clearRanges();
  view.addRange("DATKUR:ID_BANKU", source_);
  if (!filterBound_) {
    view.bindValue("d_f", [this] { return sql::Param(static_cast<long long>(filterDay())); });
    filterBound_ = true;
  }
}

std::int32_t RatesWindow::filterDay() const {
  if (!window()) return day_;
  auto day = rt::parseDate(window()->value(kFilter), rt::TwoDigitYears::NearFuture, rt::today());
  return day ? *day : day_;
}

int RatesWindow::opened() {
  rt::Window* w = window();
  w->setValue(kSource, std::to_string(source_));
  w->setValue(kFilter, rt::formatShortDate(day_));
  w->setSelectedColors(kRates, 0, kInactiveSelection);

  rates_.insertControl = "?INSERT:2";
  rates_.changeControl = "?CHANGE:2";
  rates_.deleteControl = "?DELETE:2";
  rates_.updateNumber = kRateForm;
  rates_.init(kRates, rateView_, rateQueue_, data::relationManager("KURSY_WALUT"), *this);
  rateLocator_.init("", "KUR:SYM_WALUTY", rates_);
  rates_.addSortOrder("+SYM_WALUTY", &rateLocator_);
  for (const char* f : {"KUR:SYM_WALUTY", "KUR:KURS_ZAKUPU", "KUR:KURS_SPRZEDAZY", "KUR:KURS_SREDNI"}) rates_.addField(f);
  rates_.setPageSize(descriptor().pageSize);
  // The rates list's popup (its buttons, export, print), Ctrl+C and Ctrl+P.
  rateOutputs_.warn = [this](std::string_view text) { warn(text); };
  rateOutputs_.attach();
  rates_.opened();
  rates_.setAlerts();

  applyFilter();
  recalculationCheck();
  if (mode_ == "Pobierz z NBP") w->post(rt::Event{rt::event::Accepted, "?BUTTONNBP"});
  if (mode_ == "Pobierz z ECB") w->post(rt::Event{rt::event::Accepted, "?BUTTONECB"});
  return 0;
}

void RatesWindow::setAlerts() {
  ListWindow::setAlerts();
  if (!window()) return;
  // The keys of the buttons belong to the dates list; in the rates list they press
  // that list's own buttons.
  for (int key : {rt::key::Ins, rt::key::F2, rt::key::Del}) window()->alertOn(kRates, key);
  window()->alert(rt::key::F5);
}

void RatesWindow::applyFilter() {
  view().setSqlFilter("+A.DATA_NOT>=" + std::to_string(filterDay()));
  setRanges(view());
  reload();
  followDate();
}

void RatesWindow::followDate() {
  const fw::ListRow* row = browse().selectedRow();
  std::string id = row ? row->field(1) : std::string();
  if (id != shownDate_) {
    shownDate_ = id;
    rateView_.clearRanges();
    rateView_.addRange("KUR:ID_DATY", static_cast<long long>(std::atoll(id.empty() ? "0" : id.c_str())));
  }
  rates_.resetQueue();
  // Rates can be added once a date is chosen, so the group follows the dates list.
  if (window()) window()->enable("?GRUPA:KURSY", row != nullptr);
}

void RatesWindow::reloadBoth() {
  reload();
  followDate();
}

void RatesWindow::recalculationCheck() {
  rt::Window* w = window();
  if (ratesExist(filterDay(), static_cast<int>(source_))) {
    w->enable(kRecalculate);
    std::string stored = svc::POBIERZPARAMETROKNA(kParameterWindow, kParameter);
    w->setValue(kRecalculate, stored == "1" ? "1" : "0");
  } else {
    w->setValue(kRecalculate, "0");
    w->disable(kRecalculate);
  }
}

void RatesWindow::download(bool nbp) {
  std::int32_t day = filterDay();
  std::int32_t flag = 0;
  int rc = nbp ? svc::POBIERZKURSYNBP(day, flag) : svc::POBIERZKURSYECB(day, flag);
  if (rc != 1) return;
  if (flag == 0) svc::MSG_INFORMACJA(std::string("Pobrano kursy walut z banku ") + (nbp ? "NBP" : "ECB") + ".");
  if (day != filterDay()) window()->setValue(kFilter, rt::formatShortDate(day));
  applyFilter();
  window()->select(kDates);
  if (flag == 0) recalculationCheck();
}

int RatesWindow::takeEvent(const rt::Event& e) {
  if (e.code == rt::event::AlertKey && e.control == kRates) {
    switch (e.keyCode) {
      case rt::key::Ins: window()->post(rt::Event{rt::event::Accepted, "?INSERT:2"}); return fw::kLevelNotify;
      case rt::key::F2: window()->post(rt::Event{rt::event::Accepted, "?CHANGE:2"}); return fw::kLevelNotify;
      case rt::key::Del: window()->post(rt::Event{rt::event::Accepted, "?DELETE:2"}); return fw::kLevelNotify;
      default: break;
    }
  }
  if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F5) {
    reloadBoth();
    return fw::kLevelNotify;
  }
  int rc = ListWindow::takeEvent(e);
  // Whatever moved the dates list (keys, clicks, a form), the rates follow it.
  if (!isClosing() && window() && !window()->isClosed()) {
    const fw::ListRow* row = browse().selectedRow();
    if ((row ? row->field(1) : std::string()) != shownDate_) followDate();
  }
  return rc;
}

int RatesWindow::takeAccepted(const rt::Event& e) {
  if (e.control == kFilter || e.control == kSource) {
    if (e.control == kSource) source_ = std::atoll(window()->value(kSource).c_str()) < 0 ? -1 : 0;
    applyFilter();
    recalculationCheck();
    window()->select(kDates);
    return fw::kLevelNotify;
  }
  if (e.control == "?KALENDARZ") {
    // The calendar opens 15 units below the button.
    long chosen = svc::KALENDARZ(0, 15, filterDay());
    window()->setValue(kFilter, rt::formatShortDate(static_cast<std::int32_t>(chosen)));
    applyFilter();
    recalculationCheck();
    window()->select(kDates);
    return fw::kLevelNotify;
  }
  if (e.control == "?BUTTONNBP" || e.control == "?BUTTONECB") {
    download(e.control == "?BUTTONNBP");
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

int RatesWindow::run(int number, int request) {
  int answer = data::kRequestCancelled;
  if (number == kRateForm) {
    if (this->request() != data::kViewRecord) {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      data::GLOBALRESPONSE() = data::kNoResponse;
      KursyWalutUpd();
      answer = data::GLOBALRESPONSE() == data::kRequestCompleted ? data::kRequestCompleted : data::kRequestCancelled;
    }
    reload();
  } else {
    answer = ListWindow::run(number, request);
    shownDate_ = "-";  // the dates list repositions after this; the rates follow then
  }
  return answer;
}

void RatesWindow::closeActions() {
  rt::Window* w = window();
  if (!w) return;
  auto box = w->control(kRecalculate);
  bool enabled = box && box->enabled;
  if (w->value(kRecalculate) == "1" && enabled) {
    if (svc::MSG_PYTANIE("Czy przeliczyć ceny sprzedaży dla wszystkich artykułów po aktualnych kursach?|Ta operacja "
                         "może potrwać dłuższą chwilę.") == svc::kYes) {
      rt::frontEnd().setBusy(true);
      svc::EXECSQL("call TK_PrzeliczCenyArtykulow(" + std::to_string(filterDay()) + ",'" +
                   sql::escape(svc::POBIERZPARAMKONF("s", "PrzelCenZak")) + "','" +
                   sql::escape(svc::POBIERZPARAMKONF("s", "AlgOblCenSprz")) + "')");
      rt::frontEnd().setBusy(false);
      if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
      svc::CLOSESQL();
    }
  }
  if (enabled) svc::ZAPISZPARAMETROKNA(kParameterWindow, kParameter, w->value(kRecalculate) == "1" ? "1" : "0");
}

int KursyWalutBrw(std::int32_t day, const std::string& mode) {
  RatesWindow window(day, mode);
  return window.run();
}

}  // namespace slownik::tax_currency
