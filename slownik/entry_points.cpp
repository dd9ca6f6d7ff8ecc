#include "slownik/entry_points.h"

#include <iterator>

#include "dictionaries/banking/bank_list.h"
#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/tax_currency/country_list.h"
#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/ladujwaluty.h"
#include "dictionaries/tax_currency/load_vat.h"
#include "dictionaries/tax_currency/province_list.h"
#include "dictionaries/tax_currency/vat_rates.h"

namespace {

// Each dictionary adds its rows here as it is built; the host's menu lists exactly these.
constexpr const char* kTaxCurrency = "Podatki, kraje i waluty";
constexpr const char* kBanking = "Banki i rozliczenia";

// Entries whose export takes parameters or returns a value start with what the menu means.
void currencies() { WALUTY_BRW(); }
void ratesForToday() { LADUJWALUTY("1", "0", 0); }

const SlownikEntryPoint kEntryPoints[] = {
    {"VAT_BRW", "Stawki VAT", kTaxCurrency, "browse", VAT_BRW},
    {"KRAJ_BRW", "Kraje", kTaxCurrency, "browse", KRAJ_BRW},
    {"WOJEWODZTWO_BRW", "Województwa", kTaxCurrency, "browse", WOJEWODZTWO_BRW},
    {"WALUTY_BRW", "Waluty", kTaxCurrency, "browse", currencies},
    {"LADUJWALUTY", "Kursy walut na dziś", kTaxCurrency, "loader", ratesForToday},
    {"LOADVAT", "Wczytaj stawki VAT", kTaxCurrency, "loader", LOADVAT},
    {"BANKI_BRW", "Lista banków", kBanking, "browse", BANKI_BRW},
    {"IMPORTKIR", "Importuj banki z KIR", kBanking, "importer", IMPORTKIR},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" const SlownikEntryPoint* SLOWNIK_ENTRY_POINTS(int* count) {
  int n = 0;
  for (const auto& e : kEntryPoints)
    if (e.exportName) ++n;
  if (count) *count = n;
  return kEntryPoints;
}
