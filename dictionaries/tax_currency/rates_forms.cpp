#include "dictionaries/tax_currency/rates_forms.h"

#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_services.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::tax_currency {
namespace {

constexpr const char* kDate = "?DATKUR:DATA_NOT";
constexpr const char* kCurrency = "?KUR:SYM_WALUTY";
constexpr const char* kBuying = "?KUR:KURS_ZAKUPU";
constexpr const char* kSelling = "?KUR:KURS_SPRZEDAZY";

engine::FormDescriptor dateDescriptor() {
  engine::FormDescriptor d;
  d.module = 12;
  d.procedure = "Daty_Kursow_Upd";
  d.table = "DATY_KURSOW";
  d.titles = {"Dodawanie kursu", "Edycja kursu"};
  d.history = {{kDate, 3}, {"?DATKUR:GODZ_NOT", 4}};
  d.lockedControls = {"?KALENDARZ"};
  d.helpPage = "slownik_daty_kursow_upd.htm";
  d.firstField = kDate;
  return d;
}

engine::FormDescriptor rateDescriptor() {
  engine::FormDescriptor d;
  d.module = 14;
  d.procedure = "Kursy_Walut_Upd";
  d.table = "KURSY_WALUT";
  d.lookupTables = {"WALUTY"};
  d.titles = {"Dodawanie kursu", "Edycja kursu"};
  d.history = {{kBuying, 3}, {kSelling, 4}, {"?KUR:KURS_SREDNI", 5}};
  d.helpPage = "slownik_kursy_walut_upd.htm";
  d.firstField = kCurrency;
  return d;
}

long long count(const std::string& sql) { return std::atoll(svc::FUNCSQL(sql).c_str()); }

}  // namespace

std::optional<rt::Decimal> averageRate(std::string_view buying, std::string_view selling) {
  auto b = rt::Decimal::parse(buying);
  auto s = rt::Decimal::parse(selling);
  if (!b || !s || b->sign() <= 0 || s->sign() <= 0) return std::nullopt;
  auto sum = rt::Decimal::add(*b, *s);
  if (!sum) return std::nullopt;
  return rt::Decimal::divide(*sum, rt::Decimal::fromInteger(2), 6);
}

QuotationDateForm::QuotationDateForm() : RecordForm(dateDescriptor()) {}

void QuotationDateForm::primeFields() {
  data::field("DATKUR:DATA_NOT").set(rt::today());
  data::field("DATKUR:GODZ_NOT").set(rt::now());
}

bool QuotationDateForm::checkBeforeSave() {
  const std::string id = sql::sqlId(data::field("DATKUR:ID_DATY").number());
  const std::int32_t day = static_cast<std::int32_t>(data::field("DATKUR:DATA_NOT").integer());
  long long taken = count("select count(*) from daty_kursow where id_daty<>" + id +
                          " and id_banku=" + sql::sqlId(data::field("DATKUR:ID_BANKU").number()) +
                          " and DATA_NOT=" + std::to_string(day) + " and ID_DATY<>" + id);
  if (taken > 0) {
    warn("Notowanie na dzień " + rt::formatShortDate(day) + " już zostało zdefiniowane!|Proszę zmienić dzień.");
    return false;
  }
  return true;
}

int QuotationDateForm::afterAccepted(const rt::Event& e) {
  if (e.control == "?KALENDARZ") {
    update();
    data::Field date = data::field("DATKUR:DATA_NOT");
    // The calendar opens 15 units below the button.
    date.set(static_cast<long long>(svc::KALENDARZ(0, 15, static_cast<long>(date.integer()))));
    display();
    focus(kDate);
  }
  return fw::kLevelBenign;
}

RateForm::RateForm() : RecordForm(rateDescriptor()) {}

void RateForm::prepare() {
  std::vector<std::string> symbols;
  svc::EXECSQL("select SYM_WALUTY from WALUTY order by SYM_WALUTY");
  while (rt::errorCode() == 0 && svc::VAX().next()) symbols.push_back(engine::trimmed(svc::VAX().field(1)));
  svc::CLOSESQL();
  window()->setItems(kCurrency, symbols);
  display(kCurrency);
  // A rate belongs to its currency: on change only the rates can be corrected.
  if (request() != data::kInsertRecord) window()->disable(kCurrency);
  showMultiplier();
}

void RateForm::showMultiplier() {
  const sql::TableDef* currencies = sql::Catalogue::instance().find("WALUTY");
  data::field("WAL:SYM_WALUTY").set(text("KUR:SYM_WALUTY"));
  if (!currencies || data::fileManager(*currencies).fetch("WAL:PK_WALUTY") != 0) data::field("WAL:MNOZNIK_WALUTY").clear();
  if (window()) window()->setValue("?WAL:MNOZNIK_WALUTY", data::field("WAL:MNOZNIK_WALUTY").text());
}

bool RateForm::checkBeforeSave() {
  const std::string symbol = engine::trimmed(text("KUR:SYM_WALUTY"));
  if (symbol.empty()) {
    warn("Musisz wybrać symbol waluty!");
    return false;
  }
  if (request() == data::kInsertRecord &&
      count("select count(*) from kursy_walut where id_daty=" + sql::sqlId(data::field("KUR:ID_DATY").number()) +
            " and sym_waluty=" + sql::quote(symbol)) > 0) {
    warn("Kurs waluty " + symbol + " o danej dacie już istnieje!");
    return false;
  }
  return true;
}

int RateForm::afterAccepted(const rt::Event& e) {
  if (e.control == kCurrency) {
    showMultiplier();
  } else if (e.control == kBuying || e.control == kSelling) {
    if (auto average = averageRate(text("KUR:KURS_ZAKUPU"), text("KUR:KURS_SPRZEDAZY"))) {
      data::field("KUR:KURS_SREDNI").set(average->toString());
      display("?KUR:KURS_SREDNI");
    }
  }
  return fw::kLevelBenign;
}

void DatyKursowUpd() {
  QuotationDateForm form;
  form.run();
}

void KursyWalutUpd() {
  RateForm form;
  form.run();
}

}  // namespace slownik::tax_currency
