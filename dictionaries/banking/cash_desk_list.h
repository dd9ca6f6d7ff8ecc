#pragma once
#include "engine/list_window.h"

namespace slownik::banking {

//! The cash desk list "Kasa_brw" ("Lista kas") of one company: only the desks the user
//! holds "OKasy" and "Kasy" for, the current desk (GLO:ID_KASY) marked in column "D".
//! Changing, deleting and editing a desk are rights of that desk; adding one is a right
//! in the company.
class CashDeskList : public engine::ListWindow {
 public:
  //! The desks of company `companyId`; the window's right is read from GLO:ID_KASY now.
  explicit CashDeskList(double companyId);
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  void setRanges(data::ViewManager& view) override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  using engine::ListWindow::run;
  //! The action's right first (a refusal is a cancelled request), then the form.
  int run(int number, int request) override;

 private:
  double companyId_;
};

}  // namespace slownik::banking

//! The exported list of the cash desks of company `id_firmy`: a plain list, or with
//! GLOBALREQUEST 4 a picker that leaves the chosen desk in the KASY_FIRMY record buffer
//! and GLOBALRESPONSE 1.
extern "C" void KASA_BRW(double id_firmy);
