#include "dictionaries/tax_currency/load_vat.h"

#include "framework/data/vat_queue.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

using namespace slownik;

extern "C" void LOADVAT() {
  svc::EXECSQL("select kod_vat, stawka from stawka_vat with (nolock) where aktywny=1 order by stawka desc,kod_vat");
  if (rt::errorCode() != 0) {
    // Stopping the whole program over a list that can be rebuilt later would lose the
    // user's work in every other window. The rates loaded before stay (VAT rates change
    // seldom, and none at all would stop every document), the user is told why, and the
    // list is marked stale so that the next LOADVAT or the VAT list's opening tries again.
    std::string reason = rt::errorText();
    svc::CLOSESQL();
    data::VATQ().markStale();
    svc::MSG_OSTRZEZENIE("Nie można wczytać stawek VAT: " + reason);
    return;
  }
  std::vector<data::VatEntry> entries;
  while (svc::VAX().next()) {
    data::VatEntry entry;
    entry.kod = sql::truncateUtf8(svc::VAX().field(std::size_t{1}), 10);
    auto rate = rt::Decimal::parse(svc::VAX().field(std::size_t{2}));
    entry.stawka = rate ? rate->rounded(2).value_or(rt::Decimal{}) : rt::Decimal{};
    entries.push_back(std::move(entry));
  }
  svc::VAX().close();
  data::VATQ().replace(std::move(entries));
}

namespace slownik::tax_currency {

void loadVatAndTell() {
  LOADVAT();
  // A failure was told by LOADVAT itself.
  if (data::VATQ().isStale()) return;
  std::vector<data::VatEntry> rates = data::VATQ().entries();
  if (rates.empty()) {
    svc::MSG_INFORMACJA("Brak aktywnych stawek VAT do wczytania.");
    return;
  }
  std::string codes;
  for (const auto& r : rates) codes += (codes.empty() ? "" : ", ") + r.kod;
  svc::MSG_INFORMACJA("Wczytano stawki VAT (liczba: " + std::to_string(rates.size()) + "): " + codes + ".");
}

}  // namespace slownik::tax_currency
