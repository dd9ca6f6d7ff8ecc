#pragma once
#include <cstdint>
#include <string>

#include "engine/list_output.h"
#include "engine/list_window.h"
#include "framework/classes/browse_class.h"
#include "framework/classes/locators.h"

namespace slownik::tax_currency {

//! The rate window "Kursy_Walut_Brw": quotation dates of one source from a day on
//! (?LIST, DATY_KURSOW) and the rates of the selected date (?LIST1, KURSY_WALUT), each
//! list with its own buttons; the downloads; the recalculation of sales prices.
class RatesWindow : public engine::ListWindow {
 public:
  //! `day` below 1 means today; `mode` "Pobierz z NBP" / "Pobierz z ECB" downloads at once.
  RatesWindow(std::int32_t day, std::string mode);
  static engine::ListDescriptor descriptor();

  int opened() override;
  void setRanges(data::ViewManager& view) override;
  void setAlerts() override;
  int takeEvent(const rt::Event& e) override;
  int takeAccepted(const rt::Event& e) override;
  void closeActions() override;
  using engine::ListWindow::run;
  //! Form 1 is the date form, 2 the rate form; after either both lists reload.
  int run(int number, int request) override;

 private:
  std::int32_t filterDay() const;
  void applyFilter();
  void followDate();
  void reloadBoth();
  void recalculationCheck();
  void download(bool nbp);

  std::int32_t day_;
  std::string mode_;
  long long source_ = 0;
  bool filterBound_ = false;
  // ID_DATY the rates list shows ("" = no date row: no rates); "-" until it shows any,
  // so that the first look at the dates list limits the rates, even to none.
  std::string shownDate_ = "-";
  data::ViewManager rateView_;
  fw::ListQueue rateQueue_;
  fw::BrowseClass rates_;
  fw::StepLocator rateLocator_;
  engine::ListOutputs rateOutputs_{rates_};
};

//! Opens the rate window; answers its response.
int KursyWalutBrw(std::int32_t day, const std::string& mode);

}  // namespace slownik::tax_currency
