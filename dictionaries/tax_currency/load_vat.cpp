#include "dictionaries/tax_currency/load_vat.h"

#include "framework/data/vat_queue.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

using namespace slownik;

extern "C" void LOADVAT() {
  data::VATQ().clear();
  svc::EXECSQL("select kod_vat, stawka from stawka_vat with (nolock) where aktywny=1 order by stawka desc,kod_vat");
  if (rt::errorCode() != 0) {
    // Stopping the whole program over a list that can be rebuilt later would lose the
    // user's work in every other window; the list stays empty and the user is told why.
    svc::MSG_OSTRZEZENIE("Nie można wczytać stawek VAT: " + rt::errorText());
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
