#pragma once
#include "engine/record_form.h"

namespace slownik::tax_currency {

//! The currency form "Waluty_Upd": symbol, country (looked up in KRAJE, or picked),
//! name, the base-currency mark (shown only) and the multiplier.
class CurrencyForm : public engine::RecordForm {
 public:
  CurrencyForm();
  static engine::FormDescriptor descriptor();

  void primeFields() override;
  int checkField(const rt::Event& e) override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;

 private:
  //! The country picker; 1 when a country was chosen (its symbol copied into the record).
  int pickCountry();
};

//! Runs the form for the request in GLOBALREQUEST; the answer is left in GLOBALRESPONSE.
void WalutyUpd();

}  // namespace slownik::tax_currency
