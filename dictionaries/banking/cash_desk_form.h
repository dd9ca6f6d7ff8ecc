#pragma once
#include <string>
#include <string_view>

#include "engine/record_form.h"

namespace slownik::banking {

//! The cash desk form "Kasa_upd" ("Dane kasy"): symbol, name, general-ledger account and
//! whether cash reports are split by currency. Symbol and name are unique within the
//! desk's company; another company may use the same ones.
class CashDeskForm : public engine::RecordForm {
 public:
  CashDeskForm();
  static engine::FormDescriptor makeDescriptor();

  //! A new desk starts without a name; a change without "EKasy" for this desk only shows.
  void prepare() override;
  bool checkBeforeSave() override;

 private:
  //! Whether another desk of the same company has `value` in `column`; a failed query
  //! counts as taken (and is told), so that it lets no duplicate through.
  bool isTaken(std::string_view column, const std::string& value, std::string_view message);
};

}  // namespace slownik::banking

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 3 delete, 6 view), the
//! row in the KASY_FIRMY record buffer; leaves GLOBALRESPONSE 1 when the row was
//! written or deleted, else 2.
extern "C" void KASA_UPD();
