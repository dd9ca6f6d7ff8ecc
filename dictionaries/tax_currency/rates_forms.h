#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/record_form.h"
#include "framework/runtime/decimal.h"

namespace slownik::tax_currency {

//! The average of a buying and a selling rate, rounded to six places; nothing unless
//! both are above 0.
std::optional<rt::Decimal> averageRate(std::string_view buying, std::string_view selling);

//! The quotation-date form "Daty_Kursow_Upd": one date per source.
class QuotationDateForm : public engine::RecordForm {
 public:
  QuotationDateForm();
  void primeFields() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
};

//! The rate form "Kursy_Walut_Upd": the currency from a drop list (fixed on change),
//! the buying, selling and average rates.
class RateForm : public engine::RecordForm {
 public:
  RateForm();
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;

 private:
  void showMultiplier();
};

void DatyKursowUpd();
void KursyWalutUpd();

}  // namespace slownik::tax_currency
