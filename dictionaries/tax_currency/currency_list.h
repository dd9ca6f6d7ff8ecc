#pragma once
#include <cstdint>

#include "engine/list_window.h"

namespace slownik::tax_currency {

//! What WALUTY_BRW returns: a plain close or a choice with "Wybierz", and the choices
//! made with "Wybierz z NBP" / "Wybierz z ECB".
constexpr std::int32_t kChosenPlain = 1;
constexpr std::int32_t kChosenWithNbp = 0;
constexpr std::int32_t kChosenWithEcb = -1;

//! The currency list "Waluty_Brw": currencies with their NBP and ECB rates in force on
//! the day of ?DATA_KURSU, the base currency, the rate downloads and the rate window.
class CurrencyList : public engine::ListWindow {
 public:
  CurrencyList();
  static engine::ListDescriptor descriptor();

  void setRanges(data::ViewManager& view) override;
  int opened() override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  int takeAccepted(const rt::Event& e) override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;
  using engine::ListWindow::run;
  //! Insert needs "DWaluty"; the rest as every list.
  int run(int number, int request) override;

  std::int32_t returnValue() const { return returnValue_; }

 private:
  std::int32_t rateDay() const;
  void setRateDay(std::int32_t day);
  void bindRates(data::ViewManager& view, std::int32_t day);
  //! Reloads the list with the rates of the day in ?DATA_KURSU.
  void reloadRates();
  void baseRates();
  void download(bool nbp);
  void makeSelectedBase();

  std::int32_t returnValue_ = kChosenPlain;
  int rateFields_[4] = {0, 0, 0, 0};
  std::int32_t ratesDay_ = 0;  // the day whose rates the view's rate columns read  // list-buffer fields of the NBP/ECB date and rate columns
};

}  // namespace slownik::tax_currency

//! The currency list (browse, or picker with request 4). Returns 1, or 0 / -1 when the
//! row was chosen with "Wybierz z NBP" / "Wybierz z ECB".
extern "C" std::int32_t WALUTY_BRW();
