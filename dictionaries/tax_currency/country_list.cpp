#include "dictionaries/tax_currency/country_list.h"

#include "dictionaries/tax_currency/country_form.h"
#include "engine/list_window.h"

extern "C" void KRAJ_BRW() {
  slownik::engine::ListDescriptor d;
  d.module = 3;
  d.procedure = "Kraj_Brw";
  d.helpPage = "slownik_kraj_brw.htm";
  d.table = "KRAJE";
  d.sortOrders = {{"KRA:AK_KRAJE_NAZWA_KRAJE", slownik::engine::LocatorKind::Incremental, "KRA:NAZWA", "?LOKATOR"}};
  d.columns = {"KRA:SYM_KRAJU", "KRA:NAZWA"};
  d.headerSorter = true;
  d.form = [] { slownik::tax_currency::KrajUpd(); };
  slownik::engine::ListWindow list(std::move(d));
  list.run();
}
