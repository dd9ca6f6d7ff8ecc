#pragma once
#include <string>

#include "engine/record_form.h"

namespace slownik::company {

//! The text the synchronisation questions add about how long creating `articles`
//! articles takes (one a second): "" up to two minutes, else the minutes, rounded.
std::string synchronisationEstimate(long long articles);

//! The warehouse form "Magazyn_Upd": basic data, printout data with the default account,
//! the synchronisation mark, stocktaking and the index masks with their last numbers.
class WarehouseForm : public engine::RecordForm {
 public:
  WarehouseForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  int checkField(const rt::Event& e) override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;

 private:
  void showAccount();
  void pickAccount();
  bool isNameOrSymbolTaken();
  bool isDuplicate(const char* column, const std::string& value, const char* message, const char* control);
  bool confirmSynchronisation();
  //! Articles the warehouse would receive under `mark`; -1 when the count failed (told).
  long long articlesToShare(const std::string& mark);
  void readLastNumbers();
  bool checkLastNumbers();
  void writeLastNumber(int kind, const std::string& value);

  std::string markAtOpen_;
  bool checked_ = false;  // the save's checks passed in checkField
};

}  // namespace slownik::company

//! The warehouse form for GLOBALREQUEST 1, 2 or 6, the record in the MAGAZYN buffer.
void MAGAZYN_UPD();
