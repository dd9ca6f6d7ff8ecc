#include "slownik/entry_points.h"

#include <iterator>

#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/tax_currency/load_vat.h"

namespace {

// Each dictionary adds its rows here as it is built; the host's menu lists exactly these.
constexpr const char* kTaxCurrency = "Podatki, kraje i waluty";
constexpr const char* kBanking = "Banki i rozliczenia";

const SlownikEntryPoint kEntryPoints[] = {
    {"LOADVAT", "Wczytaj stawki VAT", kTaxCurrency, "loader", LOADVAT},
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
