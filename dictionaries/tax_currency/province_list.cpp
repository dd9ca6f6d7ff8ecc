#include "dictionaries/tax_currency/province_list.h"

#include "dictionaries/tax_currency/province_form.h"
#include "engine/list_window.h"

extern "C" void WOJEWODZTWO_BRW() {
  slownik::engine::ListDescriptor d;
  d.module = 51;
  d.procedure = "Wojewodztwo_Brw";
  d.helpPage = "slownik_wojewodztwo_brw.htm";
  d.table = "WOJEWODZTWO";
  d.sortOrders = {{"WOJ:AK_WOJEWODZTWO_WOJEWODZ", slownik::engine::LocatorKind::Step, "WOJ:WOJEWODZTWO", ""}};
  // The name is shown; the id rides along in the list buffer.
  d.columns = {"WOJ:WOJEWODZTWO", "WOJ:ID_WOJEWODZTWA"};
  d.headerSorter = true;
  d.form = [] { slownik::tax_currency::WojewodztwoUpd(); };
  slownik::engine::ListWindow list(std::move(d));
  list.run();
}
